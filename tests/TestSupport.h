// Helpers of the component, batch and command-line tests: whole-file reads and writes, the
// case files under tests/data (rows of tab-separated fields, escaped byte texts; read with
// the case tables' reader, tests/engine/CaseFiles.h), temporary folders, and running a
// piece of code as an unprivileged user (the tests may run as root, whom file modes do not
// bind).
#pragma once

#include "engine/CaseFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

using casefiles::ReadFile;  // tests/engine/CaseFiles.h: whole files, escaped byte texts
using casefiles::Unescape;  // "\r", "\n", "\t", "\\", "\|", "\xHH" (and "{n*text}")

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The rows of a case file: lines of tab-separated fields; "#" lines and empty lines skipped.
inline std::vector<std::vector<std::string>> Rows(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    for (casefiles::Row& row : casefiles::Rows(path, '\t')) rows.push_back(std::move(row.fields));
    return rows;
}

// A fresh folder under $TMPDIR (or /tmp), open to every user, removed at the end whatever
// a test did to the permissions.
class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/cldcomp.XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
        ::chmod(m_path.c_str(), 0777);
    }
    ~TempDir() {
        std::error_code ec;
        ::chmod(m_path.c_str(), 0777);
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0777);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Runs `body` in a child process, as user and group "nobody" when the tests run as root.
// Returns "R" and what the body returned, or "X" and what() of an exception.
inline std::string RunUnprivileged(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        std::string report;
        try {
            report = "R" + body();
        } catch (const std::exception& e) {
            report = std::string("X") + e.what();
        }
        const bool sent =
            ::write(fds[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        ::_exit(sent ? 0 : 4);
    }
    ::close(fds[1]);
    std::string report;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        report.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("child failed: " + report);
    return report;
}

}  // namespace testsupport
