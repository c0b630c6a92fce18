#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "core/text_folding.h"
#include "platform/text_codec.h"

namespace tomlet {

// A file-name mask matched the way Windows matches a find pattern: "*" stands for any run of
// characters, "?" for exactly one, and letters match in either case, folded as search folds them
// (UTF-8 through the system's case rules, a single-byte code page through its table); every
// other character matches itself. "*.*" and "*" match every name; a mask ending in "." matches
// only names without an extension ("*." finds extensionless files); a mask ending in ".*" also
// matches the name without an extension ("readme.*" finds readme). Mask and names are in the
// codec's code page.
class Wildcard final {
public:
    explicit Wildcard(std::string_view mask, const TextCodec& codec = TextCodec(TextCodec::Utf8));

    bool Matches(std::string_view name) const;

private:
    bool MatchesPattern(std::u32string_view pattern, std::string_view name) const;
    std::u32string Folded(std::string_view text) const;
    // The folded character at `at` and the number of bytes it takes.
    std::pair<char32_t, size_t> CharacterAt(std::string_view text, size_t at) const;

    bool m_utf8;
    ByteFoldTable m_foldByte;  // single bytes, or ASCII in UTF-8
    std::u32string m_pattern;  // folded
    bool m_matchesAll = false;
    bool m_noExtension = false;        // the mask ended in "."
    bool m_extensionOptional = false;  // the mask ended in ".*"
};

}  // namespace tomlet
