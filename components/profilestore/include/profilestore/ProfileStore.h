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
//
// Errors are thrown as activation::ComError with a platform file-error number
// (53 file not found, 70 permission denied, 75 path/file access error, 76 path not found,
// 61 disk full) and the store's location as source.
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
    // private-profile reader does), or defaultValue when the entry is absent.
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
