// Months pasted from a spreadsheet: amounts as sheets copy them, heading rows, short rows,
// the grid's column order, refused values and text that is not a block of figures.
#include "MonthPaste.h"

#include <gtest/gtest.h>

#ifdef CALDREN_ENGINE_LIBRARY
#include <activation/Activation.h>
#include <vesmora/Vesmora.h>
#endif

#include <cstdlib>
#include <map>

using namespace MonthPaste;

namespace {

struct AmountCase {
    const char* cell;
    const char* expected;  // nullptr: not an amount
};

class Amounts : public ::testing::TestWithParam<AmountCase> {};

TEST_P(Amounts, Normalized) {
    const AmountCase& p = GetParam();
    const auto got = NormalizeAmount(p.cell);
    if (p.expected == nullptr) {
        EXPECT_FALSE(got.has_value()) << p.cell << " -> " << *got;
    } else {
        ASSERT_TRUE(got.has_value()) << p.cell;
        EXPECT_EQ(p.expected, *got) << p.cell;
    }
}

INSTANTIATE_TEST_SUITE_P(Paste, Amounts, ::testing::Values(
    // Thousands commas.
    AmountCase{"1,234", "1234"}, AmountCase{"12,345,678", "12345678"},
    AmountCase{"1,234.56", "1234.56"}, AmountCase{"999", "999"},
    // Dollar signs.
    AmountCase{"$1,234", "1234"}, AmountCase{"$ 75", "75"}, AmountCase{"$0.50", "0.50"},
    // Negatives: parentheses, leading minus before or after the dollar sign.
    AmountCase{"(1,234)", "-1234"}, AmountCase{"($1,234.50)", "-1234.50"},
    AmountCase{"( 5 )", "-5"}, AmountCase{"-$75", "-75"}, AmountCase{"$-75", "-75"},
    AmountCase{"-1,000", "-1000"}, AmountCase{"(0)", "0"}, AmountCase{"+12", "12"},
    // Blanks around, an empty cell, leading zeros, a bare fraction.
    AmountCase{"  42  ", "42"}, AmountCase{"", "0"}, AmountCase{"007", "7"},
    AmountCase{".5", "0.5"}, AmountCase{"12.", "12"}, AmountCase{"\xC2\xA0" "1,000", "1000"},
    // Not amounts: the engine gets the text as it is and refuses it.
    AmountCase{"abc", nullptr}, AmountCase{"12a", nullptr}, AmountCase{"1,23", nullptr},
    AmountCase{"1,2345", nullptr}, AmountCase{",123", nullptr}, AmountCase{"1.2.3", nullptr},
    AmountCase{"(-5)", nullptr}, AmountCase{"$", nullptr}, AmountCase{"()", nullptr},
    AmountCase{"1/31/2002", nullptr}, AmountCase{"1 234", nullptr}, AmountCase{"12%", nullptr}));

TEST(PasteRows, LineEndsAndCells) {
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ((Rows{{"1", "2"}, {"3", "4"}}), SplitRows("1\t2\r\n3\t4\r\n"));
    EXPECT_EQ((Rows{{"1", "2"}, {"3", "4"}}), SplitRows("1\t2\n3\t4"));
    EXPECT_EQ((Rows{{"1", ""}, {"", "4"}}), SplitRows("1\t\r\n\t4\r\n"));
    EXPECT_EQ((Rows{{"1"}, {""}, {"3"}}), SplitRows("1\n\n3\n"));
    EXPECT_EQ((Rows{{"1"}, {"2"}}), SplitRows("1\r2"));
    EXPECT_EQ((Rows{{"$1,000", "x y"}}), SplitRows("  $1,000 \t x y \r\n"));
}

TEST(PasteRows, BlockOrSingleValue) {
    EXPECT_TRUE(IsBlock("1\t2"));
    EXPECT_TRUE(IsBlock("1\r\n2\r\n"));
    EXPECT_FALSE(IsBlock("1,234"));
    EXPECT_FALSE(IsBlock("1,234\r\n"));
    EXPECT_FALSE(IsBlock(""));
}

// Three months as a sheet copies them, pasted at the first receivables cell.
TEST(PastePlan, CommasDollarsParenthesesFromTheFocusedCell) {
    const Plan p = PlanPaste("$120,000\t$75,000\t$50,000\r\n"
                             "100,000\t60,000\t(1,500)\r\n"
                             "150,000\t90,000.50\t70,000\r\n",
                             0, kReceivables);
    EXPECT_TRUE(p.error.empty());
    EXPECT_FALSE(p.headingSkipped);
    EXPECT_EQ(0, p.cellsOutside);
    const std::vector<Cell> expected{
        {0, kReceivables, "120000"}, {0, kSalesOrInventory, "75000"}, {0, kPurchases, "50000"},
        {1, kReceivables, "100000"}, {1, kSalesOrInventory, "60000"}, {1, kPurchases, "-1500"},
        {2, kReceivables, "150000"}, {2, kSalesOrInventory, "90000.50"}, {2, kPurchases, "70000"},
    };
    EXPECT_EQ(expected, p.cells);
}

TEST(PastePlan, HeadingRowIsSkipped) {
    const Plan p = PlanPaste("Receivables\tSales\tPurchases\n120,000\t75,000\t50,000\n", 4,
                             kReceivables);
    EXPECT_TRUE(p.headingSkipped);
    const std::vector<Cell> expected{
        {4, kReceivables, "120000"}, {4, kSalesOrInventory, "75000"}, {4, kPurchases, "50000"}};
    EXPECT_EQ(expected, p.cells);
}

TEST(PastePlan, FirstRowWithAFigureIsData) {
    // "Jan" is text, but the row holds numbers: it is not a heading; "Jan" goes to the
    // engine in the date cell of row 0.
    const Plan p = PlanPaste("Jan\t120,000\nFeb\t100,000\n", 0, kMonthDate);
    EXPECT_FALSE(p.headingSkipped);
    const std::vector<Cell> expected{
        {0, kMonthDate, "Jan"}, {0, kReceivables, "120000"}, {1, kReceivables, "100000"}};
    EXPECT_EQ(expected, p.cells);
}

TEST(PastePlan, ShortRowSetsOnlyItsCells) {
    const Plan p = PlanPaste("1\t2\t3\r\n4\r\n\t6\t\r\n", 0, kReceivables);
    // Row 1 has one cell; row 2 an empty first cell (0) and an empty last one (0).
    const std::vector<Cell> expected{
        {0, kReceivables, "1"}, {0, kSalesOrInventory, "2"}, {0, kPurchases, "3"},
        {1, kReceivables, "4"},
        {2, kReceivables, "0"}, {2, kSalesOrInventory, "6"}, {2, kPurchases, "0"}};
    EXPECT_EQ(expected, p.cells);
}

TEST(PastePlan, EmptyRowKeepsItsPlace) {
    const Plan p = PlanPaste("1\t2\n\n3\t4\n", 0, kSalesOrInventory);
    const std::vector<Cell> expected{
        {0, kSalesOrInventory, "1"}, {0, kPurchases, "2"},
        {2, kSalesOrInventory, "3"}, {2, kPurchases, "4"}};
    EXPECT_EQ(expected, p.cells);
}

TEST(PastePlan, DatesOnlyInTheFirstRow) {
    const Plan p = PlanPaste("1/31/2002\t10\n2/28/2002\t20\n3/31/2002\t30\n", 0, kMonthDate);
    const std::vector<Cell> expected{{0, kMonthDate, "1/31/2002"},
                                     {0, kReceivables, "10"},
                                     {1, kReceivables, "20"},
                                     {2, kReceivables, "30"}};
    EXPECT_EQ(expected, p.cells);
}

TEST(PastePlan, CellsBeyondTheGridAreDropped) {
    // Starting at row 10, four rows: rows 12 and 13 do not exist. A fourth column beyond
    // Purchases does not either.
    const Plan p = PlanPaste("1\t2\t3\t9\n4\t5\t6\n7\t8\t9\n1\t2\t3\n", 10, kReceivables);
    EXPECT_EQ(6u, p.cells.size());
    EXPECT_EQ((Cell{11, kPurchases, "6"}), p.cells.back());
    EXPECT_EQ(1 + 3 + 3, p.cellsOutside);
}

TEST(PastePlan, HiddenPurchasesColumnIsSkipped) {
    // Month-end inventory: the grid shows date, receivables, inventory.
    GridShape shape;
    shape.columns = {kMonthDate, kReceivables, kSalesOrInventory};
    const Plan p = PlanPaste("120,000\t100,000\t5\n", 0, kReceivables, shape);
    const std::vector<Cell> expected{{0, kReceivables, "120000"}, {0, kSalesOrInventory, "100000"}};
    EXPECT_EQ(expected, p.cells);
    EXPECT_EQ(1, p.cellsOutside);
    // Starting in a column the grid does not show: nothing.
    EXPECT_TRUE(PlanPaste("1\t2\n", 0, kPurchases, shape).cells.empty());
}

struct NotTabularCase {
    const char* name;
    std::string text;
};

std::string NotTabularName(const ::testing::TestParamInfo<NotTabularCase>& c) {
    return c.param.name;
}

class NotTabular : public ::testing::TestWithParam<NotTabularCase> {};

TEST_P(NotTabular, Refused) {
    const Plan p = PlanPaste(GetParam().text, 0, kReceivables);
    EXPECT_EQ(std::string(kNotTabular), p.error);
    EXPECT_TRUE(p.cells.empty());
}

INSTANTIATE_TEST_SUITE_P(Paste, NotTabular, ::testing::Values(
    NotTabularCase{"Prose", "Dear client,\r\nplease find the figures attached.\r\n"},
    NotTabularCase{"Words", "Receivables\tSales\tPurchases\r\n"},
    NotTabularCase{"Empty", ""},
    NotTabularCase{"BlankLines", "\r\n\r\n\t\r\n"},
    NotTabularCase{"LongCell", "1\t" + std::string(65, 'x') + "\r\n"},
    NotTabularCase{"Nul", std::string("1\t2\0003", 5)},
    NotTabularCase{"Huge", std::string(64 * 1024 + 1, '1')}),
    &NotTabularName);

// A fake grid whose setter refuses what is not an amount, with the engine's error 10002.
TEST(PasteApply, RefusedValueStopsAtThatCell) {
    const Plan p = PlanPaste("1,000\t2,000\n3,000\tn/a\n5,000\t6,000\n", 0, kReceivables);
    ASSERT_EQ(6u, p.cells.size());
    std::map<std::pair<int, int>, std::string> grid;
    const Outcome out = ApplyPaste(p, [&](const Cell& c) {
        if (!NormalizeAmount(c.value))
            throw activation::ComError(10002, "Monthly.Sales", "Caldren Formula Calculator");
        grid[{c.row, c.column}] = c.value;
    });
    EXPECT_FALSE(out.Ok());
    EXPECT_EQ(3u, out.applied);
    ASSERT_TRUE(out.failedCell);
    EXPECT_EQ((Cell{1, kSalesOrInventory, "n/a"}), *out.failedCell);
    ASSERT_TRUE(out.error);
    EXPECT_EQ(10002, out.error->Number());
    // The cells before it stay; nothing after it was set.
    EXPECT_EQ((std::map<std::pair<int, int>, std::string>{
                  {{0, kReceivables}, "1000"}, {{0, kSalesOrInventory}, "2000"},
                  {{1, kReceivables}, "3000"}}),
              grid);
}

TEST(PasteApply, AllAccepted) {
    const Plan p = PlanPaste("1\t2\n", 0, kReceivables);
    int calls = 0;
    const Outcome out = ApplyPaste(p, [&](const Cell&) { ++calls; });
    EXPECT_TRUE(out.Ok());
    EXPECT_EQ(2u, out.applied);
    EXPECT_EQ(2, calls);
}

#ifdef CALDREN_ENGINE_LIBRARY
// The engine's own month setters: what they accept and refuse.
TEST(PasteApply, ThroughTheEngineMonths) {
    ::setenv("HOME", ::testing::TempDir().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (::testing::TempDir() + "/config").c_str(), 1);
    activation::SetFallbackLibrary(CALDREN_ENGINE_LIBRARY);
    auto calc = activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    auto months = calc->get_colMonths();
    for (int i = 0; i < 12; ++i) months->Add("12/31/2002", "0", "0", "0", "0", 0, 0, 0);
    const Plan p = PlanPaste("Receivables\tSales\tPurchases\r\n"
                             "$120,000\t75,000\t(50,000)\r\n"
                             "100,000\tabc\t45,000\r\n",
                             0, kReceivables);
    ASSERT_TRUE(p.headingSkipped);
    const Outcome out = ApplyPaste(p, [&](const Cell& c) {
        auto m = months->get_Item(static_cast<long>(c.row + 1));
        switch (c.column) {
        case kReceivables: m->put_Receivables(c.value); break;
        case kSalesOrInventory: m->put_Sales(c.value); break;
        case kPurchases: m->put_Purchases(c.value); break;
        default: break;
        }
    });
    ASSERT_FALSE(out.Ok());
    EXPECT_EQ(10002, out.error->Number());
    EXPECT_EQ(4u, out.applied);
    EXPECT_EQ((Cell{1, kSalesOrInventory, "abc"}), *out.failedCell);
    auto m1 = months->get_Item(1L);
    auto m2 = months->get_Item(2L);
    EXPECT_EQ("120,000", m1->get_Receivables());
    EXPECT_EQ("75,000", m1->get_Sales());
    EXPECT_EQ("-50,000", m1->get_Purchases());
    EXPECT_EQ("100,000", m2->get_Receivables());
    EXPECT_EQ("0", m2->get_Sales());
    EXPECT_EQ("0", m2->get_Purchases());
}
#endif

}  // namespace
