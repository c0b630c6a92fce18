#include "core/search.h"

#include <vector>

#include "core/object_tree.h"
#include "core/utf8.h"
#include "platform/case_fold.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

unsigned char LeadByte(char32_t c) {
    if (c >= StrayByte)
        return static_cast<unsigned char>(c - StrayByte);
    return static_cast<unsigned char>(EncodeUtf8(c).front());
}

struct CaseVariant {
    char32_t Character;
    char32_t Lower;
};

// Every character that has a lower case of its own, found once: the rules do not change while
// the program runs.
const std::vector<CaseVariant>& CaseVariants() {
    static const std::vector<CaseVariant> variants = [] {
        std::vector<CaseVariant> list;
        for (char32_t c = 0; c < 0x20000; ++c)
            if (c < 0xD800 || c > 0xDFFF)
                if (const char32_t lower = LowerCase(c); lower != c)
                    list.push_back({c, lower});
        return list;
    }();
    return variants;
}

std::array<unsigned char, 256> IdentityTable() {
    std::array<unsigned char, 256> table{};
    for (size_t b = 0; b < 256; ++b)
        table[b] = static_cast<unsigned char>(b);
    return table;
}

// Lower-cases ASCII letters whose lower case is ASCII too; other bytes stay.
std::array<unsigned char, 256> AsciiFoldTable() {
    std::array<unsigned char, 256> table = IdentityTable();
    for (char32_t c = 0; c < 0x80; ++c)
        if (const char32_t lower = LowerCase(c); lower < 0x80)
            table[c] = static_cast<unsigned char>(lower);
    return table;
}

// The lower-case byte of every byte of a single-byte code page. A byte keeps itself where its
// lower-case letter has no byte of its own.
std::array<unsigned char, 256> CodePageFoldTable(const TextCodec& codec) {
    std::array<unsigned char, 256> table = IdentityTable();
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

// True when the folded text is ASCII and no character beyond ASCII folds into it: then a UTF-8
// field matches byte for byte through the ASCII table.
bool FoldsWithinAscii(std::u32string_view folded) {
    for (char32_t c : folded)
        if (c >= 0x80)
            return false;
    for (const CaseVariant& variant : CaseVariants())
        if (variant.Character >= 0x80 && folded.find(variant.Lower) != folded.npos)
            return false;
    return true;
}

}  // namespace

FindMatcher::FindMatcher(const TFindRec& settings) : FindMatcher(settings, ProcessCodec()) {}

FindMatcher::FindMatcher(const TFindRec& settings, const TextCodec& codec)
    : m_fields(settings.Fields) {
    if (settings.Text.empty() || settings.Fields == 0)
        return;
    if (settings.CaseSensitive) {
        PrepareBytes(settings.Text, IdentityTable());
    } else if (!codec.IsUtf8()) {
        PrepareBytes(settings.Text, CodePageFoldTable(codec));
    } else {
        std::u32string folded = DecodeUtf8(settings.Text);
        for (char32_t& c : folded)
            c = LowerCase(c);
        if (FoldsWithinAscii(folded))
            PrepareBytes(settings.Text, AsciiFoldTable());
        else
            PrepareCharacters(std::move(folded));
    }
}

void FindMatcher::PrepareBytes(std::string_view text, const std::array<unsigned char, 256>& fold) {
    m_mode = Mode::Bytes;
    m_foldByte = fold;
    for (char c : text)
        m_text += static_cast<char>(fold[static_cast<unsigned char>(c)]);
    // How far the text may move on when a given (folded) byte lies under its end.
    const size_t n = m_text.size();
    std::array<size_t, 256> skipByFolded;
    skipByFolded.fill(n);
    for (size_t k = 0; k + 1 < n; ++k)
        skipByFolded[static_cast<unsigned char>(m_text[k])] = n - 1 - k;
    for (size_t b = 0; b < 256; ++b)
        m_skip[b] = skipByFolded[fold[b]];
}

void FindMatcher::PrepareCharacters(std::u32string folded) {
    m_mode = Mode::Characters;
    m_folded = std::move(folded);
    for (char32_t c = 0; c < 0x80; ++c)
        m_foldAscii[c] = LowerCase(c);
    const auto markBytes = [this](char32_t c) {
        if (c >= StrayByte) {
            m_mayOccur[c - StrayByte] = true;
            return;
        }
        for (char b : EncodeUtf8(c))
            m_mayOccur[static_cast<unsigned char>(b)] = true;
    };
    const char32_t first = m_folded.front();
    m_mayStart[LeadByte(first)] = true;
    for (char32_t c : m_folded)
        markBytes(c);
    for (const CaseVariant& variant : CaseVariants()) {
        if (variant.Lower == first)
            m_mayStart[LeadByte(variant.Character)] = true;
        if (m_folded.find(variant.Lower) != m_folded.npos)
            markBytes(variant.Character);
    }
}

bool FindMatcher::Matches(const TNodeData& data) const {
    return ((m_fields & ffCaption) && Contains(data.Caption)) ||
           ((m_fields & ffHint) && Contains(data.Hint)) ||
           ((m_fields & ffPathFileName) && Contains(data.PathFileName)) ||
           ((m_fields & ffParameters) && Contains(data.Parameters)) ||
           ((m_fields & ffComments) && Contains(data.Comments));
}

bool FindMatcher::Contains(std::string_view field) const {
    switch (m_mode) {
        case Mode::Nothing:
            return false;
        case Mode::Bytes:
            return ContainsBytes(field);
        case Mode::Characters:
            return ContainsCharacters(field);
    }
    return false;
}

bool FindMatcher::ContainsBytes(std::string_view field) const {
    const size_t n = m_text.size();
    if (field.size() < n)
        return false;
    const auto* data = reinterpret_cast<const unsigned char*>(field.data());
    const auto lastWanted = static_cast<unsigned char>(m_text.back());
    for (size_t i = 0; i <= field.size() - n;) {
        const unsigned char under = data[i + n - 1];
        if (m_foldByte[under] == lastWanted && MatchesBytesAt(data + i))
            return true;
        i += m_skip[under];
    }
    return false;
}

bool FindMatcher::MatchesBytesAt(const unsigned char* p) const {
    for (size_t k = 0; k + 1 < m_text.size(); ++k)
        if (m_foldByte[p[k]] != static_cast<unsigned char>(m_text[k]))
            return false;
    return true;
}

bool FindMatcher::ContainsCharacters(std::string_view field) const {
    // A match covers at least one byte per character, and only bytes that may occur in one. So
    // the field is probed every m bytes; only where the probed byte may be part of a match are
    // the starts up to it tried.
    const size_t m = m_folded.size();
    const auto* data = reinterpret_cast<const unsigned char*>(field.data());
    const auto* end = data + field.size();
    size_t start = 0;  // starts before this one are ruled out
    for (size_t probe = m - 1; probe < field.size(); probe = start + m - 1) {
        if (!m_mayOccur[data[probe]]) {
            start = probe + 1;
            continue;
        }
        for (; start <= probe; ++start)
            if (m_mayStart[data[start]] && MatchesCharactersAt(data + start, end))
                return true;
    }
    return false;
}

bool FindMatcher::MatchesCharactersAt(const unsigned char* p, const unsigned char* end) const {
    for (char32_t wanted : m_folded) {
        if (p == end)
            return false;
        const char32_t c = *p < 0x80 ? m_foldAscii[*p++] : LowerCase(DecodeUtf8(p, end));
        if (c != wanted)
            return false;
    }
    return true;
}

ObjectNode* FindObject(TFindRec& settings, const ObjectTree& tree, bool forward, int currentIndex) {
    const int start = forward ? settings.NextIndex : settings.FromCurrent ? currentIndex : 0;
    const FindMatcher matcher(settings);
    int index = start;
    ObjectNode* node = matcher.CanMatch() ? tree.AtAbsoluteIndex(start) : nullptr;
    for (; node != nullptr; node = tree.NextDepthFirst(node), ++index) {
        if (matcher.Matches(node->Data)) {
            settings.NextIndex = index + 1;
            return node;
        }
    }
    if (forward)
        settings.NextIndex = 0;
    return nullptr;
}

}  // namespace tomlet
