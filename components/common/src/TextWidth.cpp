#include <common/TextWidth.h>

namespace common {

namespace {
bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t CharCount(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        if (!Continues(c)) ++n;
    return n;
}

std::string_view FirstChars(std::string_view text, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!Continues(text[i])) {
            if (chars == n) return text.substr(0, i);
            ++chars;
        }
    }
    return text;
}

std::vector<std::size_t> CharStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!Continues(text[i]) || starts.empty()) starts.push_back(i);
    return starts;
}

std::size_t CharBoundaryBefore(std::string_view text, std::size_t at) {
    if (at >= text.size()) return text.size();
    while (at > 0 && Continues(text[at])) --at;
    return at;
}

std::string PadTo(std::string_view text, std::size_t width) {
    std::string s(FirstChars(text, width));
    const std::size_t n = CharCount(s);
    if (n < width) s.append(width - n, ' ');
    return s;
}

std::string PadRight(std::string_view text, std::size_t width) {
    const std::size_t n = CharCount(text);
    std::string s(text);
    if (n < width) s.append(width - n, ' ');
    return s;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string RTrim(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

}  // namespace common
