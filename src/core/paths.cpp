#include "core/paths.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace tomlet {

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Paths are taken apart by the characters of the process code page, never by bytes: in a
// double-byte code page the second byte of a character may be 0x5C, '\\'.
const TextCodec& PathCodec() {
    return ProcessCodec();
}

std::string Replaced(std::string_view text, char from, char to) {
    return PathCodec().ReplaceAscii(text, from, to);
}

// The base folder, one separator and the rest, without doubling a separator the base ends with.
std::string Joined(std::string_view base, std::string_view rest, const PathRules& rules) {
    std::string result = StripTrailingBackslash(base, rules);
    if (!EndsWithSeparator(result, rules.Separator))
        result += rules.Separator;
    return result.append(rest);
}

// A path that names its root: it starts with a separator of either kind or with a drive letter.
// A drive path written on Windows stays as it is on any system.
bool IsAbsoluteDataDirectory(std::string_view path) {
    if (path.starts_with('\\') || path.starts_with('/'))
        return true;
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// The non-empty parts of a relative path written with either separator.
std::vector<std::string_view> PathParts(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const auto end = std::min(PathCodec().FindAscii(path, "\\/"), path.size());
        if (end > 0)
            parts.push_back(path.substr(0, end));
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return parts;
}

std::string_view FileName(std::string_view path, const PathRules& rules) {
    const auto separator = PathCodec().FindLastAscii(path, {&rules.Separator, 1});
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// The names a path passes through, without "." and with each ".." taking back the name before it.
std::vector<std::string> NormalParts(std::string_view path, const PathRules& rules) {
    std::vector<std::string> parts;
    const std::string_view separators = rules.DriveLetters ? "\\/" : "/";
    while (!path.empty()) {
        const std::string_view part = path.substr(0, PathCodec().FindAscii(path, separators));
        path.remove_prefix(std::min(part.size() + 1, path.size()));
        if (part == ".." && !parts.empty())
            parts.pop_back();
        else if (!part.empty() && part != "." && part != "..")
            parts.emplace_back(part);
    }
    return parts;
}

struct ExtensionRule {
    std::string_view Extension;
    TObjectType Type;
    TObjectAction Action;
};

constexpr std::array<ExtensionRule, 9> ExtensionRules{{
    {".exe", otExecuteFile, oaExecute},
    {".com", otExecuteFile, oaExecute},
    {".txt", otTextFile, oaOpenByAssociation},
    {".hlp", otHelpFile, oaOpenByAssociation},
    {".htm", otWebPage, oaOpenByAssociation},
    {".html", otWebPage, oaOpenByAssociation},
    {".bmp", otPicture, oaOpenByAssociation},
    {".jpg", otPicture, oaOpenByAssociation},
    {".jpeg", otPicture, oaOpenByAssociation},
}};

constexpr ExtensionRule OtherFiles{{}, otFile, oaOpenByAssociation};

const ExtensionRule& RuleFor(std::string_view path, const PathRules& rules) {
    const std::string extension = FileExtension(path, rules);
    const auto rule = std::find_if(ExtensionRules.begin(), ExtensionRules.end(),
                                   [&](const auto& r) { return r.Extension == extension; });
    return rule == ExtensionRules.end() ? OtherFiles : *rule;
}

}  // namespace

PathRules PathRules::Native() {
    const PathStyle system = SystemPathStyle();
    return {system.Separator, system.DriveLetters};
}

bool EndsWithSeparator(std::string_view path, char separator, const TextCodec& codec) {
    return !path.empty() && codec.FindLastAscii(path, {&separator, 1}) == path.size() - 1;
}

std::string StripTrailingBackslash(std::string_view path, const PathRules& rules) {
    if (path.size() >= 2 && EndsWithSeparator(path, rules.Separator))
        path.remove_suffix(1);
    return std::string(path);
}

std::string NormaliseDriveRoot(std::string_view path, const PathRules& rules) {
    if (rules.DriveLetters && path.size() == 3 && IsAsciiLetter(path[0]) && path[1] == ':')
        return StripTrailingBackslash(path, rules);
    return std::string(path);
}

std::string ParentFolderPath(std::string_view path, const PathRules& rules) {
    const auto separator = PathCodec().FindLastAscii(path, {&rules.Separator, 1});
    if (separator == std::string_view::npos)
        return {};
    // Without drive letters a leading separator is the root itself.
    if (separator == 0 && !rules.DriveLetters)
        return std::string(1, rules.Separator);
    return std::string(path.substr(0, separator));
}

std::optional<std::string> MakeDataRelative(std::string_view picked, std::string_view dataDir,
                                            const PathRules& rules) {
    const std::string prefix = Joined(dataDir, {}, rules);
    // Case matters: a path that differs from the data directory in case is not below it. The
    // data directory itself ("D:\" picked on a disc's root) is not below it either: its stored
    // form would be empty, which names no file at all.
    if (!picked.starts_with(prefix) || picked.size() == prefix.size())
        return std::nullopt;
    return Replaced(picked.substr(prefix.size()), rules.Separator, StoredSeparator);
}

std::string JoinObjectPath(PathMode mode, std::string_view dataDir, std::string_view storedPath,
                           std::string_view discFolder, const PathRules& rules) {
    if (storedPath.empty())
        return {};
    const std::string relative = NativeStoredPath(storedPath, rules);
    if (mode == PathMode::Relative)
        return std::string(discFolder) + relative;
    if (mode == PathMode::Absolute)
        return Joined(dataDir, relative, rules);
    return {};
}

// A full path with "." and ".." taken out; its root (a drive, the leading separator or a UNC
// share's leading pair) is kept, and ".." never climbs above it.
std::string LexicallyNormalPath(std::string_view path, const PathRules& rules) {
    const bool drive =
        rules.DriveLetters && path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
    std::string normal(drive ? path.substr(0, 2) : std::string_view());
    path.remove_prefix(normal.size());
    const std::size_t leading = drive ? 1 : rules.DriveLetters ? 2 : 1;
    for (std::size_t i = 0;
         i < leading && !path.empty() &&
         (path.front() == rules.Separator || (rules.DriveLetters && path.front() == '/'));
         ++i) {
        normal += rules.Separator;
        path.remove_prefix(1);
    }
    if (drive && normal.size() == 2)
        normal += rules.Separator;  // "C:\", not "C:", the current folder of drive C
    const std::vector<std::string> parts = NormalParts(path, rules);
    for (std::size_t i = 0; i < parts.size(); ++i)
        normal += (i == 0 ? "" : std::string(1, rules.Separator)) + parts[i];
    return normal;
}

std::string ResolveObjectPath(PathMode mode, std::string_view dataDir, std::string_view storedPath,
                              std::string_view discFolder, const PathRules& rules) {
    const std::string path = JoinObjectPath(mode, dataDir, storedPath, discFolder, rules);
    // Catalogues made on Windows name files in any case; a case-sensitive system needs the
    // spelling on disc.
    if (!path.empty() && !rules.DriveLetters && rules.Separator == PathRules::Native().Separator)
        return FindPathIgnoringCase(path);
    return path;
}

bool PathLiesWithin(std::string_view path, std::string_view folder, const PathRules& rules) {
    const bool native = rules.Separator == PathRules::Native().Separator &&
                        rules.DriveLetters == PathRules::Native().DriveLetters;
    const std::vector<std::string> pathParts =
        NormalParts(native ? RealPath(std::string(path)) : std::string(path), rules);
    const std::vector<std::string> folderParts =
        NormalParts(native ? RealPath(std::string(folder)) : std::string(folder), rules);
    const auto sameName = [&](const std::string& a, const std::string& b) {
        return rules.DriveLetters ? std::ranges::equal(a, b, {}, LowerAscii, LowerAscii) : a == b;
    };
    return !folderParts.empty() && pathParts.size() >= folderParts.size() &&
           std::equal(folderParts.begin(), folderParts.end(), pathParts.begin(), sameName);
}

std::string NativeStoredPath(std::string_view storedPath, const PathRules& rules) {
    return Replaced(storedPath, StoredSeparator, rules.Separator);
}

bool IsPlainFileName(std::string_view name, const PathRules& rules) {
    return !name.empty() && name != "." && name != ".." &&
           PathCodec().FindAscii(name, rules.DriveLetters ? "\\/:" : "\\/") ==
               std::string_view::npos;
}

std::string FileNamePart(std::string_view path, const PathRules& rules) {
    const auto last = PathCodec().FindLastAscii(path, rules.DriveLetters ? "\\/:" : "/");
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string FolderOfObject(std::string_view dataDir, std::string_view storedPath,
                           const PathRules& rules) {
    if (storedPath.empty())
        return std::string(dataDir) + rules.Separator;
    return ResolveObjectPath(PathMode::Absolute, dataDir, storedPath, {}, rules);
}

std::string ResolveDataDirectory(std::string_view projectDataDir, std::string_view discFolder,
                                 const PathRules& rules) {
    if (projectDataDir.empty() || IsAbsoluteDataDirectory(projectDataDir))
        return std::string(projectDataDir);
    std::string folder = StripTrailingBackslash(discFolder, rules);
    for (const std::string_view part : PathParts(projectDataDir)) {
        if (part == "..") {
            if (const std::string parent = ParentFolderPath(folder, rules); !parent.empty())
                folder = parent;
        } else if (part != ".") {
            folder = Joined(folder, part, rules);
        }
    }
    return folder;
}

std::string FileExtension(std::string_view path, const PathRules& rules) {
    const std::string_view name = FileName(path, rules);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    std::string extension(name.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(), LowerAscii);
    return extension;
}

TObjectType ObjectTypeByExtension(std::string_view path, const PathRules& rules) {
    return RuleFor(path, rules).Type;
}

TObjectAction ObjectActionByExtension(std::string_view path, const PathRules& rules) {
    return RuleFor(path, rules).Action;
}

}  // namespace tomlet
