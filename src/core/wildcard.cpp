#include "core/wildcard.h"

namespace tomlet {

namespace {

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

Wildcard::Wildcard(std::string_view mask, Encoding encoding)
    : m_pattern(mask), m_encoding(encoding) {
    if (m_pattern == "*" || m_pattern == "*.*") {
        m_matchesAll = true;
    } else if (m_pattern.size() >= 2 && m_pattern.ends_with(".*")) {
        m_extensionOptional = true;
    } else if (m_pattern.ends_with('.')) {
        m_noExtension = true;
        m_pattern.pop_back();
    }
}

bool Wildcard::Matches(std::string_view name) const {
    if (m_matchesAll)
        return true;
    if (m_noExtension)
        return name.find('.') == std::string_view::npos && MatchesPattern(m_pattern, name);
    if (m_extensionOptional && name.find('.') == std::string_view::npos &&
        MatchesPattern(std::string_view(m_pattern).substr(0, m_pattern.size() - 2), name))
        return true;
    return MatchesPattern(m_pattern, name);
}

// A UTF-8 sequence counts as one character only when it is whole; a stray byte counts alone.
size_t Wildcard::CharacterLength(std::string_view text, size_t at) const {
    if (m_encoding != Encoding::Utf8)
        return 1;
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (at + length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i)
        if (!IsUtf8Continuation(text[at + i]))
            return 1;
    return length;
}

// Greedy matching that backtracks only to the last "*": linear for masks without stars and at
// worst pattern length times name length.
bool Wildcard::MatchesPattern(std::string_view pattern, std::string_view name) const {
    size_t p = 0;
    size_t n = 0;
    size_t starP = std::string_view::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += CharacterLength(name, n);
        } else if (p < pattern.size() && FoldCase(pattern[p]) == FoldCase(name[n])) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += CharacterLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace tomlet
