// Months pasted from a spreadsheet (the amounts' syntax: tests/components/common): rows and
// cells, short rows, the grid's columns, text that is not a block of figures (the table
// data/paste.txt), heading rows matched by name (data/headings.txt); refused values stop the
// paste at their cell, also on the engine.
#include "CaseFiles.h"
#include "MonthPaste.h"

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

using namespace MonthPaste;

namespace {

const std::string kColumns = "DRSP";

const char* const kHeadings[] = {"none",  "month end", "receivables",
                                 "sales", "inventory", "purchases"};

TEST(Paste, Table) {
    std::vector<casefiles::Row> rows = casefiles::Rows(CALDREN_PASTE_DATA "/paste.txt");
    for (const casefiles::Row& row : casefiles::Rows(CALDREN_PASTE_DATA "/headings.txt"))
        rows.push_back(row);
    for (const casefiles::Row& row : rows) {
        std::string got;
        if (row[0] == "heading") {
            got = kHeadings[static_cast<int>(MatchHeading(row[1]))];
        } else if (row[0] == "rows") {
            for (const auto& cells : SplitRows(row[1])) {
                got += got.empty() ? "" : " ";
                for (const std::string& cell : cells) got += "[" + cell + "]";
            }
        } else if (row[0] == "block") {
            got = IsBlock(row[1]) ? "true" : "false";
        } else {
            GridShape shape;
            shape.columns.clear();
            for (char c : row[4]) shape.columns.push_back(static_cast<int>(kColumns.find(c)));
            shape.inventory = row[4].find('P') == std::string::npos;
            const Plan p = PlanPaste(row[1], std::stoi(row[2]),
                                     static_cast<int>(kColumns.find(row[3])), shape);
            std::string cells;
            for (const Cell& c : p.cells)
                cells += (cells.empty() ? "" : " ") + std::to_string(c.row) + kColumns[c.column] +
                         c.value;
            got = cells + " | " + (p.headingSkipped ? "true" : "false") + " | " +
                  std::to_string(p.cellsOutside) + " | " + p.error + p.note;
            EXPECT_EQ(got, row[5] + " | " + row[6] + " | " + row[7] + " | " + row[8]) << row.where;
            continue;
        }
        EXPECT_EQ(got, row[2]) << row.where;
    }
}

// The engine's own month setters: the cells before a refused value are set, none after it.
TEST(Paste, RefusedValueStopsAtItsCell) {
    ::setenv("HOME", ::testing::TempDir().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (::testing::TempDir() + "/config").c_str(), 1);
    activation::SetFallbackLibrary(CALDREN_ENGINE_LIBRARY);
    auto months =
        activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren)->get_colMonths();
    for (int i = 0; i < 12; ++i) months->Add("12/31/2002", "0", "0", "0", "0", 0, 0, 0);
    const Plan p = PlanPaste(
        "Receivables\tSales\tPurchases\r\n$120,000\t75,000\t(50,000)\r\n100,000\tabc\t45,000\r\n",
        0, kReceivables);
    const Outcome out = ApplyPaste(p, [&](const Cell& c) {
        auto m = months->get_Item(static_cast<long>(c.row + 1));
        if (c.column == kReceivables) m->put_Receivables(c.value);
        if (c.column == kSalesOrInventory) m->put_Sales(c.value);
        if (c.column == kPurchases) m->put_Purchases(c.value);
    });
    ASSERT_FALSE(out.Ok());
    EXPECT_EQ(out.error->Number(), 10002);
    EXPECT_EQ(out.applied, 4u);
    EXPECT_EQ(*out.failedCell, (Cell{1, kSalesOrInventory, "abc"}));
    auto m1 = months->get_Item(1L), m2 = months->get_Item(2L);
    EXPECT_EQ(m1->get_Receivables() + " " + m1->get_Sales() + " " + m1->get_Purchases() + " " +
                  m2->get_Receivables() + " " + m2->get_Sales() + " " + m2->get_Purchases(),
              "120,000 75,000 -50,000 100,000 0 0");
    EXPECT_TRUE(ApplyPaste(PlanPaste("1\t2\n", 0, kReceivables), [](const Cell&) {}).Ok());
}

}  // namespace
