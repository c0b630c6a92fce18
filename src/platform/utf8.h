#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What both halves of the text codec share: UTF-8 checks and the fallback for unknown code pages.
namespace tomlet::utf8 {

inline constexpr std::string_view Replacement = "\xEF\xBF\xBD";  // U+FFFD
inline constexpr char ReplacementByte = '?';

// Length of the well-formed UTF-8 sequence at the start of text; 0 when it is not one.
std::size_t SequenceLength(std::string_view text);
bool IsWellFormed(std::string_view text);
// The text with every byte that does not start a well-formed sequence replaced by U+FFFD.
std::string Sanitised(std::string_view text);

// A code page the system does not know: ASCII kept, every other byte U+FFFD.
std::string AsciiToUtf8(std::string_view bytes);
// ASCII kept, every other character '?'.
std::string Utf8ToAscii(std::string_view utf8);
bool IsAscii(std::string_view text);

}  // namespace tomlet::utf8
