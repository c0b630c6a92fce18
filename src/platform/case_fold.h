#pragma once

#include <string_view>

namespace tomlet {

// The lower-case and the upper-case form of one character (a Unicode code point) by the system's
// locale rules, so that letters beyond ASCII fold too. They do not depend on the process's C
// locale: where that is the plain C or POSIX locale, the rules of the UTF-8 C locale apply.
// Values that are not characters come back unchanged.
char32_t LowerCase(char32_t c);
char32_t UpperCase(char32_t c);

// A byte that does not begin a well-formed UTF-8 sequence decodes as StrayByte plus its value:
// beyond every character, so that it only ever equals the same byte.
inline constexpr char32_t StrayByte = 0x110000;
// Decodes the character at p and moves p past it (past the one byte of a stray byte).
char32_t DecodeUtf8(const unsigned char*& p, const unsigned char* end);

// Orders UTF-8 names as NTFS does: by their upper-cased characters, ties (names that differ only
// in case) by their own bytes.
bool NameLessIgnoringCase(std::string_view left, std::string_view right);

}  // namespace tomlet
