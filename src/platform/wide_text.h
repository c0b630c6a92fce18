#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows only: texts in a code page and in UTF-16, the form the wide API takes. The text codec
// and the native paths share these.
namespace tomlet {

// Bytes the code page does not assign become U+FFFD.
std::wstring WideFromCodePage(int codePage, std::string_view bytes);
// Nothing when the code page lacks a character (no look-alike letters instead).
std::optional<std::string> CodePageFromWide(int codePage, std::wstring_view wide);
// Every character the code page lacks becomes '?'.
std::string CodePageFromWideReplacing(int codePage, std::wstring_view wide);
// The system's words for its last error (GetLastError), in UTF-8.
std::string LastErrorText();

}  // namespace tomlet
