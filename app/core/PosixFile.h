// Small POSIX pieces shared by the data file lock and the batch run's files: an owned
// descriptor, a bounded whole-file read, a whole write, a bounded wait for an flock, and
// whether a name still names an open file. Standard library and POSIX only.
#pragma once

#include <cerrno>
#include <chrono>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

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

// The whole file open as `fd`, read from its start; false (errno EFBIG) when it holds more
// than `limit` bytes, false with errno on a read error.
inline bool ReadAll(int fd, std::size_t limit, std::string& out) {
    out.clear();
    char buf[4096];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buf, sizeof buf, at);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        if (out.size() + static_cast<std::size_t>(n) > limit) {
            errno = EFBIG;
            return false;
        }
        out.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
}

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
// False with errno EWOULDBLOCK when the time ran out, or the error of flock.
inline bool LockWithin(int fd, int op, double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    std::minstd_rand pause(static_cast<unsigned>(::getpid()));
    for (;;) {
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

}  // namespace caldren::posix
