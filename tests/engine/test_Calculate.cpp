// The calculation run: the worked examples to the digit and the cases of data/calculate.txt
// (hand-computed figures, rounding traps, state effects, runs of several steps, error
// numbers and source chains); here the module operations.
#include "TestSupport.h"

#include "c_calcs.h"

namespace {

using namespace enginetest;

TEST(Calculation, Table) {
    ScratchDir dir;
    ComPtr<Caldren> c;
    std::map<std::string, std::string> shown, options;
    bool checking = false;
    for (const casefiles::Row& row : casefiles::Rows(Data("calculate.txt"))) {
        const std::string& name = row[0];
        if (name == "case" || name == "then") {
            if (name == "case") c = NewRecord();
            if (name == "case") options.clear();
            c->BeginEdit();
            checking = false;
        } else if (name == "calculate") {
            if (!options.count("saved") && !options.count("unsaved")) {
                c->ApplyEdit(dir.File("calc.cld"));
                if (options.count("edit")) c->BeginEdit();
            }
            options["saved"] = "True";
            EXPECT_EQ(ErrorText([&] { c->Calculate(); }), row[1]) << row.where;
            shown = Snapshot(*c);
            checking = true;
        } else if (checking) {
            ExpectShows(shown, row.where, name + "=" + row[1]);
        } else if (name == "month") {
            c->get_colMonths()->Add("1/15/2003", row[1], row[2], row[3], row[4], 0, 0, 0);
        } else if (name == "month1.IsEditing") {
            c->get_colMonths()->get_Item(1L)->put_IsEditing(row[1] == "True");
        } else if (name == "colMonths") {
            c->putref_colMonths(nullptr);
        } else if (name == "edit" || name == "unsaved") {
            options[name] = row[1];
        } else {
            Put(*c, name, row[1]);
        }
    }
}

TEST(c_calcs, DaysFactorAndCalcCaldren) {
    std::string sum, average;
    EXPECT_EQ(c_calcs::DaysFactor("100,000", "120,000", "600,000", sum, average),
              110000.0 / 600000.0 * 365.0);
    EXPECT_EQ(sum + " " + average, "220000 110000");
    EXPECT_EQ(c_calcs::DaysFactor("-3", "0", "365", sum, average), -1.5 / 365.0 * 365.0);
    EXPECT_EQ(sum + " " + average, "-3 -1.5");
    EXPECT_EQ(c_calcs::DaysFactor("1", "2", "0", sum, average), 0.0);
    EXPECT_EQ(c_calcs::DaysFactor("1", "2", "-10", sum, average), 0.0);
    EXPECT_EQ(ErrorText([&] { c_calcs::DaysFactor("x", "2", "3", sum, average); }),
              "13 c_calcs.DaysFactor\rVesmora / Caldren Formula Calculator");
    std::string before;
    EXPECT_EQ(c_calcs::CalcCaldren("250,000", "156,744", before, "20,000", "10,000"), 632560000);
    EXPECT_EQ(before, "93256");
    EXPECT_EQ(c_calcs::CalcCaldren("100", "250", before, "0", "5"),
              -1550000);  // shortfalls stay negative
    EXPECT_EQ(before, "-150");
    EXPECT_EQ(ErrorText([&] { c_calcs::CalcCaldren("100", "", before, "0", "0"); }),
              "13 c_calcs.CalcCaldren\rVesmora / Caldren Formula Calculator");
}

}  // namespace
