// The private-profile store: exact file bytes, matching, order, encodings, numbers, bad
// input, limits, file errors, batches (the cases in tests/data/profilestore.cases, each run
// in a child process as an unprivileged user, so that file modes bind), and crash safety.
// Arbitrary file bytes are the fuzz target fuzz_profilestore's.

#include <activation/Com.h>
#include <profilestore/ProfileStore.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>

using activation::ComError;
using profilestore::ProfileStore;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::Unescape;
using testsupport::WriteFile;

namespace {

const std::string kSection = "Caldren Formula Calculation";

struct Case {
    std::string name;
    std::vector<std::vector<std::string>> steps;  // fields of the step lines
};

std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.name; }

std::vector<Case> LoadCases() {
    std::vector<Case> cases;
    for (auto& row : testsupport::Rows(CALDREN_TEST_DATA "/profilestore.cases")) {
        if (row[0] == "case")
            cases.push_back({row[1], {}});
        else
            cases.back().steps.push_back(row);
    }
    return cases;
}

ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Runs the case's steps in `dir`; returns what went wrong (empty when nothing did).
std::string RunCase(const Case& c, const std::string& dir) {
    std::string file = dir + "/acme.cld";
    auto store = std::make_unique<ProfileStore>();
    store->SetFileName(file);
    std::string failures;
    ino_t inode = 0;
    for (std::vector<std::string> step : c.steps) {
        std::string line;
        for (const std::string& f : step) line += f + " ";
        std::string expected;
        if (step.back().rfind("=>", 0) == 0) {
            expected = step.back().substr(step.back().size() > 2 ? 3 : 2);
            step.pop_back();
        }
        const std::string op = step[0];
        const std::string rest = step.size() > 1 ? step[1] : std::string();
        std::vector<std::string> a;
        for (std::size_t i = 1; i < step.size(); ++i) a.push_back(Unescape(step[i]));
        auto check = [&](const std::string& got) {
            if (got != Unescape(expected)) failures += line + ": got [" + got + "]\n";
        };
        try {
            if (op == "file") {
                WriteFile(file, a.empty() ? "" : a[0]);
                inode = Inode(file);
            } else if (op == "oldtime") {  // the times set back to 2001, a clock tick apart
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                const timespec times[2] = {{978307200, 0}, {978307200, 0}};
                ::utimensat(AT_FDCWD, file.c_str(), times, 0);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            } else if (op == "big") {
                WriteFile(file, "[S]\r\nA=" + std::string(std::stoul(rest) - 9, 'x') + "\r\n");
            } else if (op == "mkdir") {
                ::mkdir(file.c_str(), 0755);
            } else if (op == "mkfifo") {
                ::mkfifo(file.c_str(), 0644);
            } else if (op == "symlink") {
                (void)::symlink(rest.c_str(), file.c_str());
            } else if (op == "chmod") {  // "chmod folder => 555" or "chmod file => 444"
                ::chmod(rest == "folder" ? dir.c_str() : file.c_str(),
                        std::stoul(expected, nullptr, 8));
                expected.clear();
            } else if (op == "name") {
                const std::string next = rest.empty() ? rest : dir + "/" + rest;
                store->SetFileName(next);
                file = next;
            } else if (op == "limit") {  // the disk fills up: writes past 1 KiB fail (EFBIG)
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{1024, 1024};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            } else if (op == "write") {
                store->WriteEntry(a[0], a[1], a[2]);
            } else if (op == "many") {
                for (int i = 0; i < std::stoi(rest); ++i)
                    store->WriteEntry("S", std::to_string(i) + " K", std::string(50, 'v'));
            } else if (op == "read") {
                check(store->ReadEntry(a[0], a[1], a[2]));
            } else if (op == "number") {
                check(std::to_string(store->ReadNumber(a[0], a[1], std::stoi(a[2]))));
            } else if (op == "begin" || op == "commit" || op == "abandon") {
                op == "begin"    ? store->BeginBatch()
                : op == "commit" ? store->CommitBatch()
                                 : store->AbandonBatch();
            } else if (op == "reopen") {
                store = std::make_unique<ProfileStore>();
                store->SetFileName(file);
            } else if (op == "expect") {
                check(::access(file.c_str(), F_OK) == 0 ? ReadFile(file) : "-");
            } else if (op == "inode") {
                check(Inode(file) == inode ? "same" : "new");
                inode = Inode(file);
            } else if (op == "mode") {
                struct stat st {};
                ::stat(file.c_str(), &st);
                char mode[8];
                std::snprintf(mode, sizeof mode, "%o", st.st_mode & 0777u);
                check(mode);
            } else if (op == "entries") {
                check(std::to_string(std::distance(std::filesystem::directory_iterator(dir), {})));
            } else {
                failures += line + ": unknown step\n";
            }
            if (expected.rfind('!', 0) == 0) failures += line + ": no error\n";
        } catch (const ComError& e) {
            std::string want = expected.substr(expected.empty() ? 0 : 1);
            if (const auto at = want.find("{file}"); at != std::string::npos)
                want.replace(at, 6, file);
            const std::string got = std::to_string(e.Number()) + " " + e.Source();
            if (expected.rfind('!', 0) != 0 || got.rfind(want, 0) != 0)
                failures += line + ": error " + got + "\n";
        }
    }
    return failures;
}

class ProfileStoreCases : public ::testing::TestWithParam<Case> {};

TEST_P(ProfileStoreCases, Steps) {
    TempDir dir;
    // The child makes the case's folder itself, so that it may change its mode.
    const std::string report = testsupport::RunUnprivileged([&] {
        ::umask(022);
        const std::string caseDir = dir / "case";
        ::mkdir(caseDir.c_str(), 0755);
        return RunCase(GetParam(), caseDir);
    });
    EXPECT_EQ(report, "R");
}

INSTANTIATE_TEST_SUITE_P(File, ProfileStoreCases, ::testing::ValuesIn(LoadCases()),
                         [](const auto& p) { return p.param.name; });

// The file a save of generation g produces: every value is g, so a mixture of two saves
// or a cut-off file shows.
std::string Generation(int g, int entries) {
    std::string text = "[Caldren Formula Calculation]\r\n";
    for (int k = 0; k < entries; ++k)
        text +=
            "Key " + std::to_string(k) + "=" + std::to_string(g) + std::string(g % 7, '.') + "\r\n";
    return text;
}

TEST(ProfileStoreCrash, ProcessKilledWhileSavingNeverLeavesAHalfWrittenFile) {
    TempDir dir;
    const std::string file = dir / "crash.cld";
    constexpr int kEntries = 400;  // about 5 KiB per save
    WriteFile(file, Generation(0, kEntries));
    std::mt19937 rng(7);
    int newest = 0;
    // A loaded machine (or a sanitizer build) saves slowly: until a save has completed, the
    // rounds go on and the kills come later.
    for (int round = 0; round < 25 || (newest == 0 && round < 200); ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                ProfileStore s;
                s.SetFileName(file);
                for (int g = 1;; ++g) {
                    s.BeginBatch();
                    for (int k = 0; k < kEntries; ++k)
                        s.WriteEntry(kSection, "Key " + std::to_string(k),
                                     std::to_string(g) + std::string(g % 7, '.'));
                    s.CommitBatch();
                }
            } catch (...) {}
            ::_exit(1);
        }
        const unsigned span = 30000 + (newest == 0 ? 2000 * round : 0);
        std::this_thread::sleep_for(std::chrono::microseconds(500 + rng() % span));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string bytes = ReadFile(file);
        const std::string prefix = "[Caldren Formula Calculation]\r\nKey 0=";
        ASSERT_EQ(bytes.rfind(prefix, 0), 0u) << "round " << round;
        const int g = std::stoi(bytes.substr(prefix.size()));
        ASSERT_EQ(bytes, Generation(g, kEntries)) << "round " << round << ", generation " << g;
        newest = std::max(newest, g);
    }
    EXPECT_GT(newest, 0);  // saves did complete between the kills
}

}  // namespace
