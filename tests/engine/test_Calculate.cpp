// The calculation run: both worked examples to the digit, cases computed by hand from the
// rules (negative and fractional inputs, large amounts, a loss), rounding traps, state
// effects, error numbers and source chains.
#include "TestSupport.h"

#include "c_calcs.h"

#include <map>
#include <vector>

namespace {

using namespace enginetest;

using Inputs = std::vector<std::pair<std::string, std::string>>;
using Texts = std::map<std::string, std::string>;

struct MonthIn {
    std::string inventory, receivables, sales, purchases;
};

// Public text setters and getters by name, for data-driven cases.
void Put(Caldren& c, const std::string& name, const std::string& value) {
#define PUT_BY_NAME(n) \
    if (name == #n) return c.put_##n(value);
    VESMORA_AMOUNT_INPUTS(PUT_BY_NAME)
#undef PUT_BY_NAME
    FAIL() << "no input " << name;
}

std::string Get(const Caldren& c, const std::string& name) {
#define GET_BY_NAME(n) \
    if (name == #n) return c.get_##n();
    VESMORA_AMOUNT_INPUTS(GET_BY_NAME)
    VESMORA_AMOUNT_RESULTS(GET_BY_NAME)
    VESMORA_RATIO5_RESULTS(GET_BY_NAME)
    VESMORA_RATIO8_RESULTS(GET_BY_NAME)
    GET_BY_NAME(APBegAndEndAve)
    GET_BY_NAME(NeededWCPeak)
    GET_BY_NAME(GrossProfitPercent)
#undef GET_BY_NAME
    ADD_FAILURE() << "no property " << name;
    return {};
}

class Calculation : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string file = dir.File("calc.cld");

    // A saved record (so that it may be calculated), its edit closed.
    ComPtr<Caldren> Saved(const Inputs& inputs, bool ave, bool peak, bool useSalesAndPurch,
                          const std::vector<MonthIn>& months = {}) {
        auto c = NewRecord();
        c->BeginEdit();
        for (const auto& [name, value] : inputs) Put(*c, name, value);
        c->put_DoAveCycle(ave);
        c->put_DoPeakCycle(peak);
        c->put_DoPeakUseSalesAndPurch(useSalesAndPurch);
        for (const MonthIn& m : months)
            c->get_colMonths()->Add("1/15/2003", m.inventory, m.receivables, m.sales, m.purchases, 0, 0, 0);
        c->ApplyEdit(file);
        return c;
    }

    void ExpectTexts(const Caldren& c, const Texts& expected) {
        for (const auto& [name, text] : expected) EXPECT_EQ(Get(c, name), text) << name;
    }
};

const Inputs kExample = {
    {"InvBeg", "100,000"},        {"InvEnd", "120,000"},       {"COGS", "600,000"},
    {"ARBeg", "80,000"},          {"AREnd", "100,000"},        {"NetSales", "900,000"},
    {"APBegRel2Inv", "50,000"},   {"APEndRel2Inv", "70,000"},  {"InvPurchases", "620,000"},
    {"COGSNxtYr", "650,000"},     {"OperatingExpNxtYr", "200,000"}, {"IncTaxNxtYr", "30,000"},
    {"DeprecNxtYr", "40,000"},    {"CurAssets", "500,000"},    {"CurLiab", "250,000"},
    {"Reasonableneeds", "20,000"}, {"Contingencies", "10,000"}};

const std::vector<MonthIn> kExampleMonths = {
    {"0", "120,000", "75,000", "50,000"}, {"0", "100,000", "60,000", "45,000"}, {"0", "150,000", "90,000", "70,000"}};

TEST_F(Calculation, AverageMethodWorkedExample) {
    auto c = Saved(kExample, true, false, true);
    c->Calculate();
    ExpectTexts(*c, {{"CostOfOperations", "840,000"},
                     {"AvailableWC", "250,000"},
                     {"InvBegAndEndAve", "220,000"},
                     {"InvAve", "110,000"},
                     {"InvTurnDaysAve", "66.91666667"},
                     {"ARBegAndEndAve", "180,000"},
                     {"ARAve", "90,000"},
                     {"ARTurnDaysAve", "36.50000"},
                     {"APBegAndEndAve", "120000.00000"},
                     {"APAve", "60,000"},
                     {"APTurnDaysAve", "35.32258"},
                     {"OperatingCycleDaysAve", "103.41666667"},
                     {"OperatingCycleAdjDaysAve", "68.09408602"},
                     {"AdjOperatingCycleAve", "0.18660"},
                     {"NeededWCAve", "156,744"},
                     {"ExcessPreContingencyWCAve", "93,256"},
                     {"ExcessWCAve", "63,256"},
                     // the peak step runs in every run
                     {"GrossProfitPercent", "33.33"},
                     {"OperatingCyclePeak", "0.00000"},
                     // peak results untouched
                     {"NeededWCPeak", ""},
                     {"ExcessWCPeak", "0"}});
    // Stored ratios are the doubles of their 15-significant-digit texts.
    const Record& r = c->record();
    EXPECT_EQ(r.InvTurnDaysAve, 66.9166666666667);
    EXPECT_EQ(r.ARTurnDaysAve, 36.5);
    EXPECT_EQ(r.APTurnDaysAve, 35.3225806451613);
    EXPECT_EQ(r.OperatingCycleDaysAve, 103.416666666667);
    EXPECT_EQ(r.OperatingCycleAdjDaysAve, 68.0940860215054);
    EXPECT_EQ(r.AdjOperatingCycleAve, 0.1866);
    EXPECT_EQ(r.NeededWCAve, 1567440000);
}

TEST_F(Calculation, PeakMethodWorkedExample) {
    auto c = Saved(kExample, true, true, true, kExampleMonths);
    c->Calculate();
    const Record& r = c->record();
    EXPECT_EQ(r.GrossProfitPercent, 33.33333f);
    EXPECT_EQ(c->get_GrossProfitPercent(), "33.33");
    auto months = c->get_colMonths();
    ASSERT_EQ(months->get_Count(), 3);
    const char* inventories[] = {"100,000", "105,000", "115,000"};
    const double cycles[][3] = {{0.16667, 0.13333, 0.3}, {0.175, 0.11111, 0.28611}, {0.19167, 0.16667, 0.35833}};
    for (long i = 1; i <= 3; ++i) {
        auto m = months->get_Item(i);
        EXPECT_EQ(m->get_Inventory(), inventories[i - 1]) << i;
        EXPECT_EQ(m->get_InventoryCycle(), cycles[i - 1][0]) << i;
        EXPECT_EQ(m->get_ReceivableCycle(), cycles[i - 1][1]) << i;
        EXPECT_EQ(m->get_OperatingCycle(), cycles[i - 1][2]) << i;
    }
    EXPECT_EQ(Monthly::From(months->get_Item(3L).Get()) != nullptr, true);
    ExpectTexts(*c, {{"OperatingCyclePeak", "0.35833"},
                     {"AveAP4InvPeak", "60,000"},
                     {"APTurnRatioPeak", "0.09677"},
                     {"NetOperatingCycle", "0.26156"},
                     {"NeededWCPeak", "219,707"},
                     {"ExcessPreContingencyWCPeak", "30,293"},
                     {"ExcessWCPeak", "293"},
                     {"CostOfOperations", "840,000"},
                     {"NeededWCAve", "156,744"},
                     {"ExcessWCAve", "63,256"}});
    EXPECT_EQ(r.OperatingCyclePeak, 0.35833);  // stored back as the rounded peak
    EXPECT_EQ(r.NetOperatingCycle, 0.261555806451613);
    EXPECT_EQ(r.APTurnRatioPeak, 0.0967741935483871);
    EXPECT_EQ(r.NeededWCPeak, std::optional<vk::Amount>(2197070000));
}

// Negative and fractional inputs, twelve estimated months, both methods.
TEST_F(Calculation, NegativeAndFractionalInputsBothMethods) {
    const Inputs in = {{"COGSNxtYr", "1,234,567.5"}, {"OperatingExpNxtYr", "-12,345.5"}, {"IncTaxNxtYr", "0.4"},
                       {"DeprecNxtYr", "98,765.49"}, {"OtherCostAdjNxtYr", "-1000.5"}, {"CurAssets", "2,500,000.5"},
                       {"Securities", "-333.5"}, {"NotesFromShareholders", "12,000"}, {"CurLiab", "1,750,000.25"},
                       {"OtherWorkCapAdj", "-5,000"}, {"InvBeg", "333,333.3"}, {"InvEnd", "444,444.7"},
                       {"COGS", "2,345,678.9"}, {"ARBeg", "123,457"}, {"AREnd", "234,568"},
                       {"NetSales", "3,456,789.5"}, {"APBegRel2Inv", "111,111"}, {"APEndRel2Inv", "99,999.5"},
                       {"InvPurchases", "2,222,222"}, {"Reasonableneeds", "50,000.5"}, {"Contingencies", "25,000"}};
    const char* sales[] = {"250000.5", "180000", "310000", "275000.25", "199999.5", "205000",
                           "260000", "240000", "300001", "150000", "170000", "330000"};
    const char* purchases[] = {"200000", "210000.5", "190000", "260000", "240000", "180000",
                               "230000", "250000", "199999.5", "220000", "160000", "280000"};
    const char* receivables[] = {"300000", "280000.5", "350000", "320000", "290000", "310000",
                                 "330000", "340000", "360000", "270000", "260000", "380000"};
    std::vector<MonthIn> months;
    for (int i = 0; i < 12; ++i) months.push_back({"0", receivables[i], sales[i], purchases[i]});
    auto c = Saved(in, true, true, true, months);
    c->Calculate();
    ExpectTexts(*c, {{"CostOfOperations", "1,122,456"},
                     {"AvailableWC", "756,667"},
                     {"InvBegAndEndAve", "777,778"},
                     {"InvAve", "388,889"},
                     {"ARBegAndEndAve", "358,025"},
                     {"ARAve", "179,013"},
                     {"APAve", "105,556"},
                     {"NeededWCAve", "190,930"},
                     {"AveAP4InvPeak", "105,556"},
                     {"NeededWCPeak", "551,384"},
                     {"ExcessPreContingencyWCPeak", "205,283"},
                     {"ExcessWCPeak", "130,282"},
                     {"ExcessPreContingencyWCAve", "565,737"},
                     {"ExcessWCAve", "490,736"},
                     {"APBegAndEndAve", "211111.00000"},
                     {"AdjOperatingCycleAve", "0.17010"},
                     {"APTurnDaysAve", "17.33749"},
                     {"ARTurnDaysAve", "18.90180"},
                     {"NetOperatingCycle", "0.49123"},
                     {"APTurnRatioPeak", "0.04750"},
                     {"OperatingCyclePeak", "0.53873"},
                     {"OperatingCycleAdjDaysAve", "62.07748558"},
                     {"OperatingCycleDaysAve", "79.41497819"},
                     {"InvTurnDaysAve", "60.5131755"},
                     {"GrossProfitPercent", "32.14"}});
    const char* inventories[] = {"363,690", "451,548", "431,191", "504,584", "608,870", "649,763",
                                 "703,335", "790,478", "786,906", "905,120", "949,763", "1,005,835"};
    for (long i = 1; i <= 12; ++i)
        EXPECT_EQ(c->get_colMonths()->get_Item(i)->get_Inventory(), inventories[i - 1]) << i;
    EXPECT_EQ(c->get_colMonths()->get_Item(12L)->get_OperatingCycle(), 0.53873);
    EXPECT_EQ(c->get_colMonths()->get_Item(2L)->get_Receivables(), "280,001");
}

// Amounts in the hundreds of billions, month-end inventories entered.
TEST_F(Calculation, LargeAmountsWithEnteredInventories) {
    const Inputs in = {{"COGSNxtYr", "987654321098"}, {"OperatingExpNxtYr", "123456789012"},
                       {"IncTaxNxtYr", "45678901234"}, {"DeprecNxtYr", "34567890123"},
                       {"CurAssets", "876543210987"}, {"Securities", "12345678901"},
                       {"CurLiab", "543210987654"}, {"InvBeg", "198765432109"}, {"InvEnd", "210987654321"},
                       {"COGS", "912345678901"}, {"ARBeg", "154321098765"}, {"AREnd", "165432109876"},
                       {"NetSales", "1234567890123"}, {"APBegRel2Inv", "87654321098"},
                       {"APEndRel2Inv", "98765432109"}, {"InvPurchases", "934567890123"},
                       {"Reasonableneeds", "10000000000"}, {"Contingencies", "5000000000"}};
    const std::vector<MonthIn> months = {{"205000000000", "160000000000", "0", "0"},
                                         {"215000000001", "170000000000", "0", "0"},
                                         {"199999999999", "175000000000.5", "0", "0"},
                                         {"230000000000.5", "150000000000", "0", "0"}};
    auto c = Saved(in, true, true, false, months);
    c->Calculate();
    ExpectTexts(*c, {{"CostOfOperations", "1,122,222,121,221"},
                     {"AvailableWC", "345,677,902,234"},
                     {"InvBegAndEndAve", "409,753,086,430"},
                     {"InvAve", "204,876,543,215"},
                     {"ARBegAndEndAve", "319,753,208,641"},
                     {"ARAve", "159,876,604,321"},
                     {"APAve", "93,209,876,604"},
                     {"NeededWCAve", "285,381,085,427"},
                     {"AveAP4InvPeak", "93,209,876,604"},
                     {"NeededWCPeak", "307,336,462,937"},
                     {"ExcessPreContingencyWCPeak", "38,341,439,297"},
                     {"ExcessWCPeak", "23,341,439,297"},
                     {"ExcessPreContingencyWCAve", "60,296,816,807"},
                     {"ExcessWCAve", "45,296,816,807"},
                     {"APBegAndEndAve", "186419753207.00000"},
                     {"AdjOperatingCycleAve", "0.25430"},
                     {"APTurnDaysAve", "36.40357"},
                     {"ARTurnDaysAve", "47.26752"},
                     {"NetOperatingCycle", "0.27386"},
                     {"APTurnRatioPeak", "0.09974"},
                     {"OperatingCyclePeak", "0.37360"},
                     {"OperatingCycleAdjDaysAve", "92.82843036"},
                     {"OperatingCycleDaysAve", "129.23199753"},
                     {"InvTurnDaysAve", "81.96447904"},
                     {"GrossProfitPercent", "26.1"}});
    // entered inventories are kept (and written back as whole units)
    EXPECT_EQ(c->get_colMonths()->get_Item(4L)->get_Inventory(), "230,000,000,001");
}

// A loss year: COGS above net sales gives a negative percent and a factor above 1; the
// estimated inventory falls below zero and no month becomes the peak.
TEST_F(Calculation, LossYearNegativeEstimatesAndNoPeak) {
    const Inputs in = {{"COGSNxtYr", "500000"}, {"CurAssets", "100000"}, {"InvBeg", "10000"},
                       {"COGS", "600000"}, {"NetSales", "500000"}};
    auto c = Saved(in, false, true, true, {{"0", "1000", "40000", "10000"}, {"0", "2000", "30000", "5000"}});
    c->Calculate();
    EXPECT_EQ(c->get_GrossProfitPercent(), "-20");
    EXPECT_EQ(c->get_colMonths()->get_Item(1L)->get_Inventory(), "-28,000");
    EXPECT_EQ(c->get_colMonths()->get_Item(2L)->get_Inventory(), "-59,000");
    EXPECT_EQ(c->get_colMonths()->get_Item(2L)->get_OperatingCycle(), -0.09433);
    ExpectTexts(*c, {{"OperatingCyclePeak", "0.00000"},
                     {"NetOperatingCycle", "0.00000"},
                     {"NeededWCPeak", "0"},
                     {"ExcessWCPeak", "100,000"}});
}

TEST_F(Calculation, InputsEnterAsWholeUnits) {
    auto c = Saved({{"CurAssets", "1,234.5"}, {"CurLiab", "0.4"}, {"COGSNxtYr", "0.4"},
                    {"OperatingExpNxtYr", "1,234.5"}, {"NetSales", "1"}},
                   false, false, false);
    c->Calculate();
    EXPECT_EQ(c->record().AvailableWC, 12350000);
    EXPECT_EQ(c->record().CostOfOperations, 12350000);
    // outside an edit the write-back of the next-year inputs has no effect
    EXPECT_EQ(c->record().COGSNxtYr, 4000);
    EXPECT_EQ(c->record().OperatingExpNxtYr, 12345000);
    EXPECT_FALSE(c->get_IsDirty());
}

TEST_F(Calculation, InsideAnEditTheWriteBacksReplaceInputsAndSetIsDirty) {
    auto c = Saved({{"COGSNxtYr", "0.4"}, {"DeprecNxtYr", "2.5"}, {"NetSales", "1000.6"}, {"COGS", "500.5"},
                    {"CurAssets", "0.6"}},
                   false, true, false, {{"10.5", "20.4", "0", "0"}});
    c->BeginEdit();
    EXPECT_FALSE(c->get_IsDirty());
    c->Calculate();
    EXPECT_TRUE(c->get_IsDirty());
    EXPECT_EQ(c->record().COGSNxtYr, 0);
    EXPECT_EQ(c->record().DeprecNxtYr, 30000);
    EXPECT_EQ(c->record().NetSales, 10010000);
    EXPECT_EQ(c->record().COGS, 5010000);
    EXPECT_EQ(c->record().CurAssets, 6000);  // no write-back for available capital
    auto month = c->get_colMonths()->get_Item(1L);
    EXPECT_EQ(month->get_Inventory(), "11");
    EXPECT_EQ(month->get_Receivables(), "20");
}

TEST_F(Calculation, AdjustedCycleOfFivePercent) {
    // inventory days 50,000 / 1,000,000 * 365 = 18.25
    auto c = Saved({{"InvBeg", "50000"}, {"InvEnd", "50000"}, {"COGS", "1000000"}, {"NetSales", "1"},
                    {"COGSNxtYr", "1000000"}},
                   true, false, false);
    c->Calculate();
    EXPECT_EQ(c->get_OperatingCycleAdjDaysAve(), "18.25");
    EXPECT_EQ(c->get_AdjOperatingCycleAve(), "0.05000");
    EXPECT_EQ(c->get_NeededWCAve(), "50,000");
}

TEST_F(Calculation, NeededWCAveRoundsTiesToEven) {
    auto c = Saved({{"InvBeg", "50000"}, {"InvEnd", "50000"}, {"COGS", "1000000"}, {"NetSales", "1"},
                    {"COGSNxtYr", "1000010"}},
                   true, false, false);
    c->Calculate();
    EXPECT_EQ(c->record().NeededWCAve, 500000000);  // 50,000.5 -> 50,000
    c->BeginEdit();
    c->put_COGSNxtYr("1000030");
    c->Calculate();
    EXPECT_EQ(c->record().NeededWCAve, 500020000);  // 50,001.5 -> 50,002
}

TEST_F(Calculation, ZeroCogsWithTheAverageMethod) {
    auto c = Saved({{"InvBeg", "100"}, {"InvEnd", "201"}, {"NetSales", "1000"}}, true, false, false);
    c->Calculate();
    EXPECT_EQ(c->get_InvTurnDaysAve(), "0");
    EXPECT_EQ(c->record().InvAve, 1505000);  // 150.5, ties kept at four decimals
    EXPECT_EQ(c->get_InvAve(), "151");
    EXPECT_EQ(c->get_InvBegAndEndAve(), "301");
}

TEST_F(Calculation, NegativePurchasesGiveZeroPayableDays) {
    auto c = Saved({{"APBegRel2Inv", "100"}, {"APEndRel2Inv", "100"}, {"InvPurchases", "-5000"}, {"NetSales", "1"}},
                   true, true, false);
    c->Calculate();
    EXPECT_EQ(c->get_APTurnDaysAve(), "0.00000");
    EXPECT_EQ(c->get_APTurnRatioPeak(), "0.00000");
}

TEST_F(Calculation, ResultsOfAMethodThatIsOffKeepTheirValues) {
    auto c = Saved(kExample, true, true, true, kExampleMonths);
    c->Calculate();
    c->BeginEdit();
    c->put_DoAveCycle(false);
    c->put_COGSNxtYr("1");
    c->Calculate();
    EXPECT_EQ(c->get_NeededWCAve(), "156,744");
    EXPECT_EQ(c->get_ExcessWCAve(), "63,256");
    EXPECT_EQ(c->get_ExcessPreContingencyWCAve(), "93,256");
    EXPECT_EQ(c->get_InvTurnDaysAve(), "66.91666667");
    EXPECT_NE(c->get_NeededWCPeak(), "219,707");  // the peak method ran on the new cost
    c->put_DoPeakCycle(false);
    c->put_DoAveCycle(true);
    const std::string neededPeak = c->get_NeededWCPeak();
    const std::string excessPeak = c->get_ExcessWCPeak();
    c->Calculate();
    EXPECT_EQ(c->get_OperatingCyclePeak(), "0.00000");  // rewritten in every run
    EXPECT_EQ(c->get_NeededWCPeak(), neededPeak);
    EXPECT_EQ(c->get_ExcessWCPeak(), excessPeak);
    EXPECT_EQ(c->get_NetOperatingCycle(), "0.26156");
}

TEST_F(Calculation, InventoriesAreEstimatedEvenWithoutThePeakMethod) {
    auto c = Saved(kExample, false, false, true, kExampleMonths);
    c->Calculate();
    EXPECT_EQ(c->get_colMonths()->get_Item(3L)->get_Inventory(), "115,000");
    EXPECT_EQ(c->get_colMonths()->get_Item(3L)->get_OperatingCycle(), 0.0);  // cycles only with the peak method
}

TEST_F(Calculation, EmptyMonthCollectionWithThePeakMethod) {
    auto c = Saved(kExample, false, true, true);
    c->Calculate();
    EXPECT_EQ(c->get_OperatingCyclePeak(), "0.00000");
    EXPECT_EQ(c->record().NetOperatingCycle, -0.0967741935483871);
    EXPECT_EQ(c->get_NeededWCPeak(), "-81,290");  // 840,000 * -0.0967741935... = -81,290.32
    EXPECT_EQ(c->get_ExcessWCPeak(), "301,290");
}

TEST_F(Calculation, TwoMonthsWithTheSameLargestCycle) {
    auto c = Saved({{"COGS", "1000"}, {"NetSales", "1000"}, {"COGSNxtYr", "1000"}}, false, true, false,
                   {{"150", "150", "0", "0"}, {"100", "100", "0", "0"}, {"150", "150", "0", "0"}});
    c->Calculate();
    EXPECT_EQ(c->record().OperatingCyclePeak, 0.3);
    EXPECT_EQ(c->get_OperatingCyclePeak(), "0.30000");
    EXPECT_EQ(c->get_NeededWCPeak(), "300");
}

TEST_F(Calculation, PeakIsUsedWithFiveDecimals) {
    // a peak of 0.358333... is used as 0.35833 and stored back so
    auto c = Saved({{"COGS", "600000"}, {"NetSales", "900000"}, {"COGSNxtYr", "1000000"}}, false, true, false,
                   {{"115000", "150000", "0", "0"}});
    c->Calculate();
    EXPECT_EQ(c->record().OperatingCyclePeak, 0.35833);
    EXPECT_EQ(c->get_NeededWCPeak(), "358,330");
}

TEST_F(Calculation, NewRecordFailsWith10005AndChangesNothing) {
    auto c = NewRecord();
    c->BeginEdit();
    c->put_COGSNxtYr("5");
    const Record before = c->record();
    ComError e = CatchError([&] { c->Calculate(); });
    EXPECT_EQ(e.Number(), 10005);
    EXPECT_EQ(e.Source(), std::string("Caldren.Calculate") + CR +
                              "Need to calculate results based on complete information.");
    EXPECT_EQ(e.Description(), "Caldren Formula Calculator");
    EXPECT_EQ(c->record(), before);
}

TEST_F(Calculation, ZeroNetSalesIsADivisionByZeroEvenForTheAverageMethod) {
    auto c = Saved({{"COGS", "5"}, {"InvBeg", "10"}, {"CurAssets", "7"}, {"COGSNxtYr", "3"}}, true, false, false);
    ComError e = CatchError([&] { c->Calculate(); });
    EXPECT_EQ(e.Number(), 11);
    EXPECT_EQ(e.Source(), std::string("Caldren.Calculate") + CR + "c_calcs.CalcOpCyclePeak" + CR + "Vesmora");
    EXPECT_EQ(e.Description(), "Caldren Formula Calculator");
    // results stored before the failure stay
    EXPECT_EQ(c->get_CostOfOperations(), "3");
    EXPECT_EQ(c->get_AvailableWC(), "7");
    EXPECT_EQ(c->get_InvAve(), "5");
    EXPECT_EQ(c->get_InvTurnDaysAve(), "365");
    EXPECT_EQ(c->get_NeededWCAve(), "3");  // a cycle of a whole year
    EXPECT_EQ(c->get_ExcessWCAve(), "0");  // step 7 never ran
}

TEST_F(Calculation, ZeroNetSalesAndZeroCogsIsAnOverflow) {
    auto c = Saved({}, false, false, false);
    ComError e = CatchError([&] { c->Calculate(); });
    EXPECT_EQ(e.Number(), 6);
    EXPECT_EQ(e.Source(), std::string("Caldren.Calculate") + CR + "c_calcs.CalcOpCyclePeak" + CR + "Vesmora");
}

TEST_F(Calculation, ZeroCogsWithMonthsAndThePeakMethod) {
    auto c = Saved({{"NetSales", "100"}}, false, true, false, {{"5", "0", "0", "0"}});
    EXPECT_EQ(CatchError([&] { c->Calculate(); }).Number(), 11);
    auto d = Saved({{"NetSales", "100"}}, false, true, false, {{"0", "0", "0", "0"}});
    EXPECT_EQ(CatchError([&] { d->Calculate(); }).Number(), 6);
    EXPECT_EQ(d->get_GrossProfitPercent(), "100");  // stored before the failure
}

TEST_F(Calculation, OverflowInAvailableCapital) {
    auto c = Saved({{"CurAssets", "900,000,000,000,000"}, {"Securities", "900,000,000,000,000"}, {"NetSales", "1"},
                    {"COGSNxtYr", "12"}},
                   false, false, false);
    ComError e = CatchError([&] { c->Calculate(); });
    EXPECT_EQ(e.Number(), 6);
    EXPECT_EQ(e.Source(), std::string("Caldren.Calculate") + CR + "c_calcs.CalcAvailableWorkCap" + CR + "Vesmora");
    EXPECT_EQ(c->get_CostOfOperations(), "12");
}

TEST_F(Calculation, OverflowInDaysFactorCarriesBothLocations) {
    auto c = Saved({{"InvBeg", "900,000,000,000,000"}, {"InvEnd", "900,000,000,000,000"}, {"NetSales", "1"}},
                   true, false, false);
    ComError e = CatchError([&] { c->Calculate(); });
    EXPECT_EQ(e.Number(), 6);
    EXPECT_EQ(e.Source(), std::string("Caldren.Calculate") + CR + "c_calcs.NeededWCAve" + CR +
                              "c_calcs.DaysFactor" + CR + "Vesmora");
}

TEST_F(Calculation, AmountWhoseWholeTextIsBeyondTheRange) {
    // 922,337,203,685,477.5 would read as 922,337,203,685,478, which no amount can hold: the
    // setter refuses it, so no stored input can stop the calculation (or a later Fetch).
    auto c = Saved({{"NetSales", "1"}}, false, false, false);
    c->BeginEdit();
    ComError e = CatchError([&] { c->put_COGSNxtYr("922,337,203,685,477.5"); });
    EXPECT_EQ(e.Number(), 6);
    EXPECT_EQ(c->get_COGSNxtYr(), "0");
    c->put_COGSNxtYr("922,337,203,685,477.4999");
    c->Calculate();
    EXPECT_EQ(c->get_CostOfOperations(), "922,337,203,685,477");
}

TEST_F(Calculation, OverflowInTheExcess) {
    auto c = Saved({{"CurAssets", "-900,000,000,000,000"}, {"Reasonableneeds", "900,000,000,000,000"},
                    {"NetSales", "1"}},
                   true, false, false);
    ComError e = CatchError([&] { c->Calculate(); });
    EXPECT_EQ(e.Number(), 6);
    EXPECT_EQ(e.Source(), std::string("Caldren.Calculate") + CR + "c_calcs.CalcCaldren" + CR + "Vesmora");
    EXPECT_EQ(c->get_ExcessWCAve(), "0");
}

TEST_F(Calculation, MissingMonthCollection) {
    auto c = Saved(kExample, false, true, true);
    c->putref_colMonths(nullptr);
    ComError e = CatchError([&] { c->Calculate(); });
    EXPECT_EQ(e.Number(), 91);
    EXPECT_EQ(e.Source(), std::string("Caldren.Calculate") + CR + "c_calcs.CalcOpCyclePeak" + CR + "Vesmora");
}

TEST_F(Calculation, MonthsOutOfEditKeepTheirInventoryButGetEstimates) {
    auto c = Saved(kExample, false, true, true, kExampleMonths);
    auto m = c->get_colMonths()->get_Item(1L);
    m->put_IsEditing(false);
    c->Calculate();
    EXPECT_EQ(m->get_Inventory(), "100,000");  // written while computing
    EXPECT_FALSE(m->get_IsComputing());
}

TEST_F(Calculation, RunDoesNotHoldTheMonthCollection) {
    const long before = LiveObjectCount();
    {
        auto c = Saved(kExample, true, true, true, kExampleMonths);
        c->Calculate();
    }
    EXPECT_EQ(LiveObjectCount(), before);
}

// ---- module operations ------------------------------------------------------------------

TEST(c_calcs, DaysFactor) {
    std::string sum, average;
    EXPECT_EQ(c_calcs::DaysFactor("100,000", "120,000", "600,000", sum, average), 110000.0 / 600000.0 * 365.0);
    EXPECT_EQ(sum, "220000");
    EXPECT_EQ(average, "110000");
    EXPECT_EQ(c_calcs::DaysFactor("1", "2", "365", sum, average), 1.5 / 365.0 * 365.0);  // not quite 1.5
    EXPECT_EQ(sum, "3");
    EXPECT_EQ(average, "1.5");
    EXPECT_EQ(c_calcs::DaysFactor("1", "2", "0", sum, average), 0.0);
    EXPECT_EQ(c_calcs::DaysFactor("1", "2", "-10", sum, average), 0.0);
    EXPECT_EQ(c_calcs::DaysFactor("-3", "0", "365", sum, average), -1.5 / 365.0 * 365.0);
    EXPECT_EQ(average, "-1.5");
    ComError e = CatchError([&] { c_calcs::DaysFactor("x", "2", "3", sum, average); });
    EXPECT_EQ(e.Number(), 13);
    EXPECT_EQ(e.Source(), std::string("c_calcs.DaysFactor") + CR + "Vesmora");
    EXPECT_EQ(e.Description(), "Caldren Formula Calculator");
}

TEST(c_calcs, CalcCaldren) {
    std::string before;
    EXPECT_EQ(c_calcs::CalcCaldren("250,000", "156,744", before, "20,000", "10,000"), 632560000);
    EXPECT_EQ(before, "93256");
    EXPECT_EQ(c_calcs::CalcCaldren("100", "250", before, "0", "5"), -1550000);  // shortfalls stay negative
    EXPECT_EQ(before, "-150");
    ComError e = CatchError([&] { c_calcs::CalcCaldren("100", "", before, "0", "0"); });
    EXPECT_EQ(e.Number(), 13);
    EXPECT_EQ(e.Source(), std::string("c_calcs.CalcCaldren") + CR + "Vesmora");
}

}  // namespace
