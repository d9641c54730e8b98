#include "AppendRecord.h"

#include <activation/Com.h>
#include <common/FileKind.h>

#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace caldren {

namespace {

using activation::ComError;

constexpr const char* kFirstLine = "CaldrenCalc append record";
constexpr std::size_t kMaxRecordBytes = 4096;

[[noreturn]] void Fail(long number, const std::string& path, const std::string& reason) {
    throw ComError(number, "BatchFiles.ReportFile: its append record \"" + path + "\": " + reason,
                   activation::StandardErrorText(number));
}

struct Entry {
    unsigned long long dev = 0, ino = 0, offset = 0, length = 0;
    std::string pid, data;
};

std::optional<Entry> Parse(const std::string& text) {
    if (text.rfind(std::string(kFirstLine) + "\n", 0) != 0) return std::nullopt;
    Entry e;
    int numbers = 0;
    for (std::size_t pos = text.find('\n') + 1; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) return std::nullopt;  // cut short
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        unsigned long long* field = key == "Device"   ? &e.dev
                                    : key == "Inode"  ? &e.ino
                                    : key == "Offset" ? &e.offset
                                    : key == "Length" ? &e.length
                                                      : nullptr;
        if (field) {
            char* rest = nullptr;
            *field = std::strtoull(value.c_str(), &rest, 10);
            if (value.empty() || *rest != '\0') return std::nullopt;
            ++numbers;
        } else if (key == "Pid") {
            e.pid = value;
        } else if (key == "Data") {
            e.data = value;
        }
    }
    if (numbers != 4) return std::nullopt;
    return e;
}

bool Flush(int fd) {
    while (::fdatasync(fd) != 0)
        if (errno != EINTR) return false;
    return true;
}

void FlushFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    posix::UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) (void)::fsync(dir.Get());
}

}  // namespace

AppendRecord::AppendRecord(std::string reportPath) : m_report(std::move(reportPath)) {}

std::string AppendRecord::PathFor(const std::string& reportPath) {
    std::string name;
    if (posix::OneName(reportPath, name) != 0) return {};
    const std::size_t slash = name.rfind('/');
    return name.substr(0, slash + 1) + "." + name.substr(slash + 1) + ".append";
}

bool AppendRecord::Open() {
    m_path = PathFor(m_report);
    if (m_path.empty())
        throw ComError(75,
                       "BatchFiles.ReportFile: \"" + m_report +
                           "\": it has other names (hard links) in other folders, so the "
                           "record of its appends cannot be found by every name",
                       activation::StandardErrorText(75));
    constexpr int flags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    bool created = false;
    int fd = ::open(m_path.c_str(), flags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(m_path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        created = fd >= 0;
        if (fd < 0 && errno == EEXIST) fd = ::open(m_path.c_str(), flags);
    }
    if (fd < 0) {
        if (errno == ELOOP) Fail(75, m_path, "it is a link");
        if (errno == EISDIR) Fail(75, m_path, "it is a folder");
        return false;  // a folder this user may not write: no record
    }
    m_fd.Reset(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_fd.Reset();
        Fail(75, m_path, std::string("it is ") + common::FileKind(st.st_mode));
    }
    if (created) FlushFolder(m_path);
    return true;
}

std::string AppendRecord::Recover(int reportFd) {
    if (!m_fd) return {};
    std::string text(kMaxRecordBytes, '\0');
    const ssize_t n = ::pread(m_fd.Get(), text.data(), text.size(), 0);
    if (n <= 0) return {};
    text.resize(static_cast<std::size_t>(n));
    const std::optional<Entry> e = Parse(text);
    struct stat st {};
    std::string note;
    if (e && ::fstat(reportFd, &st) == 0 && e->dev == static_cast<unsigned long long>(st.st_dev) &&
        e->ino == static_cast<unsigned long long>(st.st_ino) &&
        static_cast<unsigned long long>(st.st_size) > e->offset) {
        const unsigned long long tail = static_cast<unsigned long long>(st.st_size) - e->offset;
        const std::string who =
            "a run (process " + e->pid + (e->data.empty() ? "" : ", data file " + e->data) + ")";
        if (tail > e->length) {
            note = who + " that did not finish had appended from byte " +
                   std::to_string(e->offset) + ", but the file has grown past its " +
                   std::to_string(e->length) + " bytes since; nothing was cut";
        } else if (::ftruncate(reportFd, static_cast<off_t>(e->offset)) == 0 && Flush(reportFd)) {
            note = "the last " + std::to_string(tail) + " bytes were removed: " + who +
                   " did not finish and left them" +
                   (tail < e->length ? " cut off" : " without saving its data file");
        } else {
            throw ComError(activation::FileErrorNumber(errno),
                           "BatchFiles.ReportFile: \"" + m_report +
                               "\": the tail a run that did not finish left cannot be removed: " +
                               std::strerror(errno),
                           activation::StandardErrorText(activation::FileErrorNumber(errno)));
        }
    }
    Clear();
    return note;
}

void AppendRecord::Begin(int reportFd, off_t offset, std::size_t length,
                         const std::string& dataFile) {
    if (!m_fd) return;
    struct stat st {};
    if (::fstat(reportFd, &st) != 0)
        Fail(activation::FileErrorNumber(errno), m_path, std::strerror(errno));
    std::string text = std::string(kFirstLine) + "\nDevice=" + std::to_string(st.st_dev) +
                       "\nInode=" + std::to_string(st.st_ino) +
                       "\nOffset=" + std::to_string(offset) + "\nLength=" + std::to_string(length) +
                       "\nPid=" + std::to_string(::getpid()) + "\n";
    if (!dataFile.empty() && dataFile.find('\n') == std::string::npos)
        text += "Data=" + dataFile + "\n";
    if (::ftruncate(m_fd.Get(), 0) != 0 ||
        ::pwrite(m_fd.Get(), text.data(), text.size(), 0) != static_cast<ssize_t>(text.size()) ||
        !Flush(m_fd.Get())) {
        const int err = errno;
        Clear();
        Fail(activation::FileErrorNumber(err), m_path, std::strerror(err));
    }
}

void AppendRecord::Clear() noexcept {
    if (!m_fd) return;
    while (::ftruncate(m_fd.Get(), 0) != 0 && errno == EINTR) {}
    (void)Flush(m_fd.Get());
}

void AppendRecord::Remove() noexcept {
    if (!m_fd) return;
    if (posix::StillNames(m_path, m_fd.Get())) ::unlink(m_path.c_str());
    m_fd.Reset();
}

}  // namespace caldren
