#include "core/wildcard.h"

#include "platform/case_fold.h"

namespace tomlet {

Wildcard::Wildcard(std::string_view mask, const TextCodec& codec)
    : m_utf8(codec.IsUtf8()), m_foldByte(m_utf8 ? AsciiFoldTable() : CodePageFoldTable(codec)) {
    if (mask == "*" || mask == "*.*") {
        m_matchesAll = true;
    } else if (mask.size() >= 2 && mask.ends_with(".*")) {
        m_extensionOptional = true;
    } else if (mask.ends_with('.')) {
        m_noExtension = true;
        mask.remove_suffix(1);
    }
    m_pattern = Folded(mask);
}

bool Wildcard::Matches(std::string_view name) const {
    if (m_matchesAll)
        return true;
    if (m_noExtension)
        return name.find('.') == std::string_view::npos && MatchesPattern(m_pattern, name);
    if (m_extensionOptional && name.find('.') == std::string_view::npos &&
        MatchesPattern(std::u32string_view(m_pattern).substr(0, m_pattern.size() - 2), name))
        return true;
    return MatchesPattern(m_pattern, name);
}

std::u32string Wildcard::Folded(std::string_view text) const {
    std::u32string folded;
    for (size_t at = 0; at < text.size();) {
        const auto [c, length] = CharacterAt(text, at);
        folded += c;
        at += length;
    }
    return folded;
}

// In UTF-8 a character counts as one only when its sequence is whole; a stray byte counts alone.
std::pair<char32_t, size_t> Wildcard::CharacterAt(std::string_view text, size_t at) const {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + at;
    if (!m_utf8 || *p < 0x80)
        return {m_foldByte[*p], 1};
    const auto* next = p;
    const char32_t c =
        DecodeUtf8(next, reinterpret_cast<const unsigned char*>(text.data()) + text.size());
    return {c >= StrayByte ? c : LowerCase(c), static_cast<size_t>(next - p)};
}

// Greedy matching that backtracks only to the last "*": linear for masks without stars and at
// worst pattern length times name length.
bool Wildcard::MatchesPattern(std::u32string_view pattern, std::string_view name) const {
    size_t p = 0;
    size_t n = 0;
    size_t starP = std::u32string_view::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
            continue;
        }
        const auto [c, length] = CharacterAt(name, n);
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == c)) {
            ++p;
            n += length;
        } else if (starP != std::u32string_view::npos) {
            p = starP + 1;
            starN += CharacterAt(name, starN).second;
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

}  // namespace tomlet
