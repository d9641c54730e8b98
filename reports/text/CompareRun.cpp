// CompareRun: "/compare" on the command line and the comparison written to the batch
// output file.
#include "CompareRun.h"

#include <activation/Com.h>

#include <cctype>
#include <new>

namespace Reports {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool SameNoCase(const std::string& line, std::size_t pos, std::string_view word) {
    if (pos + word.size() > line.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(line[pos + i]) != word[i]) return false;
    return true;
}

std::size_t FindNoCase(const std::string& line, std::string_view word, std::size_t from) {
    for (std::size_t p = from; p + word.size() <= line.size(); ++p)
        if (SameNoCase(line, p, word)) return p;
    return std::string::npos;
}

// A switch word at `pos`: the word, then a blank or the end of the line.
bool SwitchAt(const std::string& line, std::size_t pos) {
    for (std::string_view w : {"/input", "/output", "/silent", "/compare"}) {
        if (SameNoCase(line, pos, w) &&
            (pos + w.size() == line.size() || line[pos + w.size()] == ' '))
            return true;
    }
    return false;
}

// "/compare" where a word begins (start of line or after a blank), followed by a blank or
// the end of the line.
std::size_t FindCompare(const std::string& line) {
    for (std::size_t p = FindNoCase(line, "/compare", 0); p != std::string::npos;
         p = FindNoCase(line, "/compare", p + 1)) {
        const bool begins = p == 0 || line[p - 1] == ' ';
        const std::size_t end = p + 8;
        if (begins && (end == line.size() || line[end] == ' ')) return p;
    }
    return std::string::npos;
}

}  // namespace

bool HasCompareSwitch(const std::string& commandLine) {
    return FindCompare(commandLine) != std::string::npos;
}

std::vector<std::string> GetCompareFileNames(const std::string& commandLine) {
    std::vector<std::string> names;
    const std::size_t sw = FindCompare(commandLine);
    if (sw == std::string::npos) return names;
    std::size_t pos = sw + 8 + 1;  // the switch and one separator
    while (pos < commandLine.size()) {
        if (SwitchAt(commandLine, pos)) break;
        const std::size_t ext = FindNoCase(commandLine, ".cld", pos);
        if (ext == std::string::npos) break;
        const std::size_t end = ext + 4;
        names.push_back(commandLine.substr(pos, end - pos));
        if (end >= commandLine.size() || commandLine[end] != ' ') break;
        pos = end + 1;
    }
    return names;
}

CompareRunResult BuildCompareRun(
    const std::vector<std::string>& names,
    const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine) {
    if (names.size() < kCompareMinFiles || names.size() > kCompareMaxFiles)
        throw activation::ComError(5, "CompareRun.RunCompareToFile",
                                   "Choose from two to six data files to compare.");
    std::vector<CompareFile> files;
    for (const std::string& name : names) {
        vesmora::ComPtr<vesmora::_Caldren> calc;
        try {
            calc = newEngine();
        } catch (const activation::ComError& e) {
            CompareFile f;
            f.fileName = name;
            f.failure = "Could not be loaded: " + CompareFailureText(e);
            f.errorNumber = e.Number();
            files.push_back(std::move(f));
            continue;
        }
        files.push_back(LoadCompareFile(std::move(calc), name));
    }
    CompareRunResult result;
    MemorySink sink(result.text);
    FillCompareMonths(files);
    BuildCompareReport(files, sink);
    for (const CompareFile& f : files)
        if (!f.Ok()) result.failures.push_back({f.fileName, f.failure, f.errorNumber});
    return result;
}

CompareRunResult RunCompareToFile(
    const std::vector<std::string>& names, const std::string& outputPath,
    const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine) {
    CompareRunResult result = BuildCompareRun(names, newEngine);
    AppendWholeText(outputPath, result.text);
    return result;
}

}  // namespace Reports
