// Helpers of the component tests: temporary folders, whole-file reads and writes, the
// environment pinned per test, and running a piece of code as an unprivileged user (the
// tests may run as root, for whom file permissions do not apply).
#pragma once

#include <activation/Com.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include <filesystem>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write test file " + path);
}

// A fresh folder under $TMPDIR (or /tmp), open to every user, removed at the end.
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
        // Make everything removable again, whatever a test did to the permissions.
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0777);
        }
        ::chmod(m_path.c_str(), 0777);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old) ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else ::unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// What a piece of code run in a child process threw: nothing, or a ComError.
struct ChildOutcome {
    bool threw = false;
    long number = 0;
    std::string source;
    std::string result;  // what the code returned when it did not throw
};

// Runs `body` in a child process as user and group "nobody" (65534) when the tests run as
// root, else as the current user. The child reports through a pipe.
inline ChildOutcome RunUnprivileged(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        std::string report;
        if (::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
        }
        try {
            report = "R";
            report += body();
        } catch (const activation::ComError& e) {
            report = "E";
            report += std::to_string(e.Number());
            report += '\n';
            report += e.Source();
        } catch (const std::exception& e) {
            report = "X";
            report += e.what();
        }
        const char* p = report.data();
        std::size_t left = report.size();
        while (left > 0) {
            const ssize_t w = ::write(fds[1], p, left);
            if (w <= 0) break;
            p += w;
            left -= static_cast<std::size_t>(w);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string report;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0) report.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || report.empty())
        throw std::runtime_error("child failed, status " + std::to_string(status) + ": " + report);
    ChildOutcome out;
    if (report[0] == 'R') {
        out.result = report.substr(1);
    } else if (report[0] == 'E') {
        out.threw = true;
        const auto nl = report.find('\n');
        out.number = std::stol(report.substr(1, nl - 1));
        out.source = report.substr(nl + 1);
    } else {
        throw std::runtime_error("child threw: " + report.substr(1));
    }
    return out;
}

}  // namespace testsupport
