// Case tables and expected files of the tests.
//
// A case table is a text file of rows, one a line, fields separated by "|". Blank lines and
// lines starting with "#" are skipped. Fields are trimmed; a field in double quotes keeps
// its blanks. Escapes: \t \r \n \\ \| \xHH, and {n*text} stands for text repeated n times.
// Expected report and data files hold exact bytes and are compared byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace casefiles {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const std::size_t star = s.find('*', i), close = s.find('}', i);
        if (s[i] == '{' && star < close && close != std::string::npos && star > i + 1 &&
            s.find_first_not_of("0123456789", i + 1) == star) {
            const std::string unit = Unescape(s.substr(star + 1, close - star - 1));
            for (int n = std::stoi(s.substr(i + 1)); n > 0; --n) out += unit;
            i = close;
        } else if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
        } else if (const char e = s[++i]; e == 'x') {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : e;
        }
    }
    return out;
}

struct Row {
    std::string where;  // "file:line", for failure messages
    std::vector<std::string> fields;
    const std::string& operator[](std::size_t i) const { return fields.at(i); }
    std::size_t size() const { return fields.size(); }
};

inline std::string Field(std::string raw, char separator) {
    if (separator == '\t') return raw;
    raw.erase(0, raw.find_first_not_of(" \t"));
    raw.erase(raw.find_last_not_of(" \t") + 1);
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
        raw = raw.substr(1, raw.size() - 2);
    return Unescape(raw);
}

// The rows of a case table; a missing or empty table fails the test. With the separator
// '\t', the fields as written (neither trimmed nor unescaped).
inline std::vector<Row> Rows(const std::string& path, char separator = '|') {
    std::istringstream in(ReadFile(path));
    std::vector<Row> rows;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        rows.push_back(Row{path.substr(path.find_last_of('/') + 1) + ":" + std::to_string(n), {}});
        std::size_t start = 0;
        for (std::size_t bar = line.find(separator); bar != std::string::npos;
             bar = line.find(separator, bar + 1)) {
            if (bar > 0 && line[bar - 1] == '\\') continue;
            rows.back().fields.push_back(Field(line.substr(start, bar - start), separator));
            start = bar + 1;
        }
        rows.back().fields.push_back(Field(line.substr(start), separator));
    }
    EXPECT_FALSE(rows.empty()) << "no rows in " << path;
    return rows;
}

// Byte-for-byte comparison that names the first differing line.
inline ::testing::AssertionResult SameBytes(const std::string& expected,
                                            const std::string& actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const std::size_t start = expected.rfind('\n', at - (at > 0)) + 1;
    auto lineAt = [start](const std::string& s) {
        return "[" + s.substr(start, s.find('\r', start) - start) + "]";
    };
    return ::testing::AssertionFailure()
           << "first difference at line "
           << std::count(expected.begin(), expected.begin() + start, '\n') + 1 << "\n expected "
           << lineAt(expected) << "\n actual   " << lineAt(actual);
}

}  // namespace casefiles
