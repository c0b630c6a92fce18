#include "core/utf8.h"

namespace tomlet {

char32_t DecodeUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    const char32_t stray = StrayByte + lead;
    int tail = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        tail = 1;
        c = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        tail = 2;
        c = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        tail = 3;
        c = lead & 0x07u;
        least = 0x10000;
    } else {
        return stray;
    }
    if (end - p < tail)
        return stray;
    for (int k = 0; k < tail; ++k) {
        if ((p[k] & 0xC0u) != 0x80u)
            return stray;
        c = (c << 6) | (p[k] & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return stray;
    p += tail;
    return c;
}

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string decoded;
    auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end)
        decoded += DecodeUtf8(p, end);
    return decoded;
}

std::string EncodeUtf8(char32_t c) {
    std::string bytes;
    if (c < 0x80) {
        bytes += static_cast<char>(c);
    } else if (c < 0x800) {
        bytes += static_cast<char>(0xC0 | (c >> 6));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        bytes += static_cast<char>(0xE0 | (c >> 12));
        bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (c >> 18));
        bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    }
    return bytes;
}

}  // namespace tomlet
