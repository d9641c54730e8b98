// The batch run's pieces: BatchUi, the batch reports host, the texts of a batch failure and
// the entry it names, and the data file's lock file. (The error paths of a batch run are
// seen end to end in tests/batch: each failing run's location chain.)
#include "AppTestSupport.h"

#include "BatchFailure.h"
#include "BatchReportsHost.h"
#include "BatchUi.h"
#include "DataFileLock.h"

#include <activation/Activation.h>

#include <gtest/gtest.h>

#include <sstream>

#include <unistd.h>

namespace {

using namespace apptest;
using activation::ComError;
namespace Lock = caldren::DataFileLock;

TEST(BatchUi, MessagesGoToTheStreamAndNothingWaits) {
    std::ostringstream out;
    caldren::BatchUi ui(out);
    EXPECT_EQ(ui.MsgBox("/x/a.cld does not exist.", caldren::kExclamation, "WARNING"),
              caldren::MsgAnswer::Ok);
    EXPECT_EQ(ui.MsgBox("Saved?\r\nReally?", caldren::kYesNoCancel, "Q"),
              caldren::MsgAnswer::Cancel);
    EXPECT_EQ(ui.MsgBox("Save?", caldren::kYesNo, "Q"), caldren::MsgAnswer::No);
    EXPECT_EQ(out.str(), "/x/a.cld does not exist.\nSaved?\nReally?\nSave?\n");
    EXPECT_EQ(ui.OpenFileDialog({}) + ui.SaveFileDialog({}), "");
    EXPECT_THROW(ui.ReportErrorAndQuit(11, "RunReports"), caldren::BatchFailure);
    EXPECT_THROW(ui.ShutDown(false), caldren::BatchFailure);
}

TEST(BatchReportsHost, CollectsCompletedReportsAndKeepsTheFirstError) {
    caldren::BatchReportsHost host;
    auto sink = host.MakeSink(Reports::kFile);
    sink->BeginReport({});
    sink->PrintOrDisplay("Detailed", 1, {});
    sink->EndReport();
    sink->BeginReport({});
    sink->PrintOrDisplay("half", 1, {});
    sink->AbortReport();
    EXPECT_EQ(host.Text(), "Detailed\r\n");
    EXPECT_THROW(host.MakeSink(Reports::kView), ComError);
    host.ReportOrLog(ComError(11, "Caldren.Calculate", "Caldren Formula Calculator"),
                     "SummaryReport.RunSummReport");
    host.ReportErrorAndQuit(ComError(5, "later"), "RunReports");
    ASSERT_TRUE(host.Failure().has_value());
    EXPECT_EQ(host.Failure()->number, 11);
    EXPECT_EQ(host.Failure()->location, "SummaryReport.RunSummReport\rCaldren.Calculate");
}

struct TextCase {
    caldren::BatchFailure failure;
    std::string logText;
};

TEST(BatchFailure, TheLogNamesTheErrorsTextTheFileAndTheEntry) {
    const TextCase cases[] = {
        {{11, "Caldren Formula Calculator", "RunReports\rVesmora", "/d/a.cld"},
         "Division by zero (file \"/d/a.cld\")"},
        {{10002, "Application-defined or object-defined error",
          "Open\rCaldren.Fetch\rThis item needs to be a number.", "/d/a.cld", "Net Sales"},
         "This item needs to be a number. (file \"/d/a.cld\", entry \"Net Sales\")"},
        {{53, "/d/b.cld: Could not be loaded", "MainMod.RunCompare", "/d/b.cld"},
         "/d/b.cld: Could not be loaded (file \"/d/b.cld\")"},
        {{17, "", "X.Y"}, "Application-defined or object-defined error"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(caldren::LogDescription(c.failure), c.logText);
}

TEST(BatchFailure, RefusedEntryIsTheFirstTheEngineWillNotRead) {
    PinnedEnvironment env;
    const TempDir dir;
    const std::string demo = ReadFile(CALDREN_DEMO_SOURCE);
    const struct {
        std::string from, to, entry;
    } cases[] = {
        {"Name=", "Name=", ""},
        {"Net Sales=7,900,000", "Net Sales=abc", "Net Sales"},
        {"Average Cycle=True", "Average Cycle=maybe", "Average Cycle"},
        {"Current end-of-year=06/30/2026", "Current end-of-year=13/45/2026", "Current end-of-year"},
        {"Monthly Count=12", "Monthly Count=1001", "Monthly Count"},
        {"3 Inventory=1,320,276", "3 Inventory=lots", "3 Inventory"},
    };
    for (const auto& c : cases) {
        WriteFile(dir / "a.cld", demo.substr(0, demo.find(c.from)) + c.to +
                                     demo.substr(demo.find(c.from) + c.from.size()));
        std::string entry;
        try {
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren)
                ->Load(dir / "a.cld");
        } catch (const activation::ComError& e) {
            entry = caldren::RefusedEntry("MainMod.RunSilent\r" + e.Source());
        }
        EXPECT_EQ(entry, c.entry) << c.to;
    }
}

// ---- the lock file beside a data file -----------------------------------------------------

std::string LockText(const std::string& host, long pid) {
    return "CaldrenCalc lock file\r\nUser=ann\r\nHost=" + host + "\r\nPid=" + std::to_string(pid) +
           "\r\nSince=0\r\n";
}

TEST(DataFileLock, TakenHeldStaleAndGivenBack) {
    const TempDir dir;
    const std::string data = dir / "acme.cld", lock = dir / ".acme.cld.lock";
    const Lock::Holder me = Lock::Self();
    EXPECT_EQ(Lock::LockFilePath(data), lock);
    EXPECT_EQ(Lock::Query(data).state, Lock::State::Free);

    Lock::Status s = Lock::Acquire(data);
    EXPECT_EQ(s.state, Lock::State::Ours);
    EXPECT_EQ(ReadFile(lock), "CaldrenCalc lock file\r\nUser=" + me.user + "\r\nHost=" + me.host +
                                  "\r\nPid=" + std::to_string(::getpid()) +
                                  "\r\nSince=" + std::to_string(s.holder.since) +
                                  "\r\nBoot=" + me.boot + "\r\nStart=" + me.start + "\r\n");
    EXPECT_EQ(Lock::Acquire(data).state, Lock::State::Ours);
    EXPECT_EQ(Lock::Query(data).state, Lock::State::Ours);
    Lock::Release(data);
    EXPECT_EQ(ReadFile(lock), "");
    EXPECT_EQ(Lock::Query(data).state, Lock::State::Free);

    // A live process (the parent of this one), and one on another host, hold it.
    for (const auto& [host, pid] :
         {std::pair<std::string, long>{me.host, ::getppid()}, {"elsewhere", 999999999}}) {
        WriteFile(lock, LockText(host, pid));
        s = Lock::Acquire(data);
        EXPECT_EQ(s.state, Lock::State::Held);
        EXPECT_EQ(s.holder.host + " " + std::to_string(s.holder.pid),
                  host + " " + std::to_string(pid));
        Lock::Release(data);
        EXPECT_EQ(ReadFile(lock), LockText(host, pid));
    }
    EXPECT_EQ(Lock::Describe(s.holder),
              "ann on elsewhere (process 999999999) since an unknown time");

    // No such process on this host: stale, taken over.
    WriteFile(lock, LockText(me.host, 999999999));
    EXPECT_EQ(Lock::Query(data).state, Lock::State::Stale);
    s = Lock::Acquire(data);
    EXPECT_EQ(s.state, Lock::State::Ours);
    ASSERT_TRUE(s.tookOver.has_value());
    EXPECT_EQ(s.tookOver->pid, 999999999);
    EXPECT_EQ(Lock::Query(data).state, Lock::State::Ours);
}

TEST(DataFileLock, NeverFollowsALinkNorWaitsForAPipe) {
    const TempDir dir;
    fs::create_symlink(dir / "elsewhere", dir / ".a.cld.lock");
    ::mkfifo((dir / ".b.cld.lock").c_str(), 0644);
    for (const char* name : {"a.cld", "b.cld"}) {
        try {
            Lock::Acquire(dir / name);
            ADD_FAILURE() << name;
        } catch (const ComError& e) {
            EXPECT_EQ(e.Number(), 75) << e.Source();
        }
        EXPECT_EQ(Lock::Query(dir / name).state, Lock::State::Held);
    }
    EXPECT_FALSE(fs::exists(dir / "elsewhere"));
    EXPECT_THROW(Lock::Acquire(dir / "missing/c.cld"), ComError);
}

}  // namespace
