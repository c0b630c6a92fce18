#include "core/visible_text.h"

#include <cstdio>

#include "platform/case_fold.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

std::string Escaped(char32_t c) {
    switch (c) {
        case U'\r':
            return "\\r";
        case U'\n':
            return "\\n";
        case U'\t':
            return "\\t";
        default:
            break;
    }
    char escape[12];
    if (c < 0x80)
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
    else
        std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
    return escape;
}

}  // namespace

bool IsHiddenControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

std::string EscapeControls(std::string_view utf8) {
    std::string visible;
    visible.reserve(utf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = p + utf8.size();
    while (p != end) {
        const auto* const start = p;
        const char32_t c = DecodeUtf8(p, end);
        if (c < StrayByte && IsHiddenControl(c))
            visible += Escaped(c);
        else
            visible.append(reinterpret_cast<const char*>(start), static_cast<size_t>(p - start));
    }
    return visible;
}

std::string EscapeControls(std::string_view text, const TextCodec& codec) {
    if (codec.IsUtf8())
        return EscapeControls(text);
    return codec.FromUtf8(EscapeControls(codec.ToUtf8(text)));
}

}  // namespace tomlet
