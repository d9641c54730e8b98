#include "DataFileLock.h"

#include "PosixFile.h"

#include <activation/Com.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace caldren::DataFileLock {

namespace {

using activation::ComError;

constexpr const char* kFirstLine = "CaldrenCalc lock file";
// A lock record is a few hundred bytes; only this much of a lock file is ever read.
constexpr std::size_t kMaxLockBytes = 4096;

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
    return std::string(kFirstLine) + "\r\nUser=" + h.user + "\r\nHost=" + h.host +
           "\r\nPid=" + std::to_string(h.pid) + "\r\nSince=" + std::to_string(h.since) +
           "\r\nBoot=" + h.boot + "\r\nStart=" + h.start + "\r\n";
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
        if (key == "User")
            h.user = value;
        else if (key == "Host")
            h.host = value;
        else if (key == "Boot")
            h.boot = value;
        else if (key == "Start")
            h.start = value;
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

bool Writable(int fd) { return (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDWR; }

void Unlock(int fd) { ::flock(fd, LOCK_UN); }

// What one lock file says, without changing anything: Free when it is missing, Held when it
// is no regular file or cannot be read.
Status QueryOne(const std::string& path) {
    posix::UniqueFd fd(
        ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) return Status{errno == ENOENT ? State::Free : State::Held, Holder{}, std::nullopt};
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return Status{State::Held, Holder{}, std::nullopt};
    // Changes are made under the flock; a batch run may hold it for its whole run, and its
    // runs never change the holder, so the file is read in any case.
    const bool locked = posix::LockWithin(fd.Get(), LOCK_SH, 0.2);
    Status status = Read(fd.Get());
    if (locked) Unlock(fd.Get());
    return status;
}

}  // namespace

std::string LockFilePath(const std::string& dataFile) {
    // The resolved path itself, not the first of its hard links: a save splits them.
    const std::string name = posix::Resolved(dataFile);
    const std::size_t slash = name.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    return folder + "." + (slash == std::string::npos ? name : name.substr(slash + 1)) + ".lock";
}

Status OtherNames(const std::string& dataFile, bool& elsewhere) {
    const std::string self = posix::Resolved(dataFile);
    std::vector<std::string> names;
    elsewhere = posix::NamesInFolder(self, names) == EMLINK;
    for (const std::string& name : names) {
        if (name == self) continue;
        Status status = QueryOne(LockFilePath(name));
        if (status.state == State::Held) return status;
    }
    return Status{};
}

Holder Self() {
    static const Holder host = [] {
        Holder h;
        h.user = UserName();
        h.host = HostName();
        h.boot = FirstLineOf("/proc/sys/kernel/random/boot_id");
        return h;
    }();
    Holder h = host;
    h.pid = static_cast<long>(::getpid());  // not kept: a forked process is another holder
    h.start = StartTimeOf(h.pid);
    h.since = static_cast<std::int64_t>(std::time(nullptr));
    return h;
}

Status Acquire(const std::string& dataFile, double waitSeconds) {
    const std::string path = LockFilePath(dataFile);
    posix::UniqueFd fd = Open(dataFile);
    if (!fd) {
        if (errno == EINVAL)
            Fail(75, "cannot open the lock file", path, "it is not a regular file");
        FailErrno(errno, "cannot open the lock file", path);
    }
    // Busy for that long: batch runs are working on the file.
    if (!posix::LockWithin(fd.Get(), LOCK_EX, waitSeconds))
        return Status{State::Held, Holder{}, std::nullopt};
    Status found = Read(fd.Get());
    if (found.state == State::Held || found.state == State::Ours) {
        Unlock(fd.Get());
        return found;
    }
    // The same file under another name (a hard link) held by someone else.
    bool elsewhere = false;
    if (Status other = OtherNames(dataFile, elsewhere); other.state == State::Held) {
        Unlock(fd.Get());
        return other;
    }
    const Holder me = Self();
    const std::string text = Format(me);
    if (!Writable(fd.Get()) || ::ftruncate(fd.Get(), 0) != 0 ||
        ::lseek(fd.Get(), 0, SEEK_SET) != 0 || !posix::WriteAll(fd.Get(), text)) {
        const int err = Writable(fd.Get()) ? errno : EACCES;
        // Best effort: an empty lock file names no holder.
        [[maybe_unused]] const int cleared = ::ftruncate(fd.Get(), 0);
        Unlock(fd.Get());
        FailErrno(err, "cannot write the lock file", path);
    }
    Unlock(fd.Get());
    std::optional<Holder> previous;
    if (found.state == State::Stale) previous = found.holder;
    Status taken{State::Ours, me, previous};
    taken.garbage = found.garbage;
    return taken;
}

void Release(const std::string& dataFile) {
    const std::string path = LockFilePath(dataFile);
    posix::UniqueFd fd(
        ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (!fd || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    if (!posix::LockWithin(fd.Get(), LOCK_EX, 5.0)) return;
    if (Read(fd.Get()).state == State::Ours) Clear(fd.Get());
    Unlock(fd.Get());
}

Status Query(const std::string& dataFile) {
    Status status = QueryOne(LockFilePath(dataFile));
    if (status.state == State::Held) return status;
    bool elsewhere = false;
    const Status other = OtherNames(dataFile, elsewhere);
    return other.state == State::Held ? other : status;
}

posix::UniqueFd Open(const std::string& dataFile) {
    const std::string path = LockFilePath(dataFile);
    constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    posix::UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | flags, 0666));
    if (!fd && (errno == EACCES || errno == EPERM || errno == EROFS))
        fd.Reset(::open(path.c_str(), O_RDONLY | flags));
    if (!fd) return fd;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        fd.Reset();
        errno = EINVAL;
    }
    return fd;
}

Status Read(int fd) {
    // A bounded prefix: a lock file is never read further than a record can reach.
    std::string text(kMaxLockBytes + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n =
            ::pread(fd, text.data() + got, text.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Status{State::Held, Holder{}, std::nullopt};
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    if (text.empty()) return Status{State::Free, Holder{}, std::nullopt};
    const std::optional<Holder> holder = got > kMaxLockBytes ? std::nullopt : Parse(text);
    if (!holder) {
        // Not a lock record (another program's text, a report written into it): nobody
        // holds the file through it.
        Status garbage{State::Stale, Holder{}, std::nullopt};
        garbage.garbage = true;
        return garbage;
    }
    if (SameProcess(*holder, Self())) return Status{State::Ours, *holder, std::nullopt};
    return Status{Alive(*holder) ? State::Held : State::Stale, *holder, std::nullopt};
}

void Clear(int fd) {
    while (::ftruncate(fd, 0) != 0 && errno == EINTR) {}
}

std::string Describe(const Holder& holder) {
    if (holder.user.empty() && holder.host.empty())
        return "another program (the lock file is busy or unreadable)";
    char when[32] = "an unknown time";
    const std::time_t t = static_cast<std::time_t>(holder.since);
    std::tm tm{};
    if (holder.since > 0 && ::localtime_r(&t, &tm))
        std::strftime(when, sizeof when, "%m/%d/%Y %H:%M:%S", &tm);
    return holder.user + " on " + holder.host + " (process " + std::to_string(holder.pid) +
           ") since " + when;
}

}  // namespace caldren::DataFileLock
