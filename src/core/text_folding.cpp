#include "core/text_folding.h"

#include "platform/case_fold.h"
#include "platform/text_codec.h"

namespace tomlet {

ByteFoldTable IdentityTable() {
    ByteFoldTable table{};
    for (size_t b = 0; b < 256; ++b)
        table[b] = static_cast<unsigned char>(b);
    return table;
}

ByteFoldTable AsciiFoldTable() {
    ByteFoldTable table = IdentityTable();
    for (char32_t c = 0; c < 0x80; ++c)
        if (const char32_t lower = LowerCase(c); lower < 0x80)
            table[c] = static_cast<unsigned char>(lower);
    return table;
}

ByteFoldTable CodePageFoldTable(const TextCodec& codec) {
    ByteFoldTable table = IdentityTable();
    for (size_t b = 0; b < 256; ++b) {
        const std::u32string decoded =
            DecodeUtf8(codec.ToUtf8(std::string(1, static_cast<char>(b))));
        if (decoded.size() != 1)
            continue;
        const char32_t lower = LowerCase(decoded.front());
        if (lower == decoded.front())
            continue;
        const std::string lowerUtf8 = EncodeUtf8(lower);
        const std::string encoded = codec.FromUtf8(lowerUtf8);
        if (encoded.size() == 1 && codec.ToUtf8(encoded) == lowerUtf8)
            table[b] = static_cast<unsigned char>(encoded.front());
    }
    return table;
}

std::string FoldedUtf8(std::string_view text) {
    static const std::array<char32_t, 0x80> lowerAscii = [] {
        std::array<char32_t, 0x80> table{};
        for (char32_t c = 0; c < 0x80; ++c)
            table[c] = LowerCase(c);
        return table;
    }();
    std::string folded;
    folded.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        char32_t c = 0;
        if (*p < 0x80) {
            c = lowerAscii[*p++];
        } else {
            const unsigned char* start = p;
            c = DecodeUtf8(p, end);
            if (c >= StrayByte) {
                folded += static_cast<char>(*start);
                continue;
            }
            c = LowerCase(c);
        }
        if (c < 0x80)
            folded += static_cast<char>(c);
        else
            folded += EncodeUtf8(c);
    }
    return folded;
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
