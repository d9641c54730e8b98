// Text encodings of profile files: UTF-8 validation and the Windows-1252 reading of files
// made on older systems.
#pragma once

#include <string>
#include <string_view>

namespace profilestore::encoding {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The bytes read as Windows-1252, as UTF-8. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number.
std::string Windows1252ToUtf8(std::string_view bytes);

// Folds a UTF-8 text for matching without regard to case: ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic capitals become small letters; all else is kept.
std::string FoldCase(std::string_view utf8);

}  // namespace profilestore::encoding
