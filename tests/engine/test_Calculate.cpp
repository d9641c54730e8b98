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
                c->ApplyEdit(dir / "calc.cld");
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
    for (const casefiles::Row& row : casefiles::Rows(Data("c_calcs.txt"))) {
        std::string got, sum, average;
        const std::string error = ErrorText([&] {
            got = row[0] == "DaysFactor"
                      ? Shortest(c_calcs::DaysFactor(row[1], row[2], row[3], sum, average)) + " " +
                            sum + " " + average
                      : std::to_string(c_calcs::CalcCaldren(row[1], row[2], sum, row[3], row[4])) +
                            " " + sum;
        });
        EXPECT_EQ(error == "none" ? got : error, row.fields.back()) << row.where;
    }
}

}  // namespace
