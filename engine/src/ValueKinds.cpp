#include "ValueKinds.h"

namespace vesmora::vk {

// ---- booleans -------------------------------------------------------------------------

bool ParseBoolean(std::string_view text, bool& out) {
    const std::string_view s = Trim(text);
    auto equalsNoCase = [&](std::string_view word) {
        if (s.size() != word.size()) return false;
        for (std::size_t i = 0; i < s.size(); ++i) {
            char c = s[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != word[i]) return false;
        }
        return true;
    };
    if (equalsNoCase("true")) {
        out = true;
        return true;
    }
    if (equalsNoCase("false")) {
        out = false;
        return true;
    }
    Amount ignored = 0;
    if (ParseAmount(s, ignored) == Conv::NotANumber) return false;
    out = s.find_first_of("123456789") != std::string_view::npos;
    return true;
}

}  // namespace vesmora::vk
