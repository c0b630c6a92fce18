#pragma once

#include <string>
#include <string_view>

namespace tomlet {

// A file-name mask matched the way Windows matches a find pattern: "*" stands for any run of
// characters, "?" for exactly one, letters A to Z match either case and every other byte
// matches itself. "*.*" and "*" match every name; a mask ending in "." matches only names without
// an extension ("*." finds extensionless files); a mask ending in ".*" also matches the name
// without an extension ("readme.*" finds readme). With UTF-8 text "?" takes one whole character;
// letters outside A to Z are compared byte for byte.
class Wildcard final {
public:
    enum class Encoding { SingleByte, Utf8 };

    explicit Wildcard(std::string_view mask, Encoding encoding = Encoding::Utf8);

    bool Matches(std::string_view name) const;

private:
    bool MatchesPattern(std::string_view pattern, std::string_view name) const;
    size_t CharacterLength(std::string_view text, size_t at) const;

    std::string m_pattern;
    Encoding m_encoding;
    bool m_matchesAll = false;
    bool m_noExtension = false;        // the mask ended in "."
    bool m_extensionOptional = false;  // the mask ended in ".*"
};

}  // namespace tomlet
