// Small POSIX pieces shared by the data file lock and the batch run's files: an owned
// descriptor, a bounded whole-file read, a whole write, a bounded wait for an flock (which
// a stop signal ends, StopSignals.h), whether a name still names an open file, and the
// one name of a file whatever name it was reached by. Standard library and POSIX only.
#pragma once

#include "StopSignals.h"

#include <cerrno>
#include <chrono>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace caldren::posix {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    int Get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void Reset(int fd = -1) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

// Writes all of `text` at the file's current end or offset; false with errno otherwise.
inline bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Takes flock(op) on `fd`, trying again every few milliseconds for up to `seconds`.
// False with errno EWOULDBLOCK when the time ran out, or the error of flock. A stop signal
// noted meanwhile ends the wait (StopSignals::ThrowIfNoted).
inline bool LockWithin(int fd, int op, double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    std::minstd_rand pause(static_cast<unsigned>(::getpid()));
    for (;;) {
        StopSignals::ThrowIfNoted();
        if (::flock(fd, op | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return false;
        if (Clock::now() >= deadline) {
            errno = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2 + pause() % 15));
    }
}

// True when `path` (links followed) names the file open as `fd`: false once the file has
// been removed or another file renamed over it.
inline bool StillNames(const std::string& path, int fd) {
    struct stat byName {
    }, byFd{};
    return ::stat(path.c_str(), &byName) == 0 && ::fstat(fd, &byFd) == 0 &&
           byName.st_dev == byFd.st_dev && byName.st_ino == byFd.st_ino;
}

// `path` with every symbolic link resolved (realpath; for a file that does not exist, its
// folder resolved).
std::string Resolved(const std::string& path);

// The file's one name: its resolved path or, when the file has other names (hard links),
// the first of them in byte order among the names in its folder, so that every name leads
// to the same one. 0, or EMLINK when some of its names lie in other folders (the name is
// then the resolved path).
int OneName(const std::string& path, std::string& name);

// The hard links of the file `name` (a resolved path) in its folder, itself included,
// sorted; just `name` when it has no other. EMLINK when some lie in other folders.
int NamesInFolder(const std::string& name, std::vector<std::string>& names);

}  // namespace caldren::posix
