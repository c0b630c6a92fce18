#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/records.h"
#include "platform/text_codec.h"

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

// Where a stored path leads: after the program folder or after the data directory. The value is
// the byte a project file stores; any other byte leads nowhere.
enum class PathMode : std::uint8_t { Relative = 0, Absolute = 1 };

// Whether the path's last character is the separator: in a double-byte code page its last byte
// may be the second of a character. Paths are in the process code page unless `codec` says.
bool EndsWithSeparator(std::string_view path, char separator,
                       const TextCodec& codec = ProcessCodec());
// Removes one trailing separator from a path of at least two characters.
std::string StripTrailingBackslash(std::string_view path,
                                   const PathRules& rules = PathRules::Native());
// D:\ becomes D: (drive-letter rules only); everything else is returned unchanged.
std::string NormaliseDriveRoot(std::string_view path, const PathRules& rules = PathRules::Native());
// Everything before the last separator; empty when there is none.
std::string ParentFolderPath(std::string_view path, const PathRules& rules = PathRules::Native());
// The picked path below the data directory, in stored form; nothing when it is not below it.
std::optional<std::string> MakeDataRelative(std::string_view picked, std::string_view dataDir,
                                            const PathRules& rules = PathRules::Native());
// Full path of a stored path: relative after the disc's folder (which ends with a separator),
// absolute after the data directory; empty for an empty stored path or any other mode. Under the
// native rules of a case-sensitive system a path that exists spelt in another case is given as
// it is spelt on disc.
// A full path with "." and ".." taken out: where it really leads. Its root (a drive, the leading
// separator or a UNC share's leading pair) is kept, and ".." never climbs above it.
std::string LexicallyNormalPath(std::string_view path,
                                const PathRules& rules = PathRules::Native());
std::string ResolveObjectPath(PathMode mode, std::string_view dataDir, std::string_view storedPath,
                              std::string_view discFolder,
                              const PathRules& rules = PathRules::Native());
// The full path of a stored path as ResolveObjectPath gives it, but spelt as the catalogue spells
// it, without looking at the disc.
std::string JoinObjectPath(PathMode mode, std::string_view dataDir, std::string_view storedPath,
                           std::string_view discFolder,
                           const PathRules& rules = PathRules::Native());
// Whether `path` is `folder` or lies below it, once "." and ".." are taken out of both and, under
// the running system's rules, the links on their way followed. Under the Windows rules ASCII
// letters match in either case.
bool PathLiesWithin(std::string_view path, std::string_view folder,
                    const PathRules& rules = PathRules::Native());
// A stored path (with '\') in the native form.
std::string NativeStoredPath(std::string_view storedPath,
                             const PathRules& rules = PathRules::Native());
// Whether a name names an entry of a folder itself: not empty, "." or "..", holding no separator
// of either kind and, under drive-letter rules, no colon (a drive or a data stream).
bool IsPlainFileName(std::string_view name, const PathRules& rules = PathRules::Native());
// The file name part of a path: the text after its last separator (or drive colon).
std::string FileNamePart(std::string_view path, const PathRules& rules = PathRules::Native());
// The folder a Folder object stands for: its stored path after the data directory, or the data
// directory itself (with a closing separator) for an object without a path.
std::string FolderOfObject(std::string_view dataDir, std::string_view storedPath,
                           const PathRules& rules = PathRules::Native());
// Where a project's data directory lies. An absolute one (as the folder picker gives it, or a
// drive path written on Windows) is taken as it is; a relative one ("." or "disc") lies in the
// disc's folder, so that a catalogue travels with its data. Empty stays empty.
std::string ResolveDataDirectory(std::string_view projectDataDir, std::string_view discFolder,
                                 const PathRules& rules = PathRules::Native());

// The extension of a file name, from its last dot, with A to Z lower-cased; empty without a dot.
std::string FileExtension(std::string_view path, const PathRules& rules = PathRules::Native());
TObjectType ObjectTypeByExtension(std::string_view path,
                                  const PathRules& rules = PathRules::Native());
TObjectAction ObjectActionByExtension(std::string_view path,
                                      const PathRules& rules = PathRules::Native());

// Texts of the tree's hover hint.
std::string FileSizeText(const std::string& fullPath);
std::string FileAttributesText(const std::string& fullPath);

}  // namespace tomlet
