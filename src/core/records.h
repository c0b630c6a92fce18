#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tomlet {

// What an object is. Stored and compared as its ordinal; a record may hold any byte value,
// and values outside the list survive reading and writing untouched.
enum TObjectType : std::uint8_t {
    otFile = 0,
    otFolder = 1,
    otVirtualFolder = 2,
    otExecuteFile = 3,
    otPatch = 4,
    otSerial = 5,
    otKeyFile = 6,
    otLanguageFile = 7,
    otTextFile = 8,
    otHelpFile = 9,
    otWebPage = 10,
    otPicture = 11,
};
inline constexpr int ObjectTypeCount = 12;

// What activating an object does. Same storage rules as TObjectType.
enum TObjectAction : std::uint8_t {
    oaNoAction = 0,
    oaOpen = 1,
    oaExecute = 2,
    oaOpenByNotepad = 3,
    oaOpenByAssociation = 4,
    oaOpenByInternalNotepad = 5,
    oaOpenByInternalViewer = 6,
};
inline constexpr int ObjectActionCount = 7;

// The fixed items of the editor's type and action lists, in value order; never translated.
inline constexpr std::array<std::string_view, ObjectTypeCount> ObjectTypeDisplayNames{
    "File",      "Folder", "Virtual folder", "Execute file", "Patch",    "Serial",
    "Key-file",  "Language file", "Text file", "Help file", "Web-page", "Picture"};
inline constexpr std::array<std::string_view, ObjectActionCount> ObjectActionDisplayNames{
    "No action",           "Open",
    "Execute",             "Open by notepad",
    "Open by association", "Open by internal notepad",
    "Open by internal viewer"};

// Display name of a stored value; empty for a value outside the list.
std::string_view ObjectTypeDisplayName(std::uint8_t value);
std::string_view ObjectActionDisplayName(std::uint8_t value);

// The seven project properties, in file order. Multi-line texts end every line with CR LF.
struct TProjectRec {
    std::string ProjectDataDir;
    std::string ProjectName;
    std::string ProjectName2;
    std::string SplashFileName;
    std::int32_t SplashShowTime = 500;  // milliseconds
    bool AbsolutePath = true;
    std::string ProjectDescription;

    bool operator==(const TProjectRec&) const = default;
};

// Folders and virtual folders hold other objects; every other type stands alone.
bool MayHaveChildren(std::uint8_t objectType);

// The object record carried by every tree node, fields in file order. Texts are bytes in the
// system's code page; ObjectType and ObjectAction keep whatever byte the file held.
struct TNodeData {
    std::string Caption;
    std::string Hint;
    std::uint8_t ObjectType = otFile;
    std::uint8_t ObjectAction = oaNoAction;
    std::string PathFileName;
    std::string Parameters;
    std::string Comments;

    bool operator==(const TNodeData&) const = default;
};

}  // namespace tomlet
