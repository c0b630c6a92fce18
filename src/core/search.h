#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tomlet {

class ObjectNode;
class ObjectTree;
struct TNodeData;

// The object fields a search looks in, as bits of TFindRec::Fields.
enum TFindField : std::uint8_t {
    ffCaption = 1,
    ffHint = 2,
    ffPathFileName = 4,
    ffParameters = 8,
    ffComments = 16,
};
inline constexpr std::uint8_t AllFindFields =
    ffCaption | ffHint | ffPathFileName | ffParameters | ffComments;

// The search settings and the position carried from one search to the next. A value-initialised
// record holds the starting values of the program's FindState.
struct TFindRec {
    std::string Text;  // as typed, not trimmed
    // Absolute index of the node where the next forward search starts.
    std::int32_t NextIndex = 0;
    std::uint8_t Fields = ffCaption;
    bool CaseSensitive = false;
    bool FromCurrent = true;

    bool operator==(const TFindRec&) const = default;
};

// Decides whether objects hold a search's text. The text is folded once, when the matcher is
// made; fields are scanned in place. Without case sensitivity both sides are compared lower-cased
// by the system's locale rules, in the process code page (UTF-8 or a single-byte code page).
class FindMatcher final {
public:
    explicit FindMatcher(const TFindRec& settings);

    // False for an empty text or no fields: then nothing matches.
    bool CanMatch() const { return m_mode != Mode::Nothing; }

    // True when one of the chosen fields holds the text. An empty text matches nothing.
    bool Matches(const TNodeData& data) const;
    // True when `field` holds the text.
    bool Contains(std::string_view field) const;

private:
    enum class Mode { Nothing, Exact, FoldBytes, FoldUtf8 };

    void PrepareFoldBytes(std::string_view text);
    void PrepareFoldUtf8(std::string_view text);
    template <class MatchesAt>
    bool Scan(std::string_view field, size_t minLength, MatchesAt matchesAt) const;
    bool MatchesBytesAt(const unsigned char* p) const;
    bool MatchesUtf8At(const unsigned char* p, const unsigned char* end) const;

    Mode m_mode = Mode::Nothing;
    std::uint8_t m_fields = 0;
    std::string m_text;                           // Exact: as given; FoldBytes: folded
    std::u32string m_folded;                      // FoldUtf8: the folded characters
    std::array<unsigned char, 256> m_foldByte{};  // FoldBytes: each byte's lower-case byte
    std::array<char32_t, 128> m_foldAscii{};      // FoldUtf8: the lower case of ASCII
    std::array<bool, 256> m_mayStart{};           // bytes a match may begin with
};

// The search itself, without the selection. It starts at NextIndex when `forward`, otherwise at
// `currentIndex` (the selected node) with FromCurrent and at the first node without it, and
// walks every node in absolute depth-first order, collapsed branches included. On a match
// NextIndex becomes the index after it; when a forward search finds nothing, NextIndex returns
// to 0. Gives the node found or nullptr.
ObjectNode* FindObject(TFindRec& settings, const ObjectTree& tree, bool forward, int currentIndex);

}  // namespace tomlet
