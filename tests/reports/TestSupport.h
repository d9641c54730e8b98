// Helpers shared by the report tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string Expected(const std::string& name) {
    const auto p = std::filesystem::path(CALDREN_REPORTS_DATA) / name;
    EXPECT_TRUE(std::filesystem::exists(p)) << p;
    return ReadFile(p);
}

// Byte-for-byte comparison that names the first differing line.
inline ::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    size_t line = 1, start = 0, i = 0;
    for (; i < expected.size() && i < actual.size() && expected[i] == actual[i]; ++i)
        if (expected[i] == '\n') {
            ++line;
            start = i + 1;
        }
    auto lineAt = [&](const std::string& s) {
        size_t e = s.find("\r\n", start);
        std::string l = s.substr(start, e == std::string::npos ? std::string::npos : e - start);
        return "[" + l + "]";
    };
    return ::testing::AssertionFailure()
           << "first difference at line " << line << ", column " << (i - start) << "\n expected "
           << lineAt(expected) << "\n actual   " << lineAt(actual) << "\n(sizes " << expected.size()
           << " / " << actual.size() << ")";
}

// A fresh temporary folder, removed at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "reports-XXXXXX").string();
        char* made = ::mkdtemp(tmpl.data());
        if (made == nullptr) throw std::runtime_error("mkdtemp failed");
        m_path = made;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace testsupport
