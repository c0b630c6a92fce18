#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tomlet {

class ObjectNode;
class ObjectTree;
class TextCodec;
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
    // Texts in the process code page, or in the code page of `codec`.
    explicit FindMatcher(const TFindRec& settings);
    FindMatcher(const TFindRec& settings, const TextCodec& codec);

    // False for an empty text or no fields: then nothing matches.
    bool CanMatch() const { return m_mode != Mode::Nothing; }

    // True when one of the chosen fields holds the text. An empty text matches nothing.
    bool Matches(const TNodeData& data) const;
    // True when `field` holds the text.
    bool Contains(std::string_view field) const;

private:
    enum class Mode { Nothing, Bytes, Characters };

    void PrepareBytes(std::string_view text, const std::array<unsigned char, 256>& fold);
    void PrepareCharacters(std::u32string folded);
    bool ContainsBytes(std::string_view field) const;
    bool ContainsCharacters(std::string_view field) const;
    bool MatchesBytesAt(const unsigned char* p) const;
    bool MatchesCharactersAt(const unsigned char* p, const unsigned char* end) const;

    Mode m_mode = Mode::Nothing;
    std::uint8_t m_fields = 0;
    // Bytes: each byte is one character (a case-sensitive search, a single-byte code page, or a
    // UTF-8 text whose letters fold within ASCII). Fields are compared through the folding table,
    // skipping ahead by the byte under the end of the text.
    std::string m_text;  // folded
    std::array<unsigned char, 256> m_foldByte{};
    std::array<size_t, 256> m_skip{};
    // Characters: UTF-8 decoded and lower-cased character by character.
    std::u32string m_folded;
    std::array<char32_t, 128> m_foldAscii{};
    std::array<bool, 256> m_mayStart{};  // lead bytes of the characters that fold to the first
    std::array<bool, 256> m_mayOccur{};  // bytes of every character that folds into the text
};

// The search itself, without the selection. It starts at NextIndex when `forward`, otherwise at
// `currentIndex` (the selected node) with FromCurrent and at the first node without it, and
// walks every node in absolute depth-first order, collapsed branches included. On a match
// NextIndex becomes the index after it; when a forward search finds nothing, NextIndex returns
// to 0. Gives the node found or nullptr.
ObjectNode* FindObject(TFindRec& settings, const ObjectTree& tree, bool forward, int currentIndex);

}  // namespace tomlet
