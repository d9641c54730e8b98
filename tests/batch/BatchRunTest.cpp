// The batch run and the batch comparison end to end, through the built program in a program
// folder of its own (the program, its libraries and DEMO.CLD copied into a temporary
// folder), with a temporary HOME and no display variables at all. Reports are compared
// byte for byte with tests/batch/data; every failing run must leave the client folder
// exactly as it was (its lock files aside) and write one log line.
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include <sys/file.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using batchtest::ReadFile;
using batchtest::RunOptions;
using batchtest::RunResult;
using batchtest::WriteFile;

std::string Data(const std::string& name) { return ReadFile(fs::path(CALDREN_BATCH_DATA) / name); }

// Every `from` replaced by `to`.
std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string HostName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

class Batch : public ::testing::Test {
protected:
    void SetUp() override {
        for (const fs::path& p : {program, home, work}) fs::create_directories(p);
        fs::copy_file(CALDREN_PROGRAM, program / "CaldrenCalc");
        fs::copy_file(CALDREN_DEMO_SOURCE, program / "DEMO.CLD");
        // The engine and the libraries the program links; the windows stay behind.
        for (const auto& e : fs::directory_iterator(fs::path(CALDREN_PROGRAM).parent_path()))
            if (const std::string n = e.path().filename().string();
                n.starts_with("lib") && n.ends_with(".so") && n != "libcaldrengui.so")
                fs::copy_file(e.path(), program / n);
    }

    std::string W(const std::string& name) const { return (work / name).string(); }

    RunResult Run(std::vector<std::string> args, const RunOptions& options = {},
                  const fs::path& exe = {}) {
        for (std::string& a : args) a = Replace(a, "{w}", work.string());
        return batchtest::RunProgram(exe.empty() ? program / "CaldrenCalc" : exe, args, home, root,
                                     options);
    }

    // What lies in the client folder: each name with its bytes (or its kind); the lock
    // files that runs leave beside data files, and the empty append records beside report
    // files, are no change.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(work)) {
            const std::string name = e.path().filename().string();
            struct stat st {};
            ::lstat(e.path().c_str(), &st);
            if (name[0] == '.' && (name.ends_with(".lock") ||
                                   (name.ends_with(".append") && fs::file_size(e.path()) == 0)))
                continue;
            files[name] = S_ISLNK(st.st_mode)      ? "-> " + fs::read_symlink(e.path()).string()
                          : !S_ISREG(st.st_mode)   ? "mode " + std::to_string(st.st_mode)
                          : st.st_size > (1 << 20) ? "size " + std::to_string(st.st_size)
                                                   : ReadFile(e.path());
        }
        return files;
    }

    // Lays out the client folder: "kind:name" or "kind:name=other" steps.
    void Prepare(const std::string& steps) {
        const std::string demo = ReadFile(CALDREN_DEMO_SOURCE);
        const std::string old = Replace(demo, "Version=CLD2026.12", "Version=CLD2014.10");
        std::istringstream in(steps);
        for (std::string step; in >> step;) {
            const std::string kind = step.substr(0, step.find(':'));
            std::string name = step.substr(kind.size() + 1), other;
            if (const auto eq = name.find('='); eq != std::string::npos) {
                other = name.substr(eq + 1);
                name.resize(eq);
            }
            const std::string path = W(name);
            if (kind == "demo") WriteFile(path, demo);
            if (kind == "old") WriteFile(path, old);
            if (kind == "data") WriteFile(path, Data(other));
            if (kind == "text") WriteFile(path, "kept\r\n");
            if (kind == "garbage")
                WriteFile(path, std::string("\x7f"
                                            "ELF\x01\x02 no analysis \r\n[x]\r\n=\r\n\0",
                                            30));
            if (kind == "badentry")
                WriteFile(path, Replace(old, "Net Sales=7,900,000", "Net Sales=abc"));
            if (kind == "zero") WriteFile(path, Replace(old, "Net Sales=7,900,000", "Net Sales=0"));
            if (kind == "netsales")
                WriteFile(path, Replace(old, "Net Sales=7,900,000", "Net Sales=" + other));
            if (kind == "cut") WriteFile(path, old.substr(0, old.find("End-of-Year Months")));
            // 1 MiB ending in LF: it reads, but saved with CR LF it would be larger than 1 MiB.
            if (kind == "full")
                WriteFile(path, old + ";" + std::string((1 << 20) - old.size() - 2, 'x') + "\n");
            if (kind == "huge") {
                WriteFile(path, "");
                fs::resize_file(path, 3ull << 30);
            }
            if (kind == "dir") fs::create_directory(path);
            if (kind == "fifo") ::mkfifo(path.c_str(), 0644);
            if (kind == "link") fs::create_symlink(other, path);
            if (kind == "hard") fs::create_hard_link(W(other), path);
            if (kind == "held")  // this test's own process: alive
                WriteFile(W("." + name + ".lock"),
                          "CaldrenCalc lock file\r\nUser=tester\r\nHost=" + HostName() +
                              "\r\nPid=" + std::to_string(::getpid()) + "\r\nSince=0\r\n");
        }
    }

    testsupport::TempDir dir;
    fs::path root = dir.path(), program = root / "program", home = root / "home",
             work = root / "Client Work";
};

// ---- runs that succeed -------------------------------------------------------------------

// A row of tests/data/batch_runs.cases: "good" or "fail", then the fields of that kind.
struct Row {
    std::vector<std::string> f;
};

std::ostream& operator<<(std::ostream& os, const Row& r) { return os << r.f[1]; }

std::vector<Row> RowsOf(const std::string& kind) {
    std::vector<Row> rows;
    for (auto& fields : testsupport::Rows(CALDREN_TEST_DATA "/batch_runs.cases"))
        if (fields[0] == kind) rows.push_back({fields});
    return rows;
}

// Arguments split at blanks as the shell splits them.
std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

class Succeeds : public Batch, public ::testing::WithParamInterface<Row> {};

// good  name  folders  data file  arguments  report file
TEST_P(Succeeds, AppendsBothReportsWholeAndSavesTheVersion) {
    const std::vector<std::string>& c = GetParam().f;
    Prepare(c[2]);
    const fs::path data = work / c[3], folder = data.parent_path(), report = work / c[5];
    const std::string name = data.filename().string();
    // A month's inventory that its estimate would replace: the file keeps what it held.
    const std::string demo =
        Replace(ReadFile(CALDREN_DEMO_SOURCE), "1 Inventory=1,218,317", "1 Inventory=5");
    WriteFile(data, Replace(demo, "Version=CLD2026.12", "Version=CLD2014.10"));
    WriteFile(report, "earlier text\r\n");
    // A temporary file that a killed save left is removed; a link of that name is not.
    WriteFile(folder / ("." + name + ".0123abcd~"), "left");
    fs::create_symlink(data, folder / ("." + name + ".0123abce~"));
    // The windows that had the file open are gone (no such process): the lock is stale.
    WriteFile(folder / ("." + name + ".lock"),
              "CaldrenCalc lock file\r\nUser=ann\r\nHost=" + HostName() + "\r\nPid=999999999\r\n");
    for (const std::string& reports :
         {Data("demo_reports.txt"), Data("demo_reports.txt") + Data("demo_reports.txt")}) {
        const RunResult r = Run(Words(c[4]));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out + r.err, "");
        EXPECT_EQ(ReadFile(report), "earlier text\r\n" + reports);
    }
    EXPECT_EQ(ReadFile(data), demo);  // saved with this version
    EXPECT_FALSE(fs::exists(folder / ("." + name + ".0123abcd~")));
    EXPECT_TRUE(fs::is_symlink(folder / ("." + name + ".0123abce~")));
    EXPECT_EQ(ReadFile(folder / ("." + name + ".lock")), "");
    // Nothing else is written: no log, no settings file.
    EXPECT_FALSE(fs::exists(program / "CLD_err.log"));
    EXPECT_FALSE(fs::exists(program / "CaldrenCalc.ini"));
    EXPECT_FALSE(fs::exists(home / "config"));
}

INSTANTIATE_TEST_SUITE_P(Rows, Succeeds, ::testing::ValuesIn(RowsOf("good")),
                         [](const auto& p) { return p.param.f[1]; });

TEST_F(Batch, ComparisonsAppendInYearEndOrderAndChangeNoDataFile) {
    Prepare(
        "data:acme2002.cld=acme2002.cld data:acme2003.CLD=acme2003.CLD demo:DEMO.CLD text:c.txt");
    const auto before = Snapshot();
    RunResult r = Run(
        {"/compare", "{w}/acme2003.CLD", "{w}/acme2002.cld", "/output", "{w}/c.txt", "/silent"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    r = Run({"/SILENT", "/output", "{w}/c.txt", "/Compare", "{w}/DEMO.CLD", "{w}/acme2003.CLD",
             "{w}/acme2002.cld"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(ReadFile(W("c.txt")),
              "kept\r\n" + ReadFile(fs::path(CALDREN_REPORTS_DATA) / "compare_two.txt") +
                  Data("compare_three_years.txt"));
    auto after = Snapshot();
    after["c.txt"] = before.at("c.txt");
    EXPECT_EQ(after, before);
}

TEST_F(Batch, ComparisonKeepsAColumnForEachFailedFileAndFails) {
    Prepare("data:acme2002.cld=acme2002.cld garbage:garbage.cld");
    const RunResult r = Run(Words(
        "/compare {w}/acme2002.cld {w}/missing.cld {w}/garbage.cld /output {w}/f.txt /silent"));
    EXPECT_EQ(r.exitCode, 1);
    const std::string text = ReadFile(W("f.txt"));
    EXPECT_NE(text.find(std::string(37, ' ') + "    acme2002       missing       garbage\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  Note 1: " + W("missing.cld") + ":"), std::string::npos) << text;
    EXPECT_NE(r.err.find("error 53: " + W("missing.cld") +
                         ": Could not be loaded: the file does not exist\n  File:     " +
                         W("missing.cld")),
              std::string::npos)
        << r.err;
    EXPECT_NE(ReadFile(program / "CLD_err.log")
                  .find("(file \"" + W("garbage.cld") + "\", entry \"Average Cycle\")"),
              std::string::npos);
}

// ---- runs that fail: the folder as it was, the error on stderr and in the log --------------

class Fails : public Batch, public ::testing::WithParamInterface<Row> {};

// fail  name  client folder  arguments  exit status  a piece of stderr  a piece of the log  options
TEST_P(Fails, LeavesEveryFileAsItWas) {
    const std::vector<std::string>& c = GetParam().f;
    Prepare(c[2]);
    const auto before = Snapshot();
    RunOptions options;
    const std::string option = c.size() > 7 ? c[7] : "";
    options.closedPipe = option == "closedpipe";
    if (option.rfind("fsize=", 0) == 0) options.fileSizeLimit = std::stol(option.substr(6));
    if (option.rfind("env=", 0) == 0) options.env.push_back(option.substr(4));
    // A stopped run: while this test holds the lock of a.cld and of r.txt, so that the run
    // waits for one of them, the signal is sent.
    std::vector<int> held;
    if (option.rfind("signal=", 0) == 0) {
        options.stopSignal = std::stoi(option.substr(7));
        for (const char* name : {".a.cld.lock", "r.txt"})
            if (const int fd = ::open(W(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644); fd >= 0)
                held.push_back((::flock(fd, LOCK_EX), fd));
    }
    const RunResult r = Run(Words(c[3]), options);
    for (const int fd : held) ::close(fd);
    EXPECT_EQ(r.exitCode, std::stoi(c[4])) << r.err;
    std::string errHas = Replace(
        Replace(Replace(testsupport::Unescape(c[5]), "{w}", work.string()), "{host}", HostName()),
        "{pid}", std::to_string(::getpid()));
    EXPECT_NE(r.err.find(errHas), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(), before);
    const std::string log = ReadFile(program / "CLD_err.log");
    EXPECT_NE(log.find(Replace(c[6], "{w}", work.string())), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), c[6].empty() ? 0 : 1) << log;
}

INSTANTIATE_TEST_SUITE_P(Rows, Fails, ::testing::ValuesIn(RowsOf("fail")),
                         [](const auto& p) { return p.param.f[1]; });

// ---- what a run killed in its append left -------------------------------------------------

// A row of tests/data/append_records.cases: the report file "kept" CR LF + a tail, and its
// append record as a killed run left it.
class AppendRecords : public Batch,
                      public ::testing::WithParamInterface<std::vector<std::string>> {};

// name  tail  record (its Length, or "cut" for a record cut short)  report file (same|other)
//   the tail still there after the next run  a piece of the log (empty: no log)
TEST_P(AppendRecords, NextRunRemovesTheTailOfARunThatDidNotFinish) {
    const std::vector<std::string>& c = GetParam();
    Prepare("old:a.cld");
    const std::string tail = testsupport::Unescape(c[1]);
    WriteFile(W("r.txt"), "kept\r\n" + tail);
    struct stat st {};
    ::stat(W(c[3] == "same" ? "r.txt" : "a.cld").c_str(), &st);
    const std::string record = "CaldrenCalc append record\nDevice=" + std::to_string(st.st_dev) +
                               "\nInode=" + std::to_string(st.st_ino) +
                               "\nOffset=6\nLength=" + (c[2] == "cut" ? "5" : c[2]) +
                               "\nPid=4242\nData=" + W("a.cld") + "\n";
    WriteFile(W(".r.txt.append"), c[2] == "cut" ? record.substr(0, record.size() - 3) : record);
    const RunResult r = Run(Words("/input {w}/a.cld /output {w}/r.txt /silent"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(W("r.txt")),
              "kept\r\n" + testsupport::Unescape(c[4]) + Data("demo_reports.txt"));
    EXPECT_EQ(ReadFile(W(".r.txt.append")), "");
    const std::string log = ReadFile(program / "CLD_err.log");
    EXPECT_EQ(log.empty(), c[5].empty()) << log;
    EXPECT_NE(log.find(c[5]), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Rows, AppendRecords,
                         ::testing::ValuesIn(testsupport::Rows(CALDREN_TEST_DATA
                                                               "/append_records.cases")),
                         [](const auto& p) { return p.param[0]; });

// A lock file jammed with text that is no lock record holds nobody: taken over and logged.
TEST_F(Batch, JammedLockFileIsTakenOver) {
    Prepare("old:a.cld");
    WriteFile(W(".a.cld.lock"), std::string(5000, 'x'));
    const RunResult r = Run(Words("/input {w}/a.cld /output {w}/r.txt /silent"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(W(".a.cld.lock")), "");
    EXPECT_NE(ReadFile(program / "CLD_err.log")
                  .find("The lock file held no lock record; it was taken over and emptied (file "
                        "\"" +
                        W(".a.cld.lock") + "\")"),
              std::string::npos);
}

// ---- the program itself ---------------------------------------------------------------------

TEST_F(Batch, TheBuiltProgramLoadsNeitherQtNorTheWindowLibrary) {
    // From the build's own program folder, where the window library may lie beside it.
    Prepare("demo:a.cld");
    const RunResult r = Run(Words("/input {w}/a.cld /output {w}/r.txt /silent"),
                            {{"LD_DEBUG=files"}}, CALDREN_PROGRAM);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("libvesmora.so"), std::string::npos) << "the engine is loaded";
    EXPECT_EQ(r.err.find("libQt"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("caldrengui"), std::string::npos) << r.err;
}

}  // namespace
