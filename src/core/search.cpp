#include "core/search.h"

#include "core/object_tree.h"
#include "platform/case_fold.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

// A byte that does not begin a well-formed UTF-8 sequence stands for itself, as a value beyond
// every character, so that it only ever equals the same byte.
constexpr char32_t StrayByte = 0x110000;

char32_t DecodeUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
        ++p;
        return lead;
    }
    int tail = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        tail = 1, c = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        tail = 2, c = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        tail = 3, c = lead & 0x07u, least = 0x10000;
    } else {
        ++p;
        return StrayByte + lead;
    }
    if (end - p <= tail) {
        ++p;
        return StrayByte + lead;
    }
    for (int k = 1; k <= tail; ++k) {
        if ((p[k] & 0xC0u) != 0x80u) {
            ++p;
            return StrayByte + lead;
        }
        c = (c << 6) | (p[k] & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++p;
        return StrayByte + lead;
    }
    p += tail + 1;
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

unsigned char LeadByte(char32_t c) {
    if (c >= StrayByte)
        return static_cast<unsigned char>(c - StrayByte);
    return static_cast<unsigned char>(EncodeUtf8(c).front());
}

// The lower-case byte of every byte of a single-byte code page. A byte keeps itself where its
// lower-case letter has no byte of its own.
std::array<unsigned char, 256> ByteFoldTable(const TextCodec& codec) {
    std::array<unsigned char, 256> fold{};
    for (int b = 0; b < 256; ++b) {
        fold[static_cast<size_t>(b)] = static_cast<unsigned char>(b);
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
            fold[static_cast<size_t>(b)] = static_cast<unsigned char>(encoded.front());
    }
    return fold;
}

}  // namespace

FindMatcher::FindMatcher(const TFindRec& settings) : m_fields(settings.Fields) {
    if (settings.Text.empty() || settings.Fields == 0)
        return;
    if (settings.CaseSensitive) {
        m_mode = Mode::Exact;
        m_text = settings.Text;
    } else if (ProcessCodec().IsUtf8()) {
        PrepareFoldUtf8(settings.Text);
    } else {
        PrepareFoldBytes(settings.Text);
    }
}

void FindMatcher::PrepareFoldBytes(std::string_view text) {
    m_mode = Mode::FoldBytes;
    m_foldByte = ByteFoldTable(ProcessCodec());
    for (char c : text)
        m_text += static_cast<char>(m_foldByte[static_cast<unsigned char>(c)]);
    const auto first = static_cast<unsigned char>(m_text.front());
    for (size_t b = 0; b < 256; ++b)
        m_mayStart[b] = m_foldByte[b] == first;
}

void FindMatcher::PrepareFoldUtf8(std::string_view text) {
    m_mode = Mode::FoldUtf8;
    for (char32_t c = 0; c < 128; ++c)
        m_foldAscii[c] = LowerCase(c);
    for (char32_t c : DecodeUtf8(text))
        m_folded += LowerCase(c);
    // Every character whose lower case is the text's first one may begin a match: its other
    // case, and letters such as the Kelvin sign that fold into ASCII.
    const char32_t first = m_folded.front();
    m_mayStart[LeadByte(first)] = true;
    if (first >= StrayByte)
        return;
    for (char32_t c = 0; c < 0x10000; ++c)
        if ((c < 0xD800 || c > 0xDFFF) && LowerCase(c) == first)
            m_mayStart[LeadByte(c)] = true;
    if (first >= 0x10000)
        for (unsigned char lead = 0xF0; lead <= 0xF4; ++lead)
            m_mayStart[lead] = true;
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
        case Mode::Exact:
            return field.find(m_text) != std::string_view::npos;
        case Mode::FoldBytes:
            return Scan(field, m_text.size(), [this](const unsigned char* p, const unsigned char*) {
                return MatchesBytesAt(p);
            });
        case Mode::FoldUtf8:
            // Every character takes at least one byte.
            return Scan(field, m_folded.size(),
                        [this](const unsigned char* p, const unsigned char* end) {
                            return MatchesUtf8At(p, end);
                        });
    }
    return false;
}

// Looks at each byte that may begin a match and lets `matchesAt` decide.
template <class MatchesAt>
bool FindMatcher::Scan(std::string_view field, size_t minLength, MatchesAt matchesAt) const {
    if (field.size() < minLength)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(field.data());
    const auto* end = p + field.size();
    const auto* last = end - minLength;
    for (; p <= last; ++p)
        if (m_mayStart[*p] && matchesAt(p, end))
            return true;
    return false;
}

bool FindMatcher::MatchesBytesAt(const unsigned char* p) const {
    for (size_t k = 1; k < m_text.size(); ++k)
        if (m_foldByte[p[k]] != static_cast<unsigned char>(m_text[k]))
            return false;
    return true;
}

bool FindMatcher::MatchesUtf8At(const unsigned char* p, const unsigned char* end) const {
    for (char32_t wanted : m_folded) {
        if (p == end)
            return false;
        char32_t c;
        if (*p < 0x80)
            c = m_foldAscii[*p++];
        else
            c = LowerCase(DecodeUtf8(p, end));
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
