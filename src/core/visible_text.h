#pragma once

#include <string>
#include <string_view>

namespace tomlet {

class TextCodec;

// A catalogue may come from anywhere, and its texts are shown where they could pass for the
// program's own: in a question, in a hint, on a terminal. The characters that could forge a line
// there, send a terminal an escape or reorder what is shown around them are made visible.

// The C0 and C1 controls and DEL, the line and paragraph separators (U+2028, U+2029) and the
// bidirectional controls (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069).
bool IsHiddenControl(char32_t c);

// The UTF-8 text with each of those characters escaped: "\r", "\n", "\t", "\x1B" below U+0080,
// "\u0085", "\u2028", "\u202E" above. Bytes that are not UTF-8 pass as they are.
std::string EscapeControls(std::string_view utf8);
// The same for a text in a code page (the escapes are ASCII, which every code page holds); a
// byte the code page does not define comes back as '?'.
std::string EscapeControls(std::string_view text, const TextCodec& codec);

}  // namespace tomlet
