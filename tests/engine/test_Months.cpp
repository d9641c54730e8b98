// Monthly and Months: setters and their conditions, the collection, fiscal months.
#include "TestSupport.h"

namespace {

using namespace enginetest;

ComPtr<_Months> NewCollection() { return ComPtr<_Months>(NewMonths()); }

ComPtr<_Months> WithMonths(int n) {
    auto months = NewCollection();
    for (int i = 0; i < n; ++i) months->Add("1/15/2000", "0", "0", "0", "0", 0, 0, 0);
    return months;
}

std::vector<std::string> Dates(const ComPtr<_Months>& months) {
    std::vector<std::string> out;
    for (long i = 1; i <= months->get_Count(); ++i) out.push_back(months->get_Item(i)->get_MonthDate());
    return out;
}

TEST(Monthly, StartsAtZeroAndIgnoresAmountsUntilEditing) {
    ComPtr<_Monthly> m(NewMonthly());
    EXPECT_EQ(m->get_MonthDate(), "12/30/1899");
    EXPECT_EQ(m->get_Inventory(), "0");
    EXPECT_FALSE(m->get_IsEditing());
    EXPECT_FALSE(m->get_IsComputing());
    m->put_Sales("100");
    m->put_Sales("");  // not even checked
    EXPECT_EQ(m->get_Sales(), "0");
    EXPECT_FALSE(Monthly::From(m.Get())->isDirty());
    m->put_MonthDate("3/15/2003");  // works at once
    EXPECT_EQ(m->get_MonthDate(), "03/15/2003");
    EXPECT_TRUE(Monthly::From(m.Get())->isDirty());
    m->put_IsEditing(true);
    m->put_Sales("1,234.5");
    EXPECT_EQ(m->get_Sales(), "1,235");
}

TEST(Monthly, InventoryAlsoTakesEffectWhileComputing) {
    ComPtr<_Monthly> m(NewMonthly());
    m->put_Receivables("5");
    m->put_IsComputing(true);
    m->put_Inventory("42");
    m->put_Receivables("6");
    EXPECT_EQ(m->get_Inventory(), "42");
    EXPECT_EQ(m->get_Receivables(), "0");
}

TEST(Monthly, SetterErrors) {
    ComPtr<_Monthly> m(NewMonthly());
    m->put_IsEditing(true);
    ComError e = CatchError([&] { m->put_Purchases("abc"); });
    EXPECT_EQ(e.Number(), 10002);
    EXPECT_EQ(e.Source(), "This item needs to be a number.");
    ComError d = CatchError([&] { m->put_MonthDate("2/30/2003"); });
    EXPECT_EQ(d.Number(), 13);
    EXPECT_EQ(d.Description(), "Type mismatch");
    EXPECT_EQ(m->get_MonthDate(), "12/30/1899");
}

TEST(Monthly, CycleGettersRoundToFiveDecimals) {
    ComPtr<_Monthly> m(NewMonthly());
    Monthly* own = Monthly::From(m.Get());
    own->put_InventoryCycle(0.1666666667);
    own->put_ReceivableCycle(0.015625);
    own->put_OperatingCycle(-0.1234549);
    EXPECT_EQ(m->get_InventoryCycle(), 0.16667);
    EXPECT_EQ(m->get_ReceivableCycle(), 0.01563);
    EXPECT_EQ(m->get_OperatingCycle(), -0.12345);
    EXPECT_FALSE(own->isDirty());
}

TEST(Months, AddSetsEverythingAndKeepsTheMonthEditing) {
    auto months = NewCollection();
    ComPtr<_Monthly> m = months->Add("7/15/2002", "100,000", "120000", "75000", "50000", 0.5, 0.25, 0.75, "July");
    EXPECT_EQ(months->get_Count(), 1);
    EXPECT_TRUE(m->get_IsEditing());
    EXPECT_EQ(m->get_MonthDate(), "07/15/2002");
    EXPECT_EQ(m->get_Inventory(), "100,000");
    EXPECT_EQ(m->get_Receivables(), "120,000");
    EXPECT_EQ(m->get_Sales(), "75,000");
    EXPECT_EQ(m->get_Purchases(), "50,000");
    EXPECT_EQ(m->get_InventoryCycle(), 0.5);
    EXPECT_EQ(m->get_OperatingCycle(), 0.75);
    EXPECT_EQ(months->get_Item(std::string("july")).Get(), m.Get());  // keys match without case
    EXPECT_EQ(months->get_Item(1L).Get(), m.Get());
    m->put_Sales("1");  // still editing
    EXPECT_EQ(months->get_Item(1L)->get_Sales(), "1");
}

TEST(Months, AddWithABadValueAddsNothing) {
    auto months = WithMonths(2);
    ComError e = CatchError([&] { months->Add("1/15/2003", "", "0", "0", "0", 0, 0, 0); });
    EXPECT_EQ(e.Number(), 10002);
    EXPECT_EQ(e.Source(), "This item needs to be a number.");  // unchanged: Add does not trap
    EXPECT_EQ(months->get_Count(), 2);
    EXPECT_EQ(CatchError([&] { months->Add("", "0", "0", "0", "0", 0, 0, 0); }).Number(), 13);
    EXPECT_EQ(months->get_Count(), 2);
}

TEST(Months, DuplicateKeyFailsWith457) {
    auto months = NewCollection();
    months->Add("1/15/2003", "0", "0", "0", "0", 0, 0, 0, "k");
    ComError e = CatchError([&] { months->Add("2/15/2003", "0", "0", "0", "0", 0, 0, 0, "K"); });
    EXPECT_EQ(e.Number(), 457);
    EXPECT_EQ(e.Description(), "This key is already associated with an element of this collection");
    EXPECT_EQ(months->get_Count(), 1);
    months->Add("3/15/2003", "0", "0", "0", "0", 0, 0, 0);  // no key: no clash
    months->Add("4/15/2003", "0", "0", "0", "0", 0, 0, 0);
    EXPECT_EQ(months->get_Count(), 3);
}

TEST(Months, ItemAndRemoveErrors) {
    auto months = WithMonths(3);
    EXPECT_EQ(CatchError([&] { months->get_Item(0L); }).Number(), 9);
    EXPECT_EQ(CatchError([&] { months->get_Item(4L); }).Number(), 9);
    EXPECT_EQ(CatchError([&] { months->get_Item(-1L); }).Number(), 9);
    ComError k = CatchError([&] { months->get_Item(std::string("nokey")); });
    EXPECT_EQ(k.Number(), 5);
    EXPECT_EQ(k.Description(), "Invalid procedure call or argument");
    EXPECT_EQ(CatchError([&] { months->get_Item(std::string()); }).Number(), 5);
    EXPECT_EQ(CatchError([&] { months->Remove(7L); }).Number(), 9);
    EXPECT_EQ(CatchError([&] { months->Remove(std::string("x")); }).Number(), 5);
    EXPECT_EQ(months->get_Count(), 3);
}

TEST(Months, RemoveMovesLaterPositionsUp) {
    auto months = NewCollection();
    months->Add("1/15/2003", "1", "0", "0", "0", 0, 0, 0, "a");
    months->Add("2/15/2003", "2", "0", "0", "0", 0, 0, 0, "b");
    months->Add("3/15/2003", "3", "0", "0", "0", 0, 0, 0, "c");
    months->Remove(std::string("B"));
    EXPECT_EQ(months->get_Count(), 2);
    EXPECT_EQ(months->get_Item(2L)->get_Inventory(), "3");
    months->Remove(1L);
    EXPECT_EQ(months->get_Item(1L)->get_Inventory(), "3");
    EXPECT_EQ(months->get_Item(std::string("c"))->get_Inventory(), "3");
    // the key of a removed month is free again
    months->Add("2/15/2003", "2", "0", "0", "0", 0, 0, 0, "b");
    EXPECT_EQ(months->get_Count(), 2);
}

TEST(Months, EnumerationInOrder) {
    auto months = NewCollection();
    for (int i = 1; i <= 4; ++i) months->Add(std::to_string(i) + "/15/2003", std::to_string(i), "0", "0", "0", 0, 0, 0);
    auto it = months->get_NewEnum();
    std::string seen;
    while (auto m = it->Next()) seen += m->get_Inventory();
    EXPECT_EQ(seen, "1234");
    EXPECT_FALSE(it->Next());
}

TEST(Months, IsEditingIsAlwaysFalse) {
    auto months = WithMonths(2);
    EXPECT_FALSE(months->get_IsEditing());
    months->FillFiscalMonth("12/31/2003");
    EXPECT_FALSE(months->get_IsEditing());
}

TEST(FiscalMonths, YearEndingInDecember) {
    auto months = WithMonths(12);
    months->FillFiscalMonth("12/31/2003");
    const auto d = Dates(months);
    EXPECT_EQ(d.front(), "01/15/2003");
    EXPECT_EQ(d[5], "06/15/2003");
    EXPECT_EQ(d.back(), "12/15/2003");
}

TEST(FiscalMonths, YearEndingInJune) {
    auto months = WithMonths(12);
    months->FillFiscalMonth("6/30/2003");
    const auto d = Dates(months);
    EXPECT_EQ(d[0], "07/15/2002");
    EXPECT_EQ(d[5], "12/15/2002");
    EXPECT_EQ(d[6], "01/15/2003");
    EXPECT_EQ(d[11], "06/15/2003");
}

TEST(FiscalMonths, EveryYearEndMonth) {
    for (int fyeMonth = 1; fyeMonth <= 12; ++fyeMonth) {
        auto months = WithMonths(12);
        months->FillFiscalMonth(std::to_string(fyeMonth) + "/1/2010");
        const auto d = Dates(months);
        char last[16];
        std::snprintf(last, sizeof last, "%02d/15/2010", fyeMonth);
        EXPECT_EQ(d.back(), last) << fyeMonth;
        const int firstMonth = fyeMonth == 12 ? 1 : fyeMonth + 1;
        char first[16];
        std::snprintf(first, sizeof first, "%02d/15/%d", firstMonth, fyeMonth == 12 ? 2010 : 2009);
        EXPECT_EQ(d.front(), first) << fyeMonth;
    }
}

TEST(FiscalMonths, FourteenMonthsContinueIntoTheNextYearAndAmountsStay) {
    auto months = WithMonths(14);
    months->get_Item(13L)->put_Inventory("77");
    months->FillFiscalMonth("12/31/2003");
    const auto d = Dates(months);
    EXPECT_EQ(d[12], "01/15/2004");
    EXPECT_EQ(d[13], "02/15/2004");
    EXPECT_EQ(months->get_Item(13L)->get_Inventory(), "77");
}

TEST(FiscalMonths, EmptyCollectionDoesNothing) {
    auto months = NewCollection();
    months->FillFiscalMonth("12/31/2003");
    EXPECT_EQ(months->get_Count(), 0);
}

TEST(FiscalMonths, BadYearEndRaisesWithTheChain) {
    auto months = WithMonths(2);
    ComError e = CatchError([&] { months->FillFiscalMonth("2/30/2003"); });
    EXPECT_EQ(e.Number(), 13);
    EXPECT_EQ(e.Source(), std::string("Months.FiscalMonth") + CR + "Months.GetFirstMonth" + CR + "Vesmora");
    EXPECT_EQ(e.Description(), "Caldren Formula Calculator");
    EXPECT_EQ(Dates(months)[0], "01/15/2000");
}

TEST(FiscalMonths, MonthsDatedBeforeAFailureKeepTheirNewDates) {
    auto months = WithMonths(3);
    months->FillFiscalMonth("11/30/9999");  // 12/15/9998, 1/15/9999 ... then 10000 would follow
    auto more = WithMonths(14);
    ComError e = CatchError([&] { more->FillFiscalMonth("12/31/9999"); });
    EXPECT_EQ(e.Number(), 13);
    EXPECT_EQ(e.Source(), std::string("Months.FiscalMonth") + CR + "Vesmora");
    EXPECT_EQ(Dates(more)[11], "12/15/9999");
    EXPECT_EQ(Dates(more)[12], "01/15/2000");
}

TEST(MonthsObject, ReleasingTheCollectionReleasesItsMonths) {
    const long before = LiveObjectCount();
    {
        auto months = WithMonths(5);
        auto it = months->get_NewEnum();
        EXPECT_EQ(LiveObjectCount(), before + 7);
    }
    EXPECT_EQ(LiveObjectCount(), before);
}

}  // namespace

namespace {

using namespace enginetest;

TEST(MonthsObject, InterfacesOfTheMonthClasses) {
    ComPtr<_Months> months(NewMonths());
    EXPECT_TRUE(months.As<_Months>());
    EXPECT_FALSE(months.As<_Monthly>());
    EXPECT_FALSE(months.As<_Caldren>());
    ComPtr<_Monthly> month(NewMonthly());
    EXPECT_TRUE(month.As<_Monthly>());
    void* own = month->QueryInterface(Monthly::kIID_Internal);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(static_cast<Monthly*>(own), Monthly::From(month.Get()));
    static_cast<Monthly*>(own)->Release();
    auto it = months->get_NewEnum();
    EXPECT_TRUE(it.As<_MonthsEnum>());
}

}  // namespace
