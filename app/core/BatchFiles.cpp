#include "BatchFiles.h"

#include "DataFileLock.h"
#include "StopSignals.h"

#include <activation/Com.h>
#include <common/AtomicFile.h>
#include <common/FileKind.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace caldren::BatchFiles {

namespace {

using activation::ComError;
using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(long number, const char* op, const std::string& path,
                       const std::string& reason) {
    throw ComError(number, std::string("BatchFiles.") + op + ": \"" + path + "\": " + reason,
                   activation::StandardErrorText(number));
}

[[noreturn]] void FailErrno(int err, const char* op, const std::string& path) {
    Fail(err == ENOENT && std::strcmp(op, "DataFile") == 0 ? 53 : activation::FileErrorNumber(err),
         op, path, std::strerror(err));
}

// Refuses anything but a regular file, naming what it is: a folder, pipe, device, socket.
void RequireRegular(const struct stat& st, const char* op, const std::string& path) {
    if (!S_ISREG(st.st_mode))
        Fail(75, op, path, std::string("it is ") + common::FileKind(st.st_mode));
}

// The name of a file that only the program keeps beside the files it works on.
bool IsOwnHelperFile(const std::string& name, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    return name.size() > n + 1 && name[0] == '.' && name.compare(name.size() - n, n, suffix) == 0;
}

void RequireSmall(const struct stat& st, const std::string& path) {
    if (static_cast<unsigned long long>(st.st_size) > kMaxDataFileBytes)
        Fail(75, "DataFile", path,
             "the file is larger than 1 MiB (" + std::to_string(st.st_size) + " bytes)");
}

Clock::duration Duration(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

double SecondsLeft(Clock::time_point deadline) {
    return std::chrono::duration<double>(deadline - Clock::now()).count();
}

std::string Seconds(double s) { return std::to_string(static_cast<int>(s)) + " seconds"; }

}  // namespace

// ---- DataFile ------------------------------------------------------------------------

DataFile::DataFile(const std::string& path, const Notes& notes, double windowsWaitSeconds) {
    constexpr const char* op = "DataFile";
    struct stat st {};
    // Kind and size by name: a pipe or device is never opened.
    if (::stat(path.c_str(), &st) != 0) FailErrno(errno, op, path);
    RequireRegular(st, op, path);
    RequireSmall(st, path);
    bool elsewhere = false;
    DataFileLock::Status other = DataFileLock::OtherNames(path, elsewhere);
    if (elsewhere)
        Fail(75, op, path,
             "it has other names (hard links) in other folders, whose lock files cannot be "
             "found");

    m_lock = DataFileLock::Open(path);
    if (!m_lock && (errno == EINVAL || errno == ELOOP))
        Fail(75, op, path,
             "its lock file " + DataFileLock::LockFilePath(path) + " is not a regular file");
    // Without a lock file (a folder where it cannot be created) the run goes on unlocked:
    // its save needs to write in that folder too, and says so if it cannot.
    const Clock::time_point deadline = Clock::now() + Duration(kLockWaitSeconds);
    const Clock::time_point windowsDeadline = Clock::now() + Duration(windowsWaitSeconds);
    while (m_lock) {
        if (!posix::LockWithin(m_lock.Get(), LOCK_EX, SecondsLeft(deadline))) {
            if (errno == EWOULDBLOCK)
                Fail(70, op, path,
                     "another run has kept it locked for " + Seconds(kLockWaitSeconds));
            break;  // a file system without locks: the run goes on unlocked
        }
        DataFileLock::Status lock = DataFileLock::Read(m_lock.Get());
        if (lock.state == DataFileLock::State::Stale) {
            DataFileLock::Clear(m_lock.Get());
            if (lock.garbage && notes)
                notes(70, "The lock file held no lock record; it was taken over and emptied",
                      DataFileLock::LockFilePath(path));
        }
        // The windows may hold the same file under another name (a hard link).
        if (lock.state != DataFileLock::State::Held && other.state == DataFileLock::State::Held)
            lock = other;
        if (lock.state != DataFileLock::State::Held) break;
        // The windows have the file open: let go, so that they can give it back.
        ::flock(m_lock.Get(), LOCK_UN);
        if (Clock::now() >= windowsDeadline)
            Fail(70, op, path,
                 "it is open in CaldrenCalc by " + DataFileLock::Describe(lock.holder));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        StopSignals::ThrowIfNoted();
        other = DataFileLock::OtherNames(path, elsewhere);
    }
    RemoveLeftTemporaryFiles(path);
    // The file as it stands now, under the lock.
    if (::stat(path.c_str(), &st) != 0) FailErrno(errno, op, path);
    RequireRegular(st, op, path);
    RequireSmall(st, path);
    m_id = FileId{st.st_dev, st.st_ino};
}

// ---- ReportFile ----------------------------------------------------------------------

ReportFile::ReportFile(std::string path, Notes notes)
    : m_path(std::move(path)), m_notes(std::move(notes)), m_record(m_path) {
    constexpr const char* op = "ReportFile";
    // The files the program keeps beside data files and report files are never reports.
    // Every name of the file in its folder counts (a hard link of a lock file is one).
    std::vector<std::string> names;
    (void)posix::NamesInFolder(posix::Resolved(m_path), names);
    for (const std::string& each : names) {
        const std::string name = each.substr(each.rfind('/') + 1);
        if (IsOwnHelperFile(name, ".lock"))
            Fail(75, op, m_path, "it is the lock file of a data file");
        if (IsOwnHelperFile(name, ".append"))
            Fail(75, op, m_path, "it is the append record of a report file");
    }
    struct stat st {};
    if (::lstat(m_path.c_str(), &st) != 0) {
        if (errno != ENOENT) FailErrno(errno, op, m_path);
        // A new file: its folder must be there.
        const std::size_t slash = m_path.rfind('/');
        const std::string folder = slash == std::string::npos ? "."
                                   : slash == 0               ? "/"
                                                              : m_path.substr(0, slash);
        struct stat dir {};
        if (::stat(folder.c_str(), &dir) != 0) FailErrno(errno, op, m_path);
        if (!S_ISDIR(dir.st_mode)) FailErrno(ENOTDIR, op, m_path);
        return;
    }
    if (S_ISLNK(st.st_mode) && ::stat(m_path.c_str(), &st) != 0) {
        if (errno == ENOENT) Fail(75, op, m_path, "it is a link to a file that does not exist");
        FailErrno(errno, op, m_path);
    }
    RequireRegular(st, op, m_path);
}

void ReportFile::RefuseSameAs(const FileId& id, const std::string& name) const {
    struct stat st {};
    if (::stat(m_path.c_str(), &st) == 0 && FileId{st.st_dev, st.st_ino} == id)
        Fail(75, "ReportFile", m_path, "it is the data file " + name);
}

ReportFile::~ReportFile() { TakeBack(); }

void ReportFile::Append(std::string_view text, const std::string& dataFile) {
    constexpr const char* op = "ReportFile";
    TakeBack();
    m_fd.Reset();
    const Clock::time_point deadline = Clock::now() + Duration(kLockWaitSeconds);
    bool created = false;
    for (;;) {
        created = false;
        int fd = ::open(m_path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(m_path.c_str(),
                        O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK |
                            O_NOCTTY | O_CLOEXEC,
                        0666);
            if (fd < 0 && errno == EEXIST) {
                struct stat st {};
                if (::lstat(m_path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
                    Fail(75, op, m_path, "it is a link to a file that does not exist");
                continue;  // another run created it just now
            }
            created = fd >= 0;
        }
        if (fd < 0) FailErrno(errno, op, m_path);
        m_fd.Reset(fd);
        struct stat st {};
        if (::fstat(fd, &st) != 0) FailErrno(errno, op, m_path);
        RequireRegular(st, op, m_path);
        if (!posix::LockWithin(fd, LOCK_EX, SecondsLeft(deadline)) && errno == EWOULDBLOCK)
            Fail(70, op, m_path, "another run has kept it locked for " + Seconds(kLockWaitSeconds));
        // A failed run that had created the file removed it meanwhile: start again.
        if (!posix::StillNames(m_path, fd)) continue;
        break;
    }
    // What a run that died in its append left is taken back before anything is added.
    m_record.Open();
    if (const std::string note = m_record.Recover(m_fd.Get()); !note.empty() && m_notes)
        m_notes(57, "The report file was set right: " + note, m_path);
    struct stat st {};
    if (::fstat(m_fd.Get(), &st) != 0) FailErrno(errno, op, m_path);
    m_created = created && st.st_size == 0;
    m_record.Begin(m_fd.Get(), st.st_size, text.size(), dataFile);
    m_before = st.st_size;
    bool written = false;
    {
        // No stop signal cuts the write short; one that comes meanwhile is noted after it.
        const StopSignals::Hold hold;
        written = posix::WriteAll(m_fd.Get(), text) && ::fdatasync(m_fd.Get()) == 0;
    }
    if (!written) {
        const int err = errno;
        TakeBack();
        FailErrno(err, op, m_path);
    }
    try {
        StopSignals::ThrowIfNoted();
    } catch (...) {
        TakeBack();
        throw;
    }
}

void ReportFile::Commit() noexcept {
    if (m_before < 0) return;
    m_record.Clear();
    m_before = -1;
    m_created = false;
}

void ReportFile::TakeBack() noexcept {
    if (!m_fd || m_before < 0) return;
    while (::ftruncate(m_fd.Get(), m_before) != 0 && errno == EINTR) {}
    while (::fdatasync(m_fd.Get()) != 0 && errno == EINTR) {}
    m_record.Clear();
    if (m_created && posix::StillNames(m_path, m_fd.Get())) {
        ::unlink(m_path.c_str());
        m_record.Remove();
    }
    m_before = -1;
    m_created = false;
}

// ---- temporary files -----------------------------------------------------------------

void RemoveLeftTemporaryFiles(const std::string& dataFile) {
    // The save writes beside the file a link names, so its leftovers lie there.
    common::RemoveStrayTemporaryFiles(posix::Resolved(dataFile));
}

}  // namespace caldren::BatchFiles
