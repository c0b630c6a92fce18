#include "platform/case_fold.h"

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

namespace {

char32_t UpperCaseAt(const unsigned char*& p, const unsigned char* end) {
    if (*p < 0x80) {
        const unsigned char ascii = *p++;
        return ascii >= 'a' && ascii <= 'z' ? ascii - 'a' + 'A' : ascii;
    }
    const char32_t c = DecodeUtf8(p, end);
    return c >= StrayByte ? c : UpperCase(c);
}

}  // namespace

bool NameLessIgnoringCase(std::string_view left, std::string_view right) {
    const auto* l = reinterpret_cast<const unsigned char*>(left.data());
    const auto* r = reinterpret_cast<const unsigned char*>(right.data());
    const auto* lEnd = l + left.size();
    const auto* rEnd = r + right.size();
    while (l != lEnd && r != rEnd) {
        const char32_t a = UpperCaseAt(l, lEnd);
        const char32_t b = UpperCaseAt(r, rEnd);
        if (a != b)
            return a < b;
    }
    if ((l == lEnd) != (r == rEnd))
        return l == lEnd;
    return left < right;
}

}  // namespace tomlet
