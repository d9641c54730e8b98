// TextWidth: the width of a UTF-8 text in characters, as fixed-width fields and report
// columns count it. A character is a byte that does not continue a sequence (10xxxxxx).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// Number of characters of a UTF-8 text.
std::size_t CharCount(std::string_view text);
// The first n characters of text.
std::string_view FirstChars(std::string_view text, std::size_t n);
// Byte offsets of the characters of a text; a stray continuation byte at the start counts
// as a character of its own.
std::vector<std::size_t> CharStarts(std::string_view text);
// The largest character boundary at or before byte `at` (at most text.size()).
std::size_t CharBoundaryBefore(std::string_view text, std::size_t at);

// text (at most width characters) blank-padded on the right to width characters.
std::string PadTo(std::string_view text, std::size_t width);
// text blank-padded on the right to width characters; a longer text stays whole.
std::string PadRight(std::string_view text, std::size_t width);
// text without trailing blanks.
std::string RTrim(std::string_view text);
// text without blanks and tabs around: how every figure and date text is read.
std::string_view Trim(std::string_view text);

}  // namespace common
