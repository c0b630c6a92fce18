#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/records.h"

namespace tomlet {

// The path conventions a rule works under: the Windows rules (backslash, drive letters) or the
// running system's own. Stored paths always use '\' whatever the rules.
struct PathRules {
    char Separator = '\\';
    bool DriveLetters = true;

    static PathRules Windows() { return {'\\', true}; }
    static PathRules Native();
};

inline constexpr char StoredSeparator = '\\';

// Removes one trailing separator from a path of at least two characters.
std::string StripTrailingBackslash(std::string_view path, const PathRules& rules = PathRules::Native());
// D:\ becomes D: (drive-letter rules only); everything else is returned unchanged.
std::string NormaliseDriveRoot(std::string_view path, const PathRules& rules = PathRules::Native());
// Everything before the last separator; empty when there is none.
std::string ParentFolderPath(std::string_view path, const PathRules& rules = PathRules::Native());
// The picked path below the data directory, in stored form; nothing when it is not below it.
std::optional<std::string> MakeDataRelative(std::string_view picked, std::string_view dataDir,
                                            const PathRules& rules = PathRules::Native());
// Full path of a stored path: mode 0 after the program folder (which ends with a separator),
// mode 1 after the data directory; empty for an empty stored path or any other mode. Under the
// native rules of a case-sensitive system a path that exists spelt in another case is given as
// it is spelt on disc.
std::string ResolveObjectPath(std::uint8_t mode, std::string_view dataDir,
                              std::string_view storedPath, std::string_view programFolder,
                              const PathRules& rules = PathRules::Native());

// The extension of a file name, from its last dot, with A to Z lower-cased; empty without a dot.
std::string FileExtension(std::string_view path, const PathRules& rules = PathRules::Native());
TObjectType ObjectTypeByExtension(std::string_view path, const PathRules& rules = PathRules::Native());
TObjectAction ObjectActionByExtension(std::string_view path,
                                      const PathRules& rules = PathRules::Native());

// Texts of the tree's hover hint.
std::string FileSizeText(const std::string& fullPath);
std::string FileAttributesText(const std::string& fullPath);

}  // namespace tomlet
