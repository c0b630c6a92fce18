#pragma once

#include <string>
#include <string_view>

namespace tomlet {

// A byte that does not begin a well-formed UTF-8 sequence stands for itself, as a value beyond
// every character, so that it only ever equals the same byte.
inline constexpr char32_t StrayByte = 0x110000;

// The character at p, moving p past it; a stray byte moves p by one.
char32_t DecodeUtf8(const unsigned char*& p, const unsigned char* end);
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(char32_t c);

}  // namespace tomlet
