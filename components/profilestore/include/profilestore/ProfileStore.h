// A private-profile text file: "[section]" lines and "key=value" lines, CR LF line ends.
//
// Sections and keys are matched without regard to case; keys and values are kept exactly
// as given (blanks, hyphens, commas, slashes). The file is written as UTF-8; a file that
// is not valid UTF-8 is read as Windows-1252. A missing file reads as no entries.
//
// Writing is crash-safe: the whole file is replaced at once (a temporary file in the same
// folder, flushed and renamed over the old one). Outside a batch each WriteEntry replaces
// the file at once; between BeginBatch and CommitBatch the writes are collected and the
// file is replaced only by CommitBatch, so an abandoned batch leaves the file untouched.
// Reads within a batch read the file once and see it as it stood then (plus the batch's own
// writes); a data file is read that way, with a batch that writes nothing.
//
// Errors are thrown as activation::ComError with a platform file-error number
// (53 file not found, 70 permission denied, 75 path/file access error, 76 path not found,
// 61 disk full, 52 no file name) and the store's location as source, followed by what
// failed and why ("ProfileStore.CommitBatch: cannot write \"/d/acme.cld\": Permission denied").
// A file larger than 1 MiB, a folder or a pipe in place of the file is error 75.
//
// A value is everything after the first "=" of its line and may itself hold "=" signs.
// What would break the file's structure is refused with error 5 before anything is
// written: a line break (CR or LF) in a section, key or value, "=" in a key, "]" in a
// section name, an empty section or key, text that is not UTF-8. Values never come back
// with line breaks: CR LF, CR and LF all end a line when reading.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace profilestore {

class ProfileStore {
public:
    ProfileStore();
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    void SetFileName(const std::string& path);
    const std::string& FileName() const;

    void WriteEntry(const std::string& section, const std::string& key, const std::string& value);
    std::string ReadEntry(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const;
    // The stored value read as a decimal whole number (leading digits, as the platform's
    // private-profile reader does), or defaultValue when the entry is absent. Leading
    // blanks and one sign are allowed; no digits reads as 0; a value beyond the 32-bit
    // range is clamped to INT32_MIN or INT32_MAX (never wrapped).
    std::int32_t ReadNumber(const std::string& section, const std::string& key,
                            std::int32_t defaultValue) const;

    void BeginBatch();
    void CommitBatch();   // replaces the file with every write of the batch
    void AbandonBatch();  // forgets the batch's writes; the file stays as it was

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace profilestore
