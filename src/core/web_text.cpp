#include "core/web_text.h"

#include <algorithm>

#include "platform/utf8.h"

namespace tomlet::web {

namespace {

void AppendUnicodeEscape(std::string& out, unsigned value) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += Hex[(value >> shift) & 0xF];
}

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

}  // namespace

std::string JsString(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    while (!utf8.empty()) {
        const std::size_t length = utf8::SequenceLength(utf8);
        if (length == 0) {
            out += utf8::Replacement;
            utf8.remove_prefix(1);
            continue;
        }
        const std::string_view sequence = utf8.substr(0, length);
        utf8.remove_prefix(length);
        const auto c = static_cast<unsigned char>(sequence[0]);
        if (sequence == "\xE2\x80\xA8" || sequence == "\xE2\x80\xA9")
            AppendUnicodeEscape(out, sequence == "\xE2\x80\xA8" ? 0x2028 : 0x2029);
        else if (c == '"' || c == '\\')
            out.append({'\\', static_cast<char>(c)});
        else if (IsControl(c) || c == '<' || c == '>' || c == '&')
            AppendUnicodeEscape(out, c);
        else
            out += sequence;
    }
    out += '"';
    return out;
}

std::string HtmlText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8::Sanitised(utf8)) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string PercentEncoded(std::string_view utf8Name) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : utf8Name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            out += c;
        } else {
            out += '%';
            out += Hex[byte >> 4];
            out += Hex[byte & 0xF];
        }
    }
    return out;
}

std::string SearchableText(std::string_view utf8) {
    std::string out(utf8);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return IsControl(static_cast<unsigned char>(c)); },
        ' ');
    return out;
}

}  // namespace tomlet::web
