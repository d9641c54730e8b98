#include "BatchFailure.h"

#include "RunState.h"

namespace caldren {

namespace {

constexpr const char* kGenericDescription = "Application-defined or object-defined error";

}  // namespace

std::string ErrorText(long number, const std::string& description, const std::string& location) {
    if (!description.empty() && description != kDescription && description != kGenericDescription)
        return description;
    if (std::string standard = activation::StandardErrorText(number); !standard.empty())
        return standard;
    std::string innermost = location.substr(location.rfind('\r') + 1);
    if (innermost.find(' ') != std::string::npos) return innermost;
    return description.empty() ? kGenericDescription : description;
}

std::string RefusedEntry(const std::string& location) {
    // The engine names the entry it refused as a link of the source chain:
    // 'Entry "Net Sales=abc"' or 'Entry "Average Cycle" (missing)'.
    const std::string mark = "\rEntry \"";
    const std::size_t at = location.find(mark);
    if (at == std::string::npos) return {};
    const std::size_t begin = at + mark.size();
    const std::size_t end = location.find_first_of("=\"\r", begin);
    return location.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string LogDescription(const BatchFailure& f) {
    std::string text = ErrorText(f.number, f.description, f.location);
    if (f.file.empty()) return text;
    text += " (file \"" + f.file + "\"";
    if (!f.entry.empty()) text += ", entry \"" + f.entry + "\"";
    return text + ")";
}

}  // namespace caldren
