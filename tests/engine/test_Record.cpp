// The record and its months: defaults, setters and their validation, the edit transactions
// (tables in data/record.txt and data/editstate.txt), the month collection, fiscal months,
// identity and reference counts.
#include "TestSupport.h"

#include <sstream>

namespace {

using namespace enginetest;

TEST(Record, DefaultsAndSetters) {
#define NAME(n) #n,
    const std::vector<std::string> amountInputs = {VESMORA_AMOUNT_INPUTS(NAME)};
#undef NAME
    for (const casefiles::Row& row : casefiles::Rows(Data("record.txt"))) {
        auto c = NewRecord();
        if (row[0] == "new") {
            ExpectShows(Snapshot(*c), row.where, row[1] + "=" + row[2]);
            continue;
        }
        if (row[0] == "edit") c->BeginEdit();
        for (const std::string& name :
             row[1] == "*" ? amountInputs : std::vector<std::string>{row[1]}) {
            EXPECT_EQ(ErrorText([&] { Put(*c, name, row[2]); }), row[3]) << row.where;
            const auto shown = Snapshot(*c);
            EXPECT_EQ(shown.at(name), row[4]) << row.where << " " << name;
            EXPECT_EQ(shown.at("IsDirty"), row[5]) << row.where;
            if (row.size() > 6) {
                EXPECT_EQ(shown.at(name + "#"), row[6]) << row.where;
            }
        }
    }
}

// The Net Sales entry of a saved file, "-" when there is no file.
std::string SavedNetSales(const std::string& file) {
    std::istringstream in(casefiles::ReadFile(file));
    std::string line = "-";
    while (std::getline(in, line) && line.rfind("Net Sales=", 0) != 0) {}
    return in ? line.substr(10, line.size() - 11) : "-";
}

TEST(Record, EditTransactions) {
    for (const casefiles::Row& row : casefiles::Rows(Data("editstate.txt"))) {
        ScratchDir dir;
        auto c = NewRecord();
        std::string error = "none", op;
        for (std::istringstream ops(row[0]); ops >> op;) {
            const std::string e = ErrorText([&] {
                const std::size_t eq = op.find('=');
                if (eq != std::string::npos) Put(*c, op.substr(0, eq), op.substr(eq + 1));
                if (op == "B") c->BeginEdit();
                if (op == "C") c->CancelEdit();
                if (op == "D") c->Delete();
                if (op == "A") c->ApplyEdit(dir / "out.cld");
                if (op == "K") c->Calculate();
                if (op == "R") std::filesystem::remove(dir / "out.cld");
                if (op == "L") c->Load(Data("worked_example.cld"));
                if (op == "P") c->Load(Data("partial.cld"));
                if (op == "N") c->Load("");
                if (op == "X") c->ApplyEdit(dir / "missing/out.cld");
            });
            if (e != "none") error = e;
        }
        const bool prefix = row[1].size() > 3 && row[1].substr(row[1].size() - 3) == "...";
        EXPECT_EQ(prefix ? error.substr(0, row[1].size() - 3) + "..." : error, row[1]) << row.where;
        auto shown = Snapshot(*c);
        std::string flags;
        for (const char* flag : {"IsEditing", "IsDirty", "IsDeleted", "IsNew"})
            flags += shown[flag].substr(0, 1);
        EXPECT_EQ(flags, row[2]) << row.where;
        shown["saved"] = SavedNetSales(dir / "out.cld");
        ExpectShows(shown, row.where, row[3]);
    }
}

TEST(Months, MonthlySetters) {
    ComPtr<_Monthly> m(NewMonthly());
    Monthly* own = Monthly::From(m.Get());
    m->put_Sales("100");
    m->put_Sales("");  // not even checked outside an edit
    m->put_Receivables("5");
    EXPECT_EQ(m->get_Sales() + m->get_Receivables(), "00");
    EXPECT_FALSE(own->isDirty());
    m->put_IsComputing(true);  // the inventory alone also takes effect while computing
    m->put_Inventory("42");
    m->put_Receivables("6");
    EXPECT_EQ(m->get_Inventory() + " " + m->get_Receivables(), "42 0");
    EXPECT_TRUE(own->isDirty());
    m->put_MonthDate("3/15/2003");  // works at once
    EXPECT_EQ(m->get_MonthDate(), "03/15/2003");
    EXPECT_EQ(ErrorText([&] { m->put_MonthDate("2/30/2003"); }), "13 Vesmora / Type mismatch");
    m->put_IsEditing(true);
    EXPECT_EQ(
        ErrorText([&] { m->put_Purchases("abc"); }),
        "10002 This item needs to be a number. / Application-defined or object-defined error");
    own->put_OperatingCycle(-0.1234549);  // read as "##0.00000" gives it
    EXPECT_EQ(m->get_OperatingCycle(), -0.12345);
}

TEST(Months, Collection) {
    ComPtr<_Months> months(NewMonths());
    auto m =
        months->Add("7/15/2002", "100,000", "120000", "75000", "50000", 0.5, 0.25, 0.75, "July");
    EXPECT_TRUE(m->get_IsEditing());
    EXPECT_EQ(
        m->get_InventoryCycle() + m->get_ReceivableCycle() * 10 + m->get_OperatingCycle() * 100,
        78.0);
    EXPECT_EQ(months->get_Item(std::string("jULY")).Get(), m.Get());  // keys match without case
    EXPECT_EQ(ErrorText([&] { months->Add("2/15/2003", "0", "0", "0", "0", 0, 0, 0, "july"); }),
              "457 Vesmora / This key is already associated with an element of this collection");
    for (int i = 2; i <= 4; ++i)
        months->Add("1/15/2003", std::to_string(i), "0", "0", "0", 0, 0, 0, i == 4 ? "d" : "");
    EXPECT_EQ(months->get_Count(), 4);
    for (long bad : {0L, 5L, -1L})
        EXPECT_EQ(ErrorText([&] { months->get_Item(bad); }), "9 Vesmora / Subscript out of range");
    for (const char* bad : {"nokey", ""})
        EXPECT_EQ(ErrorText([&] { months->get_Item(std::string(bad)); }),
                  "5 Vesmora / Invalid procedure call or argument");
    EXPECT_EQ(ErrorText([&] { months->Remove(7L); }).substr(0, 2), "9 ");
    EXPECT_EQ(ErrorText([&] { months->Remove(std::string("x")); }).substr(0, 2), "5 ");
    months->Remove(std::string("JULY"));
    months->Remove(2L);
    std::string seen;
    for (auto it = months->get_NewEnum(); auto month = it->Next();) seen += month->get_Inventory();
    EXPECT_EQ(seen, "24");
    EXPECT_EQ(months->get_Item(std::string("d"))->get_Inventory(), "4");
    months->Add("7/15/2002", "1", "0", "0", "0", 0, 0, 0, "July");  // the key is free again
    EXPECT_FALSE(months->get_IsEditing());
    months->Remove(3L);  // the last month's key goes with it
    EXPECT_EQ(ErrorText([&] { months->get_Item(std::string("July")); }).substr(0, 2), "5 ");
}

TEST(Months, FiscalMonths) {
    for (const casefiles::Row& row : casefiles::Rows(Data("fiscal.txt"))) {
        ComPtr<_Months> months(NewMonths());
        for (int i = std::stoi(row[1]); i > 0; --i)
            months->Add("1/15/2000", "7", "0", "0", "0", 0, 0, 0);
        EXPECT_EQ(ErrorText([&] { months->FillFiscalMonth(row[0]); }),
                  row.size() > 3 ? row[2] : "none")
            << row.where;
        std::string dates;
        for (auto it = months->get_NewEnum(); auto month = it->Next();)
            dates += (dates.empty() ? "" : " ") + month->get_MonthDate() +
                     (month->get_Inventory() == "7" ? "" : "!");
        EXPECT_EQ(dates, row.fields.back()) << row.where;
    }
}

// The record and its months are released with the last reference, also after a run.
TEST(Objects, InterfacesAndReferenceCounts) {
    const long before = LiveObjectCount();
    {
        ScratchDir dir;
        ComPtr<_Caldren> c(NewCaldren());
        EXPECT_EQ(LiveObjectCount(), before + 2);
        EXPECT_EQ(c->QueryInterface("{7571ac88-2efc-42ac-a02e-16ba434b8697}"),
                  nullptr);  // a class id
        void* same = c->QueryInterface("{b9b2c7a9-dcb5-4907-a66f-c4d12eb8ed34}");
        ASSERT_EQ(same, c.Get());
        c->Release();
        c->Load(Data("worked_example.cld"));
        c->ApplyEdit(dir / "x.cld");
        c->Calculate();
        auto month = c->get_colMonths()->get_Item(1L);
        c->putref_colMonths(nullptr);
        EXPECT_EQ(LiveObjectCount(), before + 2);  // the record and the month still held here
    }
    EXPECT_EQ(LiveObjectCount(), before);
}

}  // namespace
