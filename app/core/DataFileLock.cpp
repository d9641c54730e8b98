#include "DataFileLock.h"

#include "PosixFile.h"

#include <activation/Com.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace caldren::DataFileLock {

namespace {

using activation::ComError;

constexpr const char* kFirstLine = "CaldrenCalc lock file";
constexpr std::size_t kMaxLockBytes = 4096;
// A lock file that does not read as one (its writer may still be writing it) counts as
// held while it is this young, and as stale afterwards.
constexpr std::time_t kUnreadableGraceSeconds = 10;
constexpr int kAttempts = 50;

[[noreturn]] void Fail(long number, const std::string& what, const std::string& path,
                       const std::string& reason) {
    throw ComError(number, "DataFileLock.Acquire: " + what + " \"" + path + "\": " + reason,
                   activation::StandardErrorText(number));
}

[[noreturn]] void FailErrno(int err, const std::string& what, const std::string& path) {
    if (err == ELOOP) Fail(75, what, path, "a link lies in its place");
    Fail(activation::FileErrorNumber(err), what, path, std::strerror(err));
}

std::string FirstLineOf(const char* file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// Field 22 of /proc/<pid>/stat: the start time after boot, in clock ticks.
std::string StartTimeOf(long pid) {
    const std::string stat = FirstLineOf(("/proc/" + std::to_string(pid) + "/stat").c_str());
    std::size_t at = stat.rfind(')');
    if (at == std::string::npos) return {};
    for (int field = 2; field < 22 && at != std::string::npos; ++field) at = stat.find(' ', at + 1);
    if (at == std::string::npos) return {};
    return stat.substr(at + 1, stat.find(' ', at + 1) - at - 1);
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "localhost";
    return name;
}

std::string UserName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    return "uid " + std::to_string(::geteuid());
}

std::string Format(const Holder& h) {
    return std::string(kFirstLine) + "\r\nUser=" + h.user + "\r\nHost=" + h.host + "\r\nPid=" +
           std::to_string(h.pid) + "\r\nSince=" + std::to_string(h.since) + "\r\nBoot=" + h.boot +
           "\r\nStart=" + h.start + "\r\n";
}

std::optional<Holder> Parse(const std::string& text) {
    Holder h;
    bool first = true;
    bool hasPid = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (first) {
            if (line != kFirstLine) return std::nullopt;
            first = false;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        char* rest = nullptr;
        if (key == "User") h.user = value;
        else if (key == "Host") h.host = value;
        else if (key == "Boot") h.boot = value;
        else if (key == "Start") h.start = value;
        else if (key == "Pid") {
            h.pid = std::strtol(value.c_str(), &rest, 10);
            hasPid = rest && *rest == '\0' && h.pid > 0;
        } else if (key == "Since") {
            h.since = std::strtoll(value.c_str(), &rest, 10);
        }
    }
    if (first || !hasPid) return std::nullopt;
    return h;
}

bool SameProcess(const Holder& a, const Holder& b) {
    return a.pid == b.pid && a.host == b.host && a.boot == b.boot && a.start == b.start;
}

bool Alive(const Holder& h) {
    const Holder me = Self();
    if (h.host != me.host) return true;  // another host: this one cannot tell
    if (!h.boot.empty() && !me.boot.empty() && h.boot != me.boot) return false;
    if (::kill(static_cast<pid_t>(h.pid), 0) != 0 && errno == ESRCH) return false;
    const std::string start = StartTimeOf(h.pid);
    return h.start.empty() || start.empty() || start == h.start;
}

// What an open lock file says: Ours, Held or Stale.
Status Examine(int fd, const struct stat& st) {
    std::string text;
    const std::optional<Holder> holder =
        posix::ReadAll(fd, kMaxLockBytes, text) ? Parse(text) : std::nullopt;
    if (!holder) {
        const bool young = std::time(nullptr) - st.st_mtime < kUnreadableGraceSeconds;
        return Status{young ? State::Held : State::Stale, Holder{}, std::nullopt};
    }
    if (SameProcess(*holder, Self())) return Status{State::Ours, *holder, std::nullopt};
    return Status{Alive(*holder) ? State::Held : State::Stale, *holder, std::nullopt};
}

}  // namespace

std::string LockFilePath(const std::string& dataFile) {
    const std::size_t slash = dataFile.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : dataFile.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? dataFile : dataFile.substr(slash + 1);
    return folder + "." + name + ".lock";
}

Holder Self() {
    static const Holder process = [] {
        Holder h;
        h.user = UserName();
        h.host = HostName();
        h.pid = static_cast<long>(::getpid());
        h.boot = FirstLineOf("/proc/sys/kernel/random/boot_id");
        h.start = StartTimeOf(h.pid);
        return h;
    }();
    Holder h = process;
    h.since = static_cast<std::int64_t>(std::time(nullptr));
    return h;
}

Status Acquire(const std::string& dataFile) {
    const std::string path = LockFilePath(dataFile);
    const Holder me = Self();
    const std::string text = Format(me);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        posix::UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644));
        if (fd) {
            // Readers wait for the flock, so they never see the file half written.
            ::flock(fd.Get(), LOCK_EX);
            if (!posix::WriteAll(fd.Get(), text)) {
                const int err = errno;
                ::unlink(path.c_str());
                FailErrno(err, "cannot write the lock file", path);
            }
            return Status{State::Ours, me, std::nullopt};
        }
        if (errno != EEXIST) FailErrno(errno, "cannot create the lock file", path);

        bool writable = true;
        fd.Reset(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        if (!fd && (errno == EACCES || errno == EPERM)) {
            writable = false;
            fd.Reset(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        }
        if (!fd) {
            if (errno == ENOENT) continue;  // released meanwhile
            FailErrno(errno, "cannot read the lock file", path);
        }
        struct stat st {};
        if (::fstat(fd.Get(), &st) != 0) FailErrno(errno, "cannot read the lock file", path);
        if (!S_ISREG(st.st_mode)) Fail(75, "cannot read the lock file", path, "it is not a regular file");
        if (!posix::LockWithin(fd.Get(), writable ? LOCK_EX : LOCK_SH, 2.0))
            return Status{State::Held, Holder{}, std::nullopt};
        if (!posix::StillNames(path, fd.Get())) continue;  // released or taken meanwhile
        Status found = Examine(fd.Get(), st);
        if (found.state != State::Stale) return found;
        if (!writable) {
            // Another user's stale lock that this user may not rewrite: remove it (the
            // folder allows that) and create a new one.
            if (::unlink(path.c_str()) != 0) FailErrno(errno, "cannot take over the lock file", path);
            continue;
        }
        if (::ftruncate(fd.Get(), 0) != 0 || ::lseek(fd.Get(), 0, SEEK_SET) != 0 ||
            !posix::WriteAll(fd.Get(), text))
            FailErrno(errno, "cannot take over the lock file", path);
        return Status{State::Ours, me, found.holder};
    }
    Fail(75, "cannot take the lock file", path, "it keeps changing");
}

void Release(const std::string& dataFile) {
    const std::string path = LockFilePath(dataFile);
    posix::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (!fd || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    if (Examine(fd.Get(), st).state == State::Ours && posix::StillNames(path, fd.Get()))
        ::unlink(path.c_str());
}

Status Query(const std::string& dataFile) {
    const std::string path = LockFilePath(dataFile);
    posix::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) return Status{errno == ENOENT ? State::Free : State::Held, Holder{}, std::nullopt};
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return Status{State::Held, Holder{}, std::nullopt};
    // A writer still filling a new lock file holds an flock on it meanwhile.
    posix::LockWithin(fd.Get(), LOCK_SH, 0.5);
    return Examine(fd.Get(), st);
}

std::string Describe(const Holder& holder) {
    if (holder.user.empty() && holder.host.empty()) return "another program (its lock file cannot be read)";
    char when[32] = "an unknown time";
    const std::time_t t = static_cast<std::time_t>(holder.since);
    std::tm tm{};
    if (holder.since > 0 && ::localtime_r(&t, &tm)) std::strftime(when, sizeof when, "%m/%d/%Y %H:%M:%S", &tm);
    return holder.user + " on " + holder.host + " (process " + std::to_string(holder.pid) + ") since " + when;
}

}  // namespace caldren::DataFileLock
