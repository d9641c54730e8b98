// The batch run and the batch comparison end to end, through the built program in a program
// folder of its own (the program, the engine library and DEMO.CLD copied into a temporary
// folder), with a temporary HOME and no display variables at all. Reports are compared
// byte for byte with tests/batch/data; every failing run must leave the client folder
// exactly as it was (its lock files aside) and write one log line.
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using batchtest::ReadFile;
using batchtest::RunOptions;
using batchtest::RunResult;
using batchtest::WriteFile;

std::string Data(const std::string& name) { return ReadFile(fs::path(CALDREN_BATCH_DATA) / name); }

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
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
        std::string pattern = (fs::temp_directory_path() / "cldbatch-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        program = root / "program";
        home = root / "home";
        work = root / "Client Work";
        for (const fs::path& p : {program, home, work}) fs::create_directories(p);
        fs::copy_file(CALDREN_PROGRAM, program / "CaldrenCalc");
        fs::copy_file(CALDREN_ENGINE, program / fs::path(CALDREN_ENGINE).filename());
        fs::copy_file(CALDREN_DEMO_SOURCE, program / "DEMO.CLD");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::string W(const std::string& name) const { return (work / name).string(); }

    RunResult Run(std::vector<std::string> args, const RunOptions& options = {}, const fs::path& exe = {}) {
        for (std::string& a : args) a = Replace(a, "{w}", work.string());
        return batchtest::RunProgram(exe.empty() ? program / "CaldrenCalc" : exe, args, home, root, options);
    }

    // What lies in the client folder: each name with its bytes (or its kind); the lock
    // files that runs leave beside data files are no change.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(work)) {
            const std::string name = e.path().filename().string();
            struct stat st {};
            ::lstat(e.path().c_str(), &st);
            if (name[0] == '.' && name.size() > 5 && name.substr(name.size() - 5) == ".lock") continue;
            files[name] = S_ISLNK(st.st_mode) ? "-> " + fs::read_symlink(e.path()).string()
                          : !S_ISREG(st.st_mode) ? "mode " + std::to_string(st.st_mode)
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
            if (kind == "garbage") WriteFile(path, std::string("\x7f" "ELF\x01\x02 no analysis \r\n[x]\r\n=\r\n", 31));
            if (kind == "badentry") WriteFile(path, Replace(old, "Net Sales=7,900,000", "Net Sales=abc"));
            if (kind == "zero") WriteFile(path, Replace(old, "Net Sales=7,900,000", "Net Sales=0"));
            if (kind == "cut") WriteFile(path, old.substr(0, old.find("End-of-Year Months")));
            // 1 MiB ending in LF: it reads, but saved with CR LF it would be larger than 1 MiB.
            if (kind == "full") WriteFile(path, old + ";" + std::string((1 << 20) - old.size() - 2, 'x') + "\n");
            if (kind == "huge") {
                WriteFile(path, "");
                fs::resize_file(path, 3ull << 30);
            }
            if (kind == "dir") fs::create_directory(path);
            if (kind == "fifo") ::mkfifo(path.c_str(), 0644);
            if (kind == "link") fs::create_symlink(other, path);
            if (kind == "hard") fs::create_hard_link(W(other), path);
            if (kind == "held")
                WriteFile(W("." + name + ".lock"), "CaldrenCalc lock file\r\nUser=tester\r\nHost=" + HostName() +
                                                       "\r\nPid=" + std::to_string(::getpid()) + "\r\nSince=0\r\n");
        }
    }

    fs::path root, program, home, work;
};

// ---- runs that succeed -------------------------------------------------------------------

struct GoodCase {
    const char* name;
    std::string folders;  // Prepare steps
    std::string data;     // the data file, in the client folder
    std::vector<std::string> args;
    std::string report;   // the report file, in the client folder
};

std::ostream& operator<<(std::ostream& os, const GoodCase& c) { return os << c.name; }

class Succeeds : public Batch, public ::testing::WithParamInterface<GoodCase> {};

TEST_P(Succeeds, AppendsBothReportsWholeAndSavesTheVersion) {
    const GoodCase& c = GetParam();
    Prepare(c.folders);
    const fs::path data = work / c.data, folder = data.parent_path();
    const std::string name = data.filename().string();
    WriteFile(data, Replace(ReadFile(CALDREN_DEMO_SOURCE), "Version=CLD2026.12", "Version=CLD2014.10"));
    WriteFile(work / c.report, "earlier text\r\n");
    // A temporary file that a killed save left is removed; a link of that name is not.
    WriteFile(folder / ("." + name + ".0123abcd~"), "left");
    fs::create_symlink(data, folder / ("." + name + ".0123abce~"));
    // The windows that had the file open are gone (no such process): the lock is stale.
    WriteFile(folder / ("." + name + ".lock"),
              "CaldrenCalc lock file\r\nUser=ann\r\nHost=" + HostName() + "\r\nPid=999999999\r\n");
    for (const std::string& reports : {Data("demo_reports.txt"), Data("demo_reports.txt") + Data("demo_reports.txt")}) {
        const RunResult r = Run(c.args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out + r.err, "");
        EXPECT_EQ(ReadFile(work / c.report), "earlier text\r\n" + reports);
    }
    EXPECT_EQ(ReadFile(data), ReadFile(CALDREN_DEMO_SOURCE));  // saved with this version
    EXPECT_FALSE(fs::exists(folder / ("." + name + ".0123abcd~")));
    EXPECT_TRUE(fs::is_symlink(folder / ("." + name + ".0123abce~")));
    EXPECT_EQ(ReadFile(folder / ("." + name + ".lock")), "");
    // Nothing else is written: no log, no settings file.
    EXPECT_FALSE(fs::exists(program / "CLD_err.log"));
    EXPECT_FALSE(fs::exists(program / "CaldrenCalc.ini"));
    EXPECT_FALSE(fs::exists(home / "config"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Succeeds,
    ::testing::Values(
        GoodCase{"Plain", "", "a.cld", {"/input", "{w}/a.cld", "/output", "{w}/r.txt", "/silent"}, "r.txt"},
        GoodCase{"SilentFirst", "", "a.cld", {"/silent", "/input", "{w}/a.cld", "/output", "{w}/r.txt"}, "r.txt"},
        GoodCase{"OutputFirstCapitals", "", "A.Cld", {"/OUTPUT", "{w}/R.TXT", "/Silent", "/INPUT", "{w}/A.Cld"}, "R.TXT"},
        // As the shell passes unquoted names: words of one name are separate arguments.
        GoodCase{"NamesWithBlanks", "", "Harlow Castings 2026.CLD",
                 {"/input", "{w}/Harlow", "Castings", "2026.CLD", "/output", "{w}/Harlow", "Reports.Txt", "/silent"},
                 "Harlow Reports.Txt"},
        // An extension ends a name only where a word ends.
        GoodCase{"ExtensionsInsideWords", "dir:clients.cld-2025 dir:out.txtfiles", "clients.cld-2025/acme.cld",
                 {"/input", "{w}/clients.cld-2025/acme.cld", "/output", "{w}/out.txtfiles/r.txt", "/silent"},
                 "out.txtfiles/r.txt"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Batch, ComparisonsAppendInYearEndOrderAndChangeNoDataFile) {
    Prepare("data:acme2002.cld=acme2002.cld data:acme2003.CLD=acme2003.CLD demo:DEMO.CLD text:c.txt");
    const auto before = Snapshot();
    RunResult r = Run({"/compare", "{w}/acme2003.CLD", "{w}/acme2002.cld", "/output", "{w}/c.txt", "/silent"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    r = Run({"/SILENT", "/output", "{w}/c.txt", "/Compare", "{w}/DEMO.CLD", "{w}/acme2003.CLD", "{w}/acme2002.cld"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(ReadFile(W("c.txt")), "kept\r\n" + ReadFile(fs::path(CALDREN_REPORTS_DATA) / "compare_two.txt") +
                                        Data("compare_three_years.txt"));
    auto after = Snapshot();
    after["c.txt"] = before.at("c.txt");
    EXPECT_EQ(after, before);
}

TEST_F(Batch, ComparisonKeepsAColumnForEachFailedFile) {
    Prepare("data:acme2002.cld=acme2002.cld data:acme2003.CLD=acme2003.CLD garbage:garbage.cld");
    const RunResult r = Run({"/compare", "{w}/acme2002.cld", "{w}/missing.cld", "{w}/acme2003.CLD", "{w}/garbage.cld",
                             "/output", "{w}/f.txt", "/silent"});
    EXPECT_EQ(r.exitCode, 1);
    const std::string text = ReadFile(W("f.txt"));
    for (const std::string& line :
         {std::string(37, ' ') + "    acme2002      acme2003       missing\r\n", std::string(37, ' ') + "     garbage\r\n",
          std::string("  Available Working Capital              $250,000      $250,000        Failed\r\n"),
          std::string("  Cost Of Operations                     $840,000      $840,000    See Note 1\r\n"),
          "  Note 1: " + W("missing.cld") + ":", "  Note 2: " + W("garbage.cld") + ":", std::string("the file does not exist")})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_NE(r.err.find("error 53: " + W("missing.cld") + ": Could not be loaded: the file does not exist"),
              std::string::npos) << r.err;
    EXPECT_NE(ReadFile(program / "CLD_err.log").find("(file \"" + W("garbage.cld") + "\")"), std::string::npos);
}

// ---- runs that fail: the folder as it was, the error on stderr and in the log --------------

struct BadCase {
    const char* name;
    std::string setUp;
    std::vector<std::string> args;
    int exitCode;
    std::string errHas;  // a piece of stderr ("{w}" for the folder)
    std::string logHas;  // a piece of the log line; empty: no log line
    RunOptions options = {};
};

std::ostream& operator<<(std::ostream& os, const BadCase& c) { return os << c.name; }

class Fails : public Batch, public ::testing::WithParamInterface<BadCase> {};

TEST_P(Fails, LeavesEveryFileAsItWas) {
    const BadCase& c = GetParam();
    Prepare(c.setUp);
    const auto before = Snapshot();
    const RunResult r = Run(c.args, c.options);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_NE(r.err.find(Replace(c.errHas, "{w}", work.string())), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(), before);
    const std::string log = ReadFile(program / "CLD_err.log");
    if (c.logHas.empty()) EXPECT_EQ(log, "");
    else EXPECT_NE(log.find(Replace(c.logHas, "{w}", work.string())), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), c.logHas.empty() ? 0 : 1) << log;
}

const std::vector<std::string> kRun{"/input", "{w}/a.cld", "/output", "{w}/r.txt", "/silent"};

INSTANTIATE_TEST_SUITE_P(
    Rows, Fails,
    ::testing::Values(
        BadCase{"MissingInput", "", kRun, 1, "{w}/a.cld does not exist.", "Error 53 | File not found (file \"{w}/a.cld\")"},
        BadCase{"FolderAsInput", "dir:a.cld", kRun, 1, "it is a folder", "Error 75 | Path/File access error (file"},
        BadCase{"PipeAsInput", "fifo:a.cld", kRun, 1, "\"{w}/a.cld\": it is not a regular file", "Error 75"},
        BadCase{"DeviceAsInput", "link:a.cld=/dev/zero", kRun, 1, "it is not a regular file", "Error 75"},
        BadCase{"ThreeGigabyteInput", "huge:a.cld", kRun, 1, "larger than 1 MiB (3221225472 bytes)", "Error 75"},
        BadCase{"GarbageInput", "garbage:a.cld", kRun, 1, "Caldren.Fetch",
                "File Operations.Open File <- Caldren.Load <- Caldren.Fetch"},
        BadCase{"RefusedEntry", "badentry:a.cld text:r.txt", kRun, 1, "  Entry:    Net Sales\n",
                "Error 10002 | This item needs to be a number. (file \"{w}/a.cld\", entry \"Net Sales\")"},
        BadCase{"CutInput", "cut:a.cld", kRun, 1, "error 13: Type mismatch", "Error 13"},
        BadCase{"CannotBeCalculated", "zero:a.cld text:r.txt", kRun, 1, "error 11: Division by zero",
                "Error 11 | Division by zero (file \"{w}/a.cld\") | RunReports <- Caldren.Calculate <- c_calcs.CalcOpCyclePeak"},
        BadCase{"SaveFailsReportTakenBack", "full:a.cld text:r.txt", kRun, 1, "would be larger than 1 MiB",
                "Error 75 | Path/File access error (file \"{w}/a.cld\") | Save <- Caldren.ApplyEdit"},
        BadCase{"MissingOutputFolder", "old:a.cld", {"/input", "{w}/a.cld", "/output", "{w}/no/r.txt", "/silent"}, 1,
                "error 76: Path not found", "Error 76 | Path not found (file \"{w}/no/r.txt\")"},
        BadCase{"FolderAsOutput", "old:a.cld dir:r.txt", kRun, 1, "it is a folder", "Error 75"},
        BadCase{"PipeAsOutput", "old:a.cld fifo:r.txt", kRun, 1, "it is not a regular file", "Error 75"},
        BadCase{"DeviceAsOutput", "old:a.cld link:r.txt=/dev/null", kRun, 1, "it is not a regular file", "Error 75"},
        BadCase{"DanglingLinkAsOutput", "old:a.cld link:r.txt=gone.txt", kRun, 1, "a link to a file that does not exist",
                "Error 75"},
        BadCase{"OutputIsTheDataFile", "old:a.cld hard:r.txt=a.cld", kRun, 1, "it is the data file {w}/a.cld", "Error 75"},
        BadCase{"ComparedFileAsOutput", "old:a.cld demo:b.cld hard:r.txt=b.cld",
                {"/compare", "{w}/a.cld", "{w}/b.cld", "/output", "{w}/r.txt", "/silent"}, 1,
                "it is the data file {w}/b.cld", "Error 75"},
        BadCase{"WindowsHaveTheFileOpen", "old:a.cld held:a.cld", kRun, 1,
                "it is open in CaldrenCalc by tester on " + HostName() + " (process " + std::to_string(::getpid()), "Error 70"},
        BadCase{"FileSizeLimit", "old:a.cld text:r.txt", kRun, 1, "error 61: Disk full", "Error 61", {{}, 4096, false}},
        BadCase{"OutputOnAClosedPipe", "", kRun, 1, "", "Error 53", {{}, -1, true}},
        BadCase{"ExtensionBeforeTheName", "old:a.cld",
                {"/output", "{w}/x.cld", "{w}/r.txt", "/input", "{w}/a.cld", "/silent"}, 1,
                "MainMod.GetCommandLineFilename", "Error 5"},
        BadCase{"UnknownSwitch", "old:a.cld", {"/input", "{w}/a.cld", "/output", "{w}/r.txt", "/silnt"}, 2,
                "CaldrenCalc: /silnt is not a switch of this program.\nUsage:", ""},
        BadCase{"NotAvailableYet", "old:a.cld", {"/check", "{w}/a.cld"}, 2, "/check is not available yet.", ""},
        BadCase{"NoOutput", "old:a.cld", {"/input", "{w}/a.cld", "/silent"}, 2, "/output <report file>.txt is missing", ""},
        BadCase{"NoInputExtension", "old:a.cld", {"/input", "{w}/a.dat", "/output", "{w}/r.txt", "/silent"}, 2,
                "/input <data file>.cld is missing", ""},
        BadCase{"CompareOneFile", "old:a.cld", {"/compare", "{w}/a.cld", "/output", "{w}/r.txt", "/silent"}, 2,
                "/compare needs two to six data files", ""}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- the program itself ---------------------------------------------------------------------

TEST_F(Batch, HelpAndInteractiveStartsWithoutWindows) {
    RunResult r = Run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("CaldrenCalc /input <data file>.cld /output <report file>.txt /silent"), std::string::npos);
    r = Run({"{w}/acme.cld"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("there is no display"), std::string::npos) << r.err;
    r = Run({}, {{"QT_QPA_PLATFORM=offscreen"}});  // this program folder holds no window library
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("libcaldrengui.so"), std::string::npos) << r.err;
}

TEST_F(Batch, TheBuiltProgramLoadsNeitherQtNorTheWindowLibrary) {
    // From the build's own program folder, where the window library may lie beside it.
    Prepare("demo:a.cld");
    const RunResult r = Run(kRun, {{"LD_DEBUG=files"}}, CALDREN_PROGRAM);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("libvesmora.so"), std::string::npos) << "the engine is loaded";
    EXPECT_EQ(r.err.find("libQt"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("caldrengui"), std::string::npos) << r.err;
    FILE* pipe = ::popen(("ldd '" CALDREN_PROGRAM "' 2>&1"), "r");
    std::string linked;
    char buf[512];
    while (pipe && std::fgets(buf, sizeof buf, pipe)) linked += buf;
    EXPECT_EQ(pipe ? ::pclose(pipe) : -1, 0) << linked;
    for (const char* library : {"Qt", "libX", "wayland"}) EXPECT_EQ(linked.find(library), std::string::npos) << linked;
}

}  // namespace
