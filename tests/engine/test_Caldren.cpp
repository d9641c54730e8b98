// The record: defaults, setters and their validation, getters' text forms, identity.
#include "TestSupport.h"

namespace {

using namespace enginetest;

TEST(CaldrenRecord, NewObjectReadsTheDefaults) {
    auto c = NewRecord();
    EXPECT_TRUE(c->get_IsNew());
    EXPECT_FALSE(c->get_IsDirty());
    EXPECT_FALSE(c->get_IsDeleted());
    EXPECT_FALSE(c->isEditing());
    EXPECT_EQ(c->get_EOYMonths(), "12/30/1899");
    EXPECT_EQ(c->get_EOYCurrent(), "12/31/2002");
    EXPECT_EQ(c->get_EOYNxtYr(), "12/31/2003");
    EXPECT_TRUE(c->get_DoPeakUseSalesAndPurch());
    EXPECT_FALSE(c->get_DoAveCycle());
    EXPECT_FALSE(c->get_DoPeakCycle());
    EXPECT_FALSE(c->get_UseActualInventory());
    EXPECT_FALSE(c->get_UseCurrentAmounts());
    EXPECT_EQ(c->get_NeededWCPeak(), "");
    EXPECT_EQ(c->get_sName(), "");
    EXPECT_EQ(c->get_Line2(), "");
    EXPECT_EQ(c->get_Version(), "");
    EXPECT_EQ(c->get_GrossProfitPercent(), "0");
    EXPECT_EQ(c->get_APBegAndEndAve(), "0.00000");
    EXPECT_EQ(c->get_OperatingCyclePeak(), "0.00000");
    EXPECT_EQ(c->get_InvTurnDaysAve(), "0");
    ASSERT_TRUE(c->get_colMonths());
    EXPECT_EQ(c->get_colMonths()->get_Count(), 0);
#define EXPECT_ZERO(name) EXPECT_EQ(c->get_##name(), "0") << #name;
    VESMORA_AMOUNT_INPUTS(EXPECT_ZERO)
    VESMORA_AMOUNT_RESULTS(EXPECT_ZERO)
#undef EXPECT_ZERO
}

// Every amount input: the text 1,234.6 reads back 1,235, 1234.4 reads 1,234.
TEST(CaldrenRecord, EveryAmountInputRoundsToWholeUnitsOnTheWayOut) {
    auto c = NewRecord();
    c->BeginEdit();
#define CHECK_AMOUNT(name)                         \
    c->put_##name("1,234.6");                      \
    EXPECT_EQ(c->get_##name(), "1,235") << #name;  \
    c->put_##name("1234.4");                       \
    EXPECT_EQ(c->get_##name(), "1,234") << #name;  \
    c->put_##name("-1234.5");                      \
    EXPECT_EQ(c->get_##name(), "-1,235") << #name;
    VESMORA_AMOUNT_INPUTS(CHECK_AMOUNT)
#undef CHECK_AMOUNT
    EXPECT_EQ(c->record().CurAssets, -12345000);  // the fraction is kept inside
}

TEST(CaldrenRecord, AmountSetterRefusesTextThatIsNotANumber) {
    auto c = NewRecord();
    c->BeginEdit();
    c->put_NetSales("500");
    const bool dirtyBefore = c->get_IsDirty();
    for (const char* bad : {"", "abc", "1.2.3", "12a"}) {
        ComError e = CatchError([&] { c->put_NetSales(bad); });
        EXPECT_EQ(e.Number(), 10002) << bad;
        EXPECT_EQ(e.Source(), "This item needs to be a number.");
        EXPECT_EQ(e.Description(), kGenericDescription);
    }
    EXPECT_EQ(c->get_NetSales(), "500");
    EXPECT_EQ(c->get_IsDirty(), dirtyBefore);
}

TEST(CaldrenRecord, AmountBeyondTheRangeIsAnOverflow) {
    auto c = NewRecord();
    c->BeginEdit();
    ComError e = CatchError([&] { c->put_CurAssets("9999999999999999999"); });
    EXPECT_EQ(e.Number(), 6);
    EXPECT_EQ(e.Description(), "Overflow");
    EXPECT_EQ(c->get_CurAssets(), "0");
    c->put_CurAssets("922,337,203,685,477");
    EXPECT_EQ(c->get_CurAssets(), "922,337,203,685,477");
    // Half a unit more reads as 922,337,203,685,478, which could never be read back.
    for (const char* text : {"922,337,203,685,477.5", "-922,337,203,685,477.5", "922337203685477.5807"}) {
        EXPECT_EQ(CatchError([&] { c->put_CurAssets(text); }).Number(), 6) << text;
        EXPECT_EQ(c->get_CurAssets(), "922,337,203,685,477") << text;
    }
    auto m = c->get_colMonths()->Add("1/15/2003", "0", "0", "0", "0", 0, 0, 0);
    EXPECT_EQ(CatchError([&] { m->put_Sales("-922337203685477.5808"); }).Number(), 6);
}

TEST(CaldrenRecord, SettersOutsideAnEditSucceedAndChangeNothing) {
    auto c = NewRecord();
    c->put_NetSales("");  // not even checked
    c->put_NetSales("100");
    c->put_EOYCurrent("13/45/2003");
    c->put_EOYCurrent("6/30/2004");
    c->put_DoAveCycle(true);
    c->put_sName(std::string(80, 'x'));
    c->put_sName("Acme");
    c->put_Version("CLD2026.12");
    EXPECT_EQ(c->get_NetSales(), "0");
    EXPECT_EQ(c->get_EOYCurrent(), "12/31/2002");
    EXPECT_FALSE(c->get_DoAveCycle());
    EXPECT_EQ(c->get_sName(), "");
    EXPECT_EQ(c->get_Version(), "");
    EXPECT_FALSE(c->get_IsDirty());
}

TEST(CaldrenRecord, DateSetter) {
    auto c = NewRecord();
    c->BeginEdit();
    ComError e = CatchError([&] { c->put_EOYCurrent("13/45/2003"); });
    EXPECT_EQ(e.Number(), 10002);
    EXPECT_EQ(e.Source(), "This item needs to be a number.");
    EXPECT_FALSE(c->get_IsDirty());
    EXPECT_EQ(CatchError([&] { c->put_EOYNxtYr("2/30/2003"); }).Number(), 10002);
    EXPECT_EQ(CatchError([&] { c->put_EOYMonths(""); }).Number(), 10002);
    c->put_EOYCurrent("6/30/2004");
    EXPECT_EQ(c->get_EOYCurrent(), "06/30/2004");
    EXPECT_TRUE(c->get_IsDirty());
    c->put_EOYMonths("2004-01-31");
    EXPECT_EQ(c->get_EOYMonths(), "01/31/2004");
}

TEST(CaldrenRecord, FlagSettersStoreTheGivenValue) {
    auto c = NewRecord();
    c->BeginEdit();
    c->put_DoPeakUseSalesAndPurch(false);
    EXPECT_FALSE(c->get_DoPeakUseSalesAndPurch());
    EXPECT_TRUE(c->get_IsDirty());
#define CHECK_FLAG(name)              \
    c->put_##name(true);              \
    EXPECT_TRUE(c->get_##name()) << #name; \
    c->put_##name(false);             \
    EXPECT_FALSE(c->get_##name()) << #name;
    VESMORA_FLAG_INPUTS(CHECK_FLAG)
#undef CHECK_FLAG
}

TEST(CaldrenRecord, NameOfFiftyCharactersIsAcceptedFiftyOneRefused) {
    auto c = NewRecord();
    c->BeginEdit();
    const std::string fifty(50, 'N');
    c->put_sName(fifty);
    EXPECT_EQ(c->get_sName(), fifty);
    ComError e = CatchError([&] { c->put_sName(fifty + "N"); });
    EXPECT_EQ(e.Number(), 10001);
    EXPECT_EQ(e.Source(), "Caldren");
    EXPECT_EQ(e.Description(), "Too many characters entered.");
    EXPECT_EQ(c->get_sName(), fifty);
    // characters, not bytes: 50 umlauts are 100 bytes and fit
    const std::string umlauts = [] { std::string s; for (int i = 0; i < 50; ++i) s += "ä"; return s; }();
    c->put_sName(umlauts);
    EXPECT_EQ(c->get_sName(), umlauts);
    EXPECT_EQ(CatchError([&] { c->put_sName(umlauts + "ä"); }).Number(), 10001);
    c->put_sName("  Acme Corp.  ");
    EXPECT_EQ(c->get_sName(), "  Acme Corp.");
}

TEST(CaldrenRecord, Line2LengthError) {
    auto c = NewRecord();
    c->BeginEdit();
    c->put_Line2(std::string(50, 'L'));
    ComError e = CatchError([&] { c->put_Line2(std::string(51, 'L')); });
    EXPECT_EQ(e.Number(), 10001);
    EXPECT_EQ(e.Source(), "10001");
    EXPECT_EQ(c->get_Line2(), std::string(50, 'L'));
}

TEST(CaldrenRecord, VersionKeepsItsFirstTwentyCharacters) {
    auto c = NewRecord();
    c->BeginEdit();
    c->put_Version("CLD2026.12           ");  // the program's tag padded to 21
    EXPECT_EQ(c->get_Version(), "CLD2026.12");
    c->put_Version("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(c->get_Version(), "ABCDEFGHIJKLMNOPQRST");
    c->put_Version(std::string(50, 'V'));
    EXPECT_EQ(c->get_Version(), std::string(20, 'V'));
    ComError e = CatchError([&] { c->put_Version(std::string(51, 'V')); });
    EXPECT_EQ(e.Number(), 10001);
    EXPECT_EQ(e.Source(), "10001");
    EXPECT_EQ(c->get_Version(), std::string(20, 'V'));
    c->put_Version("ÄÖÜ");
    EXPECT_EQ(c->get_Version(), "ÄÖÜ");
    EXPECT_EQ(vk::CharCount(c->record().Version), 20u);
}

TEST(CaldrenRecord, APBegAndEndAveReadsWithFiveDecimalsOthersGrouped) {
    auto c = NewRecord();
    c->put_APBegAndEndAve("150000");
    c->put_ARBegAndEndAve("150000");
    EXPECT_EQ(c->get_APBegAndEndAve(), "150000.00000");
    EXPECT_EQ(c->get_ARBegAndEndAve(), "150,000");
    c->put_APBegAndEndAve("1234.5678");
    EXPECT_EQ(c->get_APBegAndEndAve(), "1234.56780");
}

TEST(CaldrenRecord, InternalResultSettersIgnoreTheEditAndLeaveIsDirty) {
    auto c = NewRecord();
    c->put_AvailableWC("250000");
    c->put_InvTurnDaysAve("66.9166666666667");
    c->put_OperatingCyclePeak("0.358333333333333");
    c->put_GrossProfitPercent("33.33333");
    c->put_NeededWCPeak("219707");
    EXPECT_EQ(c->get_AvailableWC(), "250,000");
    EXPECT_EQ(c->get_InvTurnDaysAve(), "66.91666667");
    EXPECT_EQ(c->get_OperatingCyclePeak(), "0.35833");
    EXPECT_EQ(c->get_GrossProfitPercent(), "33.33");
    EXPECT_EQ(c->get_NeededWCPeak(), "219,707");
    EXPECT_FALSE(c->get_IsDirty());
    c->BeginEdit();
    c->put_ExcessWCAve("-5");
    EXPECT_FALSE(c->get_IsDirty());
    EXPECT_EQ(c->get_ExcessWCAve(), "-5");
    EXPECT_EQ(CatchError([&] { c->put_AvailableWC("x"); }).Number(), 13);
    EXPECT_EQ(CatchError([&] { c->put_AvailableWC("1e30"); }).Number(), 13);
    EXPECT_EQ(CatchError([&] { c->put_NeededWCPeak("99999999999999999999"); }).Number(), 6);
    EXPECT_EQ(CatchError([&] { c->put_GrossProfitPercent("1e39"); }).Number(), 6);
}

TEST(CaldrenRecord, DaysGettersRoundToEightDecimalsTiesToEven) {
    auto c = NewRecord();
    c->put_OperatingCycleDaysAve("103.416666666667");
    EXPECT_EQ(c->get_OperatingCycleDaysAve(), "103.41666667");
    c->put_OperatingCycleAdjDaysAve("68.0940860215054");
    EXPECT_EQ(c->get_OperatingCycleAdjDaysAve(), "68.09408602");
    c->put_InvTurnDaysAve("36.5");
    EXPECT_EQ(c->get_InvTurnDaysAve(), "36.5");
    c->put_InvTurnDaysAve("0.000000005");  // a tie below the binary value? 5e-9 lies above it
    EXPECT_EQ(c->get_InvTurnDaysAve(), "0.00000001");
    c->put_InvTurnDaysAve("-2");
    EXPECT_EQ(c->get_InvTurnDaysAve(), "-2");
}

TEST(CaldrenRecord, GrossProfitPercentTwoDecimalsTiesToEven) {
    auto c = NewRecord();
    c->put_GrossProfitPercent("12.125");  // exact in single precision: a true tie
    EXPECT_EQ(c->get_GrossProfitPercent(), "12.12");
    c->put_GrossProfitPercent("12.375");
    EXPECT_EQ(c->get_GrossProfitPercent(), "12.38");
    c->put_GrossProfitPercent("-50");
    EXPECT_EQ(c->get_GrossProfitPercent(), "-50");
}

TEST(CaldrenRecord, ColMonthsPutrefReplacesUnconditionally) {
    auto c = NewRecord();
    ComPtr<_Months> other(NewMonths());
    other->Add("1/15/2003", "1", "2", "3", "4", 0, 0, 0);
    c->putref_colMonths(other.Get());
    EXPECT_EQ(c->get_colMonths().Get(), other.Get());
    EXPECT_EQ(c->get_colMonths()->get_Count(), 1);
    EXPECT_FALSE(c->get_IsDirty());
}

TEST(CaldrenObject, QueryInterfaceAndReferenceCounting) {
    const long before = LiveObjectCount();
    {
        ComPtr<_Caldren> c(NewCaldren());
        EXPECT_EQ(LiveObjectCount(), before + 2);  // the record and its month collection
        ComPtr<_Caldren> again = c.As<_Caldren>();
        EXPECT_EQ(again.Get(), c.Get());
        void* unknown = c->QueryInterface(activation::kIID_IUnknown);
        ASSERT_NE(unknown, nullptr);
        static_cast<activation::IUnknownLike*>(unknown)->Release();
        EXPECT_EQ(c->QueryInterface(_Months::IID), nullptr);
        EXPECT_EQ(c->QueryInterface("{7571ac88-2efc-42ac-a02e-16ba434b8697}"), nullptr);  // a class id
        EXPECT_NE(c.As<_Caldren>().Get(), nullptr);
        void* lower = c->QueryInterface("{b9b2c7a9-dcb5-4907-a66f-c4d12eb8ed34}");
        ASSERT_NE(lower, nullptr);
        static_cast<_Caldren*>(lower)->Release();
    }
    EXPECT_EQ(LiveObjectCount(), before);
}

TEST(CaldrenObject, ServerLocksAndVersion) {
    const long before = ServerLockCount();
    LockServer(true);
    EXPECT_EQ(ServerLockCount(), before + 1);
    LockServer(false);
    EXPECT_EQ(ServerLockCount(), before);
    LockServer(false);  // never below zero
    EXPECT_GE(ServerLockCount(), 0);
    const std::string v = EngineVersionText();
    EXPECT_EQ(v.find('.'), v.rfind('.'));
    EXPECT_NE(v.find('.'), std::string::npos);
}

TEST(CaldrenRecord, ExcessQuickAssetsPeakReadsZeroAfterACalculation) {
    ScratchDir dir;
    auto c = NewRecord();
    c->BeginEdit();
    c->put_NetSales("1000");
    c->put_DoAveCycle(true);
    c->put_DoPeakCycle(true);
    c->ApplyEdit(dir.File("q.cld"));
    c->Calculate();
    EXPECT_EQ(c->get_ExcessQuickAssetsPeak(), "0");
}

}  // namespace
