// Where stored paths lead: the path rules with the disc-containment check, and an update from disc
// of a generated catalogue against a generated folder tree.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/disc_update.h"
#include "core/object_tree.h"
#include "core/paths.h"
#include "core/progress.h"
#include "fuzz_entries.h"
#include "fuzz_input.h"
#include "platform/native_path.h"

namespace tomlet::fuzz {

namespace {

// UTF-8, single-byte, and the double-byte code pages whose characters may end in '\'.
constexpr int PathCodePages[] = {TextCodec::Utf8, 1251, 932, 936, 950};

// The parts of a path between separators of either kind, found by characters.
std::vector<std::string_view> Parts(std::string_view path) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = ProcessCodec().FindAscii(path, "\\/", start);
        parts.push_back(path.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

bool HasPart(std::string_view path, std::string_view wanted) {
    for (const std::string_view part : Parts(path))
        if (part == wanted)
            return true;
    return false;
}

// The folders a path passes through as the system reads it (in UTF-8, separated by '\\' and '/')
// once "." and ".." are taken out, ASCII letters in lower case as Windows compares names.
std::vector<std::string> SystemParts(std::string_view path) {
    std::string text = ProcessCodec().ToUtf8(path);
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find_first_of("\\/", start), text.size());
        std::string part = text.substr(start, end - start);
        for (char& c : part)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (part == ".." && !parts.empty())
            parts.pop_back();
        else if (!part.empty() && part != "." && part != "..")
            parts.push_back(std::move(part));
        start = end + 1;
    }
    return parts;
}

bool HasPartBesides(std::string_view path, std::string_view dot) {
    for (const std::string_view part : Parts(path))
        if (!part.empty() && part != dot)
            return true;
    return false;
}

}  // namespace

// A code page byte, then the data directory, a stored path and a picked path, each ended by a
// zero byte. Under the Windows rules, which touch no file.
int PathRulesAndContainment(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const ScopedProcessCodePage codePage(CodecOf(input.Byte(), PathCodePages).CodePage());
    const std::string dataDir(input.Text());
    const std::string stored(input.Text());
    const std::string picked(input.Text());
    const PathRules rules = PathRules::Windows();

    for (const std::string& path : {dataDir, stored, picked}) {
        Require(path.starts_with(ParentFolderPath(path, rules)), "a parent is the path's start");
        Require(path.ends_with(FileNamePart(path, rules)), "a file name is the path's end");
        Require(path.starts_with(StripTrailingBackslash(path, rules)),
                "stripping the separator keeps the rest");
        NormaliseDriveRoot(path, rules);
        IsPlainFileName(path, rules);
        ResolveDataDirectory(path, dataDir, rules);
    }
    // What a path picked below the data directory is stored as leads back to it.
    if (const auto relative = MakeDataRelative(picked, dataDir, rules))
        Require(ResolveObjectPath(PathMode::Absolute, dataDir, *relative, {}, rules) == picked,
                "a picked path is found again from its stored form");
    // A stored path that climbs nowhere leads into a data directory that names a folder (one
    // whose text the code page defines: a lone first byte at its end would take the separator
    // that follows it for its second).
    const std::string resolved = ResolveObjectPath(PathMode::Absolute, dataDir, stored, {}, rules);
    const bool welformed = ProcessCodec().ToUtf8(dataDir).find("\xEF\xBF\xBD") == std::string::npos;
    if (welformed && !stored.empty() && !HasPart(stored, "..") && !HasPart(dataDir, "..") &&
        HasPartBesides(dataDir, "."))
        Require(PathLiesWithin(resolved, dataDir, rules), "a plain stored path stays on the disc");
    // What the check takes for the disc's own is the disc's own as the system reads the path.
    if (PathLiesWithin(resolved, dataDir, rules)) {
        const std::vector<std::string> path = SystemParts(resolved);
        const std::vector<std::string> folder = SystemParts(dataDir);
        Require(
            path.size() >= folder.size() && std::equal(folder.begin(), folder.end(), path.begin()),
            "a path the check keeps on the disc stays there as the system reads it");
    }
    ResolveObjectPath(PathMode::Relative, dataDir, stored, "D:\\disc\\", rules);
    return 0;
}

namespace {

// Names the generated trees take their paths from: letters that differ only in case, in
// Cyrillic too, and a name whose second byte in code pages 932 and 936 is '\'.
constexpr const char* Names[] = {"a", "A", "b.txt", "B.TXT", "Ж", "ж", "表", "c"};

// One byte a file or folder: its name (bits 0-2), a folder (bit 3), and where it goes (bits 4-5):
// into the last folder made, back up one level, or beside the last entry. Ends at a zero byte.
// Paths in the process code page; a name it cannot hold makes nothing.
void MakeFolderTree(FuzzInput& input, const std::string& root) {
    const char separator = PathRules::Native().Separator;
    std::vector<std::string> folders{root};
    std::string lastFolder = root;
    for (int made = 0; made < 48 && !input.Empty(); ++made) {
        const std::uint8_t byte = input.Byte();
        if (byte == 0)
            break;
        const int move = (byte >> 4) & 3;
        if (move == 1 && lastFolder != folders.back() && folders.size() < 6)
            folders.push_back(lastFolder);
        else if (move == 2 && folders.size() > 1)
            folders.pop_back();
        const auto name = ProcessCodec().FromUtf8Exactly(Names[byte & 7]);
        if (!name)
            continue;
        const std::string entry = folders.back() + separator + *name;
        std::error_code ignored;
        if ((byte & 8) != 0) {
            std::filesystem::create_directory(NativePath(entry), ignored);
            lastFolder = entry;
        } else {
            std::ofstream{NativePath(entry)};
        }
    }
}

// One byte an object: how many parts its path has (bit 0), its type (bits 1-2: a file, a folder,
// a virtual folder, an executable) and its level (bits 6-7, at most one below the last object's);
// then a byte per part picking its name.
ObjectTree MakeCatalogue(FuzzInput& input, const TextCodec& codec) {
    static constexpr std::uint8_t Types[] = {otFile, otFolder, otVirtualFolder, otExecuteFile};
    ObjectTree catalogue;
    std::vector<ObjectNode*> levels;
    while (!input.Empty() && catalogue.Count() < 64) {
        const std::uint8_t byte = input.Byte();
        TNodeData data;
        data.ObjectType = Types[(byte >> 1) & 3];
        for (int part = 0; part <= (byte & 1); ++part)
            data.PathFileName += (part > 0 ? "\\" : "") + codec.FromUtf8(Names[input.Byte() & 7]);
        data.Caption = data.PathFileName;
        const std::size_t level = std::min<std::size_t>(byte >> 6, levels.size());
        levels.resize(level);
        levels.push_back(catalogue.Append(level > 0 ? levels.back() : nullptr, std::move(data)));
    }
    return catalogue;
}

}  // namespace

// A code page byte and a mask byte, a folder tree (MakeFolderTree), then a catalogue
// (MakeCatalogue). An update then a second one: the second finds nothing to change.
int UpdateChanges(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const ScopedProcessCodePage codePage(CodecOf(input.Byte(), PathCodePages).CodePage());
    const TextCodec& codec = ProcessCodec();
    const bool textsOnly = (input.Byte() & 1) != 0;
    const std::string root = EmptyScratchFolder("disc");
    MakeFolderTree(input, root);
    ObjectTree catalogue = MakeCatalogue(input, codec);

    DiscUpdateScope scope;
    scope.BaseFolder = root;
    scope.Masks = {textsOnly ? "*.txt" : "*.*"};
    SilentProgress silent;
    ApplyDiscChanges(catalogue, FindDiscChanges(catalogue, scope, codec, silent, silent));
    Require(FindDiscChanges(catalogue, scope, codec, silent, silent).IsEmpty(),
            "updating twice changes nothing the second time");
    return 0;
}

}  // namespace tomlet::fuzz
