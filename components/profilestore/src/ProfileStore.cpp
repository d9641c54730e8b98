// The private-profile file.
//
// Reading. The file is read whole (at most kMaxFileBytes) and split into lines at CR LF, CR
// or LF. A UTF-8 byte-order mark at the start is skipped and written back. A line whose
// first non-blank character is "[" names a section: the text up to the first "]" (or the
// line's end), blanks and tabs trimmed. Any other line with an "=" is an entry: the key is
// the text before the first "=", blanks and tabs trimmed; the value is everything after it,
// kept exactly (blanks, further "=" signs, commas, slashes). Every other line (comments,
// blank lines, text without "=", entries before the first section) is kept as it is and
// takes no part in matching. Sections and keys match without regard to case. When a
// section or key occurs twice the first occurrence counts, for reading and for writing.
//
// What cannot be written. A section name with "]", a key with "=", and a section, key or
// value with a line break (CR or LF) would change the file's structure; such a write, an
// empty (after trimming) section or key, and text that is not UTF-8 are refused with error 5
// and nothing is written. A value may hold "=" signs and any other character.
//
// Writing. The new file is built in memory: the value of an existing key is replaced in its
// line; a new key goes after the last entry of its section; a new section goes at the end of
// the file. Every line ends in CR LF. The text is written to a temporary file beside the
// target (".<name>.<random>~"), flushed to disk, given the target's permissions and renamed
// over it, then the folder is flushed. An interrupted write leaves the old file whole; at
// worst a stray temporary file remains beside it. A target that is a symbolic link has its
// link followed, so the linked file is replaced.
//
// Numbers. ReadNumber reads like the platform's private-profile number reader: leading
// blanks and tabs, an optional "+" or "-", then decimal digits up to the first other
// character; no digits reads as 0. A value beyond the 32-bit range is clamped to the
// nearest limit (-2147483648 or 2147483647) rather than wrapped, so an absurd count in a
// file never turns into a small plausible one.

#include <profilestore/ProfileStore.h>

#include <activation/Com.h>
#include <common/AtomicFile.h>

#include "TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profilestore {

namespace {

using activation::ComError;

constexpr std::size_t kMaxFileBytes = std::size_t{1024} * 1024;
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr long kErrInvalidCall = 5;
constexpr long kErrBadFileName = 52;
constexpr long kErrPathFileAccess = 75;

// "ProfileStore.<op>: <what> "<path>": <reason>" — the location and what failed, in the
// source so that it survives the callers re-raising with their own description.
[[noreturn]] void Fail(long number, const char* op, const std::string& what,
                       const std::string& path, const std::string& reason) {
    std::string source = std::string("ProfileStore.") + op + ": " + what;
    if (!path.empty()) source += " \"" + path + "\"";
    if (!reason.empty()) source += ": " + reason;
    throw ComError(number, std::move(source));
}

[[noreturn]] void FailErrno(int err, const char* op, const std::string& what,
                            const std::string& path) {
    Fail(activation::FileErrorNumber(err), op, what, path, std::strerror(err));
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

enum class LineKind { Other, Section, Entry };

struct Line {
    LineKind kind = LineKind::Other;
    std::string text;          // the whole line as it stands in the file (UTF-8, no line end)
    std::string folded;        // section name or key, trimmed and case-folded, for matching
    std::size_t valuePos = 0;  // entries: where the value starts in text
};

struct Document {
    bool hasBom = false;
    std::vector<Line> lines;

    // Index of the first line of the first section named (folded) `section`, or npos.
    std::size_t FindSection(const std::string& section) const {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].kind == LineKind::Section && lines[i].folded == section) return i;
        return npos;
    }

    // Index of the entry `key` in the section beginning at line `sectionLine`, or npos.
    std::size_t FindKey(std::size_t sectionLine, const std::string& key) const {
        for (std::size_t i = sectionLine + 1; i < lines.size(); ++i) {
            if (lines[i].kind == LineKind::Section) break;
            if (lines[i].kind == LineKind::Entry && lines[i].folded == key) return i;
        }
        return npos;
    }

    // The value line of (folded) section and key, through an index built on first use.
    const Line* FindEntry(const std::string& section, const std::string& key) const {
        if (!indexed) {
            index.clear();
            std::unordered_set<std::string> seenSections;
            bool current = false;  // inside the first occurrence of a section
            std::string name;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const Line& line = lines[i];
                if (line.kind == LineKind::Section) {
                    current = seenSections.insert(line.folded).second;
                    name = line.folded;
                } else if (line.kind == LineKind::Entry && current) {
                    index.emplace(name + '\0' + line.folded, i);  // keeps the first
                }
            }
            indexed = true;
        }
        const auto it = index.find(section + '\0' + key);
        return it == index.end() ? nullptr : &lines[it->second];
    }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    mutable std::unordered_map<std::string, std::size_t> index;
    mutable bool indexed = false;
};

Line ParseLine(std::string_view text) {
    Line line;
    line.text.assign(text);
    const std::string_view trimmed = Trim(text);
    if (!trimmed.empty() && trimmed.front() == '[') {
        std::string_view name = trimmed.substr(1);
        if (const auto close = name.find(']'); close != std::string_view::npos)
            name = name.substr(0, close);
        line.kind = LineKind::Section;
        line.folded = encoding::FoldCase(Trim(name));
        return line;
    }
    if (const auto eq = text.find('='); eq != std::string_view::npos) {
        line.kind = LineKind::Entry;
        line.folded = encoding::FoldCase(Trim(text.substr(0, eq)));
        line.valuePos = eq + 1;
    }
    return line;
}

Document Parse(const std::string& bytes) {
    Document doc;
    std::string_view view(bytes);
    if (view.substr(0, kBom.size()) == kBom) {
        doc.hasBom = true;
        view.remove_prefix(kBom.size());
    }
    std::string converted;
    if (!encoding::IsValidUtf8(view)) {
        converted = encoding::Windows1252ToUtf8(view);
        view = converted;
    }
    std::size_t start = 0;
    while (start < view.size()) {
        std::size_t end = view.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = view.size();
        doc.lines.push_back(ParseLine(view.substr(start, end - start)));
        if (end < view.size() && view[end] == '\r' && end + 1 < view.size() &&
            view[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return doc;
}

std::string Serialize(const Document& doc) {
    std::size_t size = doc.hasBom ? kBom.size() : 0;
    for (const Line& line : doc.lines) size += line.text.size() + 2;
    std::string out;
    out.reserve(size);
    if (doc.hasBom) out += kBom;
    for (const Line& line : doc.lines) {
        out += line.text;
        out += "\r\n";
    }
    return out;
}

// Identity of the file as last read, so that a file unchanged since is not read again (by
// the store that read it, nor by the thread's next store on that file: a load and a save).
struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = -1;
    timespec mtime{};
    timespec ctime{};

    static Stamp Of(const struct stat& st) {
        return Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    }
    bool operator==(const Stamp& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
               ctime.tv_nsec == o.ctime.tv_nsec;
    }
    // File times come from a clock that moves in ticks of some milliseconds: a change in the
    // tick the file was read in may leave every field as it was. The identity tells only of
    // a file last changed before the tick it was read in (`readAt`, the same clock).
    bool SettledBefore(const timespec& readAt) const {
        return ctime.tv_sec < readAt.tv_sec ||
               (ctime.tv_sec == readAt.tv_sec && ctime.tv_nsec < readAt.tv_nsec);
    }
};

timespec CoarseNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

void CheckName(const char* op, const char* what, const std::string& text, bool allowBracket,
               bool allowEquals) {
    auto refuse = [&](const char* why) {
        std::string shown = text.size() > 80 ? text.substr(0, 80) + "..." : text;
        for (char& c : shown)
            if (c == '\r' || c == '\n') c = ' ';
        throw ComError(kErrInvalidCall, std::string("ProfileStore.") + op + ": the " + what +
                                            " \"" + shown + "\" " + why);
    };
    if (text.find_first_of("\r\n") != std::string::npos) refuse("holds a line break");
    if (!allowBracket && text.find(']') != std::string::npos) refuse("holds \"]\"");
    if (!allowEquals && text.find('=') != std::string::npos) refuse("holds \"=\"");
    if (!encoding::IsValidUtf8(text)) refuse("is not UTF-8 text");
}

}  // namespace

// The file this thread read last, standing for it while its identity is the one it had.
struct LastRead {
    std::string fileName;
    Stamp stamp;
    timespec readAt{};
    std::shared_ptr<const Document> doc;
    std::shared_ptr<const std::string> raw;
};
thread_local LastRead t_lastRead;

struct ProfileStore::Impl {
    std::string fileName;

    // The file as last read or written (its lines and bytes, shared with the thread's last
    // read and never changed in place), and its identity then.
    mutable bool cached = false;
    mutable Stamp stamp;
    mutable timespec readAt{};  // when `stamp` was taken
    mutable std::shared_ptr<const Document> doc = std::make_shared<const Document>();
    mutable std::shared_ptr<const std::string> raw = std::make_shared<const std::string>();

    bool inBatch = false;
    mutable bool checkedInBatch = false;  // the file was read or confirmed during this batch
    struct Write {
        std::string section, key, value;
    };
    std::vector<Write> pending;

    void RequireName(const char* op) const {
        if (fileName.empty())
            throw ComError(kErrBadFileName,
                           std::string("ProfileStore.") + op + ": no file name has been set");
    }

    // The file's current contents (cached while the file is unchanged). A missing file, or
    // a missing folder, is a file without entries.
    const Document& Current(const char* op) const {
        RequireName(op);
        if (cached) {
            // Within a batch the file is read or confirmed once: its reads see the file as it
            // stood then. Otherwise one stat tells whether it is still the one last read.
            if (inBatch && checkedInBatch) return *doc;
            struct stat st {};
            if (::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                Stamp::Of(st) == stamp && stamp.SettledBefore(readAt)) {
                checkedInBatch = inBatch;
                return *doc;
            }
        } else if (AdoptLastRead()) {
            checkedInBatch = inBatch;
            return *doc;
        }
        int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            const int err = errno;
            if (err == ENOENT || err == ENOTDIR) {
                cached = false;
                doc = std::make_shared<const Document>();
                return *doc;
            }
            FailErrno(err, op, "cannot read", fileName);
        }
        Fd file(fd);
        struct stat st {};
        if (::fstat(fd, &st) != 0) FailErrno(errno, op, "cannot read", fileName);
        if (S_ISDIR(st.st_mode))
            Fail(kErrPathFileAccess, op, "cannot read", fileName, "it is a folder");
        if (!S_ISREG(st.st_mode))
            Fail(kErrPathFileAccess, op, "cannot read", fileName, "it is not a regular file");
        if (static_cast<std::uint64_t>(st.st_size) > kMaxFileBytes)
            Fail(kErrPathFileAccess, op, "cannot read", fileName,
                 "the file is larger than 1 MiB (" + std::to_string(st.st_size) + " bytes)");
        const Stamp now = Stamp::Of(st);
        if (cached && now == stamp && stamp.SettledBefore(readAt)) {
            checkedInBatch = inBatch;
            return *doc;
        }
        const timespec readNow = CoarseNow();

        std::string bytes;
        bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t got = 0;
        for (;;) {
            if (got == bytes.size()) {
                if (bytes.size() > kMaxFileBytes)
                    Fail(kErrPathFileAccess, op, "cannot read", fileName,
                         "the file is larger than 1 MiB");
                bytes.resize(std::min(bytes.size() * 2, kMaxFileBytes + 1));
            }
            const ssize_t r = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (r < 0) {
                if (errno == EINTR) continue;
                FailErrno(errno, op, "cannot read", fileName);
            }
            if (r == 0) break;
            got += static_cast<std::size_t>(r);
        }
        bytes.resize(got);
        doc = std::make_shared<const Document>(Parse(bytes));
        raw = std::make_shared<const std::string>(std::move(bytes));
        stamp = now;
        readAt = readNow;
        cached = true;
        checkedInBatch = inBatch;
        t_lastRead = LastRead{fileName, stamp, readAt, doc, raw};
        return *doc;
    }

    // The file as this thread last read it, when it is still that file.
    bool AdoptLastRead() const {
        const LastRead& last = t_lastRead;
        struct stat st {};
        if (last.fileName.empty() || last.fileName != fileName ||
            ::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
            !(Stamp::Of(st) == last.stamp) || !last.stamp.SettledBefore(last.readAt))
            return false;
        std::tie(doc, raw, stamp, readAt) = std::tie(last.doc, last.raw, last.stamp, last.readAt);
        cached = true;
        return true;
    }

    static void Apply(Document& d, const Write& w) {
        d.indexed = false;
        const std::string section = encoding::FoldCase(Trim(w.section));
        const std::string key = encoding::FoldCase(Trim(w.key));
        std::size_t sectionLine = d.FindSection(section);
        if (sectionLine == Document::npos) {
            d.lines.push_back(ParseLine("[" + w.section + "]"));
            d.lines.push_back(ParseLine(w.key + "=" + w.value));
            return;
        }
        if (const std::size_t k = d.FindKey(sectionLine, key); k != Document::npos) {
            Line& line = d.lines[k];
            line.text.resize(line.valuePos);
            line.text += w.value;
            return;
        }
        // After the section's last entry (or its header), before any trailing blank lines
        // or comments that lead into the next section.
        std::size_t insertAt = sectionLine + 1;
        for (std::size_t i = sectionLine + 1; i < d.lines.size(); ++i) {
            if (d.lines[i].kind == LineKind::Section) break;
            if (d.lines[i].kind == LineKind::Entry) insertAt = i + 1;
        }
        d.lines.insert(d.lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                       ParseLine(w.key + "=" + w.value));
    }

    // Applies the writes to the file as it now stands and replaces the file at once.
    void Replace(const char* op, const std::vector<Write>& writes) {
        Document next = Current(op);
        for (const Write& w : writes) Apply(next, w);
        std::string bytes = Serialize(next);
        if (bytes.size() > kMaxFileBytes)
            Fail(kErrPathFileAccess, op, "cannot write", fileName,
                 "the file would be larger than 1 MiB");
        // A file that already holds exactly these bytes (checked just now by Current) is
        // left as it is: saving an unchanged analysis costs no rewrite and no disk flush.
        // It must still be one the caller could write, so a save into a read-only file
        // fails the same way whatever it holds.
        if (cached && bytes == *raw && ::access(fileName.c_str(), W_OK) == 0) {
            doc = std::make_shared<const Document>(std::move(next));
            return;
        }
        WriteAtomically(op, bytes);
        raw = std::make_shared<const std::string>(std::move(bytes));
        doc = std::make_shared<const Document>(std::move(next));
    }

    void WriteAtomically(const char* op, const std::string& bytes) {
        // The file to replace: a symbolic link is followed so the linked file is replaced.
        std::string target = fileName;
        struct stat st {};
        bool exists = ::lstat(target.c_str(), &st) == 0;
        if (exists && S_ISLNK(st.st_mode)) {
            if (char* real = ::realpath(fileName.c_str(), nullptr)) {
                target = real;
                ::free(real);
                exists = ::stat(target.c_str(), &st) == 0;
            } else if (errno == ENOENT) {
                // A dangling link: the file it names is created.
                char buf[PATH_MAX];
                const ssize_t n = ::readlink(fileName.c_str(), buf, sizeof buf - 1);
                if (n > 0) {
                    std::string link(buf, static_cast<std::size_t>(n));
                    if (link.front() != '/') {
                        const auto slash = fileName.rfind('/');
                        if (slash != std::string::npos) link = fileName.substr(0, slash + 1) + link;
                    }
                    target = link;
                }
                exists = false;
            } else {
                FailErrno(errno, op, "cannot write", fileName);
            }
        }
        if (exists) {
            if (S_ISDIR(st.st_mode))
                Fail(kErrPathFileAccess, op, "cannot write", fileName, "it is a folder");
            if (!S_ISREG(st.st_mode))
                Fail(kErrPathFileAccess, op, "cannot write", fileName, "it is not a regular file");
            if (::access(target.c_str(), W_OK) != 0) FailErrno(errno, op, "cannot write", fileName);
        }

        const auto slash = target.rfind('/');
        if (slash + 1 == target.size())
            Fail(kErrBadFileName, op, "cannot write", fileName, "no file name");
        if (const int err = common::WriteFileAtomically(target, bytes, exists ? &st : nullptr)) {
            if (err == EEXIST)
                Fail(kErrPathFileAccess, op, "cannot write", fileName, "no temporary name");
            FailErrno(err, op, "cannot write", fileName);
        }
        struct stat now {};
        if (::stat(target.c_str(), &now) == 0 && target == fileName) {
            stamp = Stamp::Of(now);
            readAt = CoarseNow();
            cached = true;
        } else {
            cached = false;
        }
    }

    const std::string* Pending(const std::string& section, const std::string& key) const {
        if (pending.empty()) return nullptr;
        const std::string s = encoding::FoldCase(Trim(section));
        const std::string k = encoding::FoldCase(Trim(key));
        for (auto it = pending.rbegin(); it != pending.rend(); ++it)
            if (encoding::FoldCase(Trim(it->section)) == s &&
                encoding::FoldCase(Trim(it->key)) == k)
                return &it->value;
        return nullptr;
    }

    // The stored value, or nullptr when there is none.
    const std::string* Lookup(const char* op, const std::string& section,
                              const std::string& key) const {
        if (const std::string* v = Pending(section, key)) return v;
        const Document& d = Current(op);
        const Line* line =
            d.FindEntry(encoding::FoldCase(Trim(section)), encoding::FoldCase(Trim(key)));
        if (!line) return nullptr;
        lookupValue = line->text.substr(line->valuePos);
        return &lookupValue;
    }
    mutable std::string lookupValue;
};

ProfileStore::ProfileStore() : m_impl(std::make_unique<Impl>()) {}
ProfileStore::~ProfileStore() = default;

void ProfileStore::SetFileName(const std::string& path) {
    if (m_impl->inBatch && !m_impl->pending.empty() && path != m_impl->fileName)
        throw ComError(kErrInvalidCall, "ProfileStore.SetFileName: a batch of writes to \"" +
                                            m_impl->fileName + "\" is still open");
    m_impl->fileName = path;
    m_impl->cached = false;
}

const std::string& ProfileStore::FileName() const { return m_impl->fileName; }

void ProfileStore::WriteEntry(const std::string& section, const std::string& key,
                              const std::string& value) {
    constexpr const char* op = "WriteEntry";
    m_impl->RequireName(op);
    CheckName(op, "section name", section, false, true);
    CheckName(op, "key", key, true, false);
    CheckName(op, ("value of \"" + key + "\"").c_str(), value, true, true);
    if (Trim(section).empty())
        throw ComError(kErrInvalidCall, "ProfileStore.WriteEntry: the section name is empty");
    if (Trim(key).empty())
        throw ComError(kErrInvalidCall, "ProfileStore.WriteEntry: the key is empty");
    if (!Trim(key).empty() && Trim(key).front() == '[')
        throw ComError(kErrInvalidCall,
                       "ProfileStore.WriteEntry: the key \"" + key + "\" begins with \"[\"");
    Impl::Write w{section, key, value};
    if (m_impl->inBatch) {
        m_impl->pending.push_back(std::move(w));
        return;
    }
    m_impl->Replace(op, {w});
}

std::string ProfileStore::ReadEntry(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    const std::string* v = m_impl->Lookup("ReadEntry", section, key);
    return v ? *v : defaultValue;
}

std::int32_t ProfileStore::ReadNumber(const std::string& section, const std::string& key,
                                      std::int32_t defaultValue) const {
    const std::string* v = m_impl->Lookup("ReadNumber", section, key);
    if (!v) return defaultValue;
    std::string_view s(*v);
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;
    for (const char c : s) {
        if (c < '0' || c > '9') break;
        if (magnitude <= kLimit) magnitude = magnitude * 10 + (c - '0');
    }
    if (negative) return magnitude >= kLimit ? INT32_MIN : static_cast<std::int32_t>(-magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(magnitude);
}

void ProfileStore::BeginBatch() {
    m_impl->inBatch = true;
    m_impl->checkedInBatch = false;
}

void ProfileStore::CommitBatch() {
    if (!m_impl->inBatch) return;
    std::vector<Impl::Write> writes = std::move(m_impl->pending);
    m_impl->pending.clear();
    m_impl->inBatch = false;
    if (writes.empty()) return;
    m_impl->Replace("CommitBatch", writes);
}

void ProfileStore::AbandonBatch() {
    m_impl->pending.clear();
    m_impl->inBatch = false;
}

}  // namespace profilestore
