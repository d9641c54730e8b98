// The batch run's pieces: BatchUi, the error paths in a batch run, the batch reports host.
#include "AppTestSupport.h"

#include "BatchFailure.h"
#include "BatchReportsHost.h"
#include "BatchUi.h"
#include "ErrorPaths.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace apptest;
using activation::ComError;

TEST(BatchUi, MessagesGoToTheStreamAndNothingWaits) {
    std::ostringstream out;
    caldren::BatchUi ui(out);
    EXPECT_EQ(ui.MsgBox("/x/a.cld does not exist.", caldren::kExclamation, "WARNING"),
              caldren::MsgAnswer::Ok);
    EXPECT_EQ(ui.MsgBox("Current Inputs have not been Saved!\nDo you want to save them first?",
                        caldren::kYesNoCancel | caldren::kExclamation, "Unsaved Data Exists!"),
              caldren::MsgAnswer::Cancel);
    EXPECT_EQ(ui.MsgBox("Save?", caldren::kYesNo, "Q"), caldren::MsgAnswer::No);
    EXPECT_EQ(out.str(),
              "/x/a.cld does not exist.\n"
              "Current Inputs have not been Saved!\nDo you want to save them first?\nSave?\n");
    EXPECT_EQ(ui.OpenFileDialog({}), "");
    EXPECT_EQ(ui.SaveFileDialog({}), "");
    EXPECT_THROW(ui.ReportErrorAndQuit(11, "RunReports"), caldren::BatchFailure);
    EXPECT_THROW(ui.ShutDown(false), caldren::BatchFailure);
}

TEST(ErrorPaths, BatchTurnsEveryPathIntoAFailureWithTheChain) {
    PinnedEnvironment env;
    caldren::RunState state;
    state.batch = true;
    const ComError err(13, "Caldren.Load\rCaldren.Fetch\rType mismatch", "Caldren Formula Calculator");
    using Fn = void (*)(caldren::RunState&, const ComError&, const std::string&);
    for (Fn path : {Fn(caldren::ErrorPaths::OwnMessage), Fn(caldren::ErrorPaths::AskThenShutDown),
                    Fn(caldren::ErrorPaths::LogThenShutDown), Fn(caldren::ErrorPaths::LogAndGoOn)}) {
        try {
            path(state, err, "MainMod.RunSilent");
            ADD_FAILURE() << "no failure";
        } catch (const caldren::BatchFailure& f) {
            EXPECT_EQ(f.number, 13);
            EXPECT_EQ(f.description, "Caldren Formula Calculator");
            EXPECT_EQ(f.location, "MainMod.RunSilent\rCaldren.Load\rCaldren.Fetch\rType mismatch");
        }
    }
}

TEST(ErrorPaths, InteractiveOwnMessageUsesThePlainProcedureName) {
    PinnedEnvironment env;
    ScriptedUi ui;
    caldren::RunState state;
    state.ui = &ui;
    caldren::ErrorPaths::OwnMessage(state, ComError(11, "c_calcs.CalcCaldren"), "RunReports");
    ASSERT_EQ(ui.ownErrors.size(), 1u);
    EXPECT_EQ(ui.ownErrors[0], std::make_pair(11L, std::string("RunReports")));
}

TEST(ErrorPaths, InteractiveLogThenShutDownAsksAndShutsDown) {
    PinnedEnvironment env;
    ScriptedUi ui;
    caldren::RunState state;
    state.ui = &ui;
    // Without windows the reporter answers "no": shut down without saving first.
    caldren::ErrorPaths::LogThenShutDown(state, ComError(5, "x"), "SummaryReport.RunSummReport");
    ASSERT_EQ(ui.shutDowns.size(), 1u);
    EXPECT_FALSE(ui.shutDowns[0]);
    caldren::ErrorPaths::LogAndGoOn(state, ComError(5, "x"), "File Operations.Open File");
    EXPECT_EQ(ui.shutDowns.size(), 1u);
}

TEST(BatchReportsHost, KeepsTheFirstErrorWithItsLocation) {
    caldren::BatchReportsHost host;
    host.ReportOrLog(ComError(11, "Caldren.Calculate\rc_calcs.CalcOpCyclePeak", "Caldren Formula Calculator"),
                     "SummaryReport.RunSummReport");
    host.ReportErrorAndQuit(ComError(5, "later"), "RunReports");
    ASSERT_TRUE(host.Failure().has_value());
    EXPECT_EQ(host.Failure()->number, 11);
    EXPECT_EQ(host.Failure()->location,
              "SummaryReport.RunSummReport\rCaldren.Calculate\rc_calcs.CalcOpCyclePeak");
    EXPECT_NE(host.MakeSink(Reports::kFile), nullptr);
    EXPECT_THROW(host.MakeSink(Reports::kView), ComError);
}

}  // namespace
