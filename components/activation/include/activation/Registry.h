// The per-user registry of component classes: which library serves which class.
//
// File: $XDG_CONFIG_HOME/Orlenwick/components.reg ($HOME/.config when XDG_CONFIG_HOME is
// unset or not an absolute path; a relative $HOME counts as unset, common/UserFolders.h),
// UTF-8 text, one class per line, LF line ends:
//
//   # Orlenwick component registry: class identifier, ProgID, library (tab-separated)
//   {7571AC88-2EFC-42AC-A02E-16BA434B8697}<TAB>Vesmora.Caldren<TAB>/opt/caldren/libvesmora.so
//
// Lines starting with "#", blank lines and lines without three tab-separated fields are
// ignored (and kept by updates). A file larger than 1 MiB, or a folder, pipe or device in
// its place, is not read: creating an object then fails with error 429 saying why, and an
// update leaves it alone. Class identifiers and ProgIDs match without regard to
// case. An update rewrites the whole file at once (temporary file in the same folder,
// flushed, renamed) under an exclusive lock on "components.reg.lock", so concurrent
// registrations never lose each other's lines and a reader never sees half a file.
//
// Header-only so that a component library can register itself without linking the loader;
// the folder and the atomic write come from the shared rules (libcaldrencommon).
#pragma once

#include <activation/Com.h>

#include <common/AtomicFile.h>
#include <common/UserFolders.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace activation::registry {

struct ClassEntry {
    std::string clsid;
    std::string progId;
    std::string library;
};

inline std::string RegistryFolder() { return common::MakerConfigFolder(); }
inline std::string RegistryPath() { return RegistryFolder() + "/components.reg"; }

inline bool SameName(const std::string& a, const std::string& b) { return SameGuid(a, b); }

// Parses one line; nullopt for comments, blank and malformed lines.
inline std::optional<ClassEntry> ParseLine(const std::string& line) {
    if (line.empty() || line[0] == '#') return std::nullopt;
    const auto t1 = line.find('\t');
    if (t1 == std::string::npos) return std::nullopt;
    const auto t2 = line.find('\t', t1 + 1);
    if (t2 == std::string::npos) return std::nullopt;
    ClassEntry e{line.substr(0, t1), line.substr(t1 + 1, t2 - t1 - 1), line.substr(t2 + 1)};
    if (!e.library.empty() && e.library.back() == '\r') e.library.pop_back();
    if (e.clsid.empty() || e.library.empty()) return std::nullopt;
    return e;
}

inline constexpr std::size_t kMaxRegistryBytes = std::size_t{1024} * 1024;

// The registry's lines. 0, or an errno value when the file cannot be read: EFBIG for a file
// larger than 1 MiB, EINVAL for a folder, pipe or device (never waited for). A missing file
// has no lines.
inline int ReadLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? 0 : errno;
    struct stat st {};
    int result = 0;
    std::string text;
    if (::fstat(fd, &st) != 0)
        result = errno;
    else if (!S_ISREG(st.st_mode))
        result = EINVAL;
    else if (static_cast<std::uint64_t>(st.st_size) > kMaxRegistryBytes)
        result = EFBIG;
    char buf[4096];
    while (result == 0) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) result = errno;
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > kMaxRegistryBytes) result = EFBIG;
    }
    ::close(fd);
    if (result != 0) return result;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return 0;
}

// Why the registry cannot be read, for an error source.
inline std::string ReadProblem(const std::string& path, int err) {
    const std::string why = err == EFBIG    ? "it is larger than 1 MiB"
                            : err == EINVAL ? "it is not a regular file"
                                            : std::strerror(err);
    return "the registry file " + path + " cannot be read: " + why;
}

// The class registered under a class identifier or a ProgID, if any.
// Throws ComError 429 when the registry file cannot be read (ReadLines).
inline std::optional<ClassEntry> Find(const std::string& progIdOrClsid,
                                      const std::string& path = RegistryPath()) {
    std::vector<std::string> lines;
    if (const int err = ReadLines(path, lines); err != 0)
        throw ComError(
            429, "Activation.CreateObject(\"" + progIdOrClsid + "\"): " + ReadProblem(path, err));
    for (const std::string& line : lines) {
        auto e = ParseLine(line);
        if (e && (SameName(e->clsid, progIdOrClsid) ||
                  (!e->progId.empty() && SameName(e->progId, progIdOrClsid))))
            return e;
    }
    return std::nullopt;
}

namespace detail {

inline bool MakeFolders(const std::string& folder) {
    std::string partial;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        partial = folder.substr(0, pos);
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Rewrites the registry: drops every line whose class identifier or ProgID is named in
// `drop`, then appends `add`. Returns 0 or an errno value.
inline int Update(const std::vector<ClassEntry>& add, const std::vector<std::string>& drop) {
    const std::string folder = RegistryFolder();
    const std::string path = RegistryPath();
    if (!MakeFolders(folder)) return errno ? errno : ENOTDIR;

    const std::string lockPath = path + ".lock";
    const int lockFd =
        ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (lockFd < 0) return errno;
    while (::flock(lockFd, LOCK_EX) != 0 && errno == EINTR) {}

    // A registry that cannot be read is left as it is: rewriting it would lose its lines.
    std::vector<std::string> lines;
    int result = ReadLines(path, lines);
    std::string text;
    bool hasHeader = false;
    for (const std::string& line : lines) {
        if (line.rfind("# Orlenwick component registry", 0) == 0) hasHeader = true;
        if (auto e = ParseLine(line)) {
            const bool dropped = std::any_of(drop.begin(), drop.end(), [&](const std::string& d) {
                return SameName(e->clsid, d) || (!e->progId.empty() && SameName(e->progId, d));
            });
            if (dropped) continue;
        }
        text += line + "\n";
    }
    if (!hasHeader)
        text =
            "# Orlenwick component registry: class identifier, ProgID, library (tab-separated)\n" +
            text;
    for (const ClassEntry& e : add) text += e.clsid + "\t" + e.progId + "\t" + e.library + "\n";

    if (result == 0) result = common::WriteFileAtomically(path, text, nullptr, 0644);
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
    return result;
}

}  // namespace detail

// Registers the classes (replacing earlier lines for the same identifiers or ProgIDs).
// Returns 0 or an errno value.
inline int Register(const std::vector<ClassEntry>& classes) {
    std::vector<std::string> drop;
    for (const ClassEntry& e : classes) {
        drop.push_back(e.clsid);
        if (!e.progId.empty()) drop.push_back(e.progId);
    }
    return detail::Update(classes, drop);
}

// Removes the lines of the named classes (class identifiers or ProgIDs). Returns 0 or an
// errno value; a missing registry is nothing to remove.
inline int Unregister(const std::vector<std::string>& names) {
    struct stat st {};
    if (::stat(RegistryPath().c_str(), &st) != 0 && errno == ENOENT) return 0;
    return detail::Update({}, names);
}

}  // namespace activation::registry
