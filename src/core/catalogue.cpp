#include "core/catalogue.h"

#include <array>
#include <cstddef>

namespace tomlet {

namespace {

using enum TextId;

constexpr std::array<CatalogueEntry, 97> Entries{{
    {text_NewObject, "text_NewObject", "Text", "New object"},
    {text_ProjectDir, "text_ProjectDir", "Text", "Project data dir: "},
    {text_SearchFiles_D, "text_SearchFiles_D", "Text", "Search of files:  %d files found..."},
    {text_Scanning_D, "text_Scanning_D", "Text", "Scanning: processing %d file..."},
    {text_LoadingData_D, "text_LoadingData_D", "Text", "Loading data: processing record %d..."},
    {text_SavingData_D, "text_SavingData_D", "Text", "Saving data: processing record %d..."},
    {hint_Hint, "hint_Hint", "Hint", "*  Hint: "},
    {hint_Comments, "hint_Comments", "Hint", "*  Comments: "},
    {hint_PathFileName, "hint_PathFileName", "Hint", "*  Path, filename: "},
    {hint_FileSize, "hint_FileSize", "Hint", "*  Size: "},
    {hint_Parameters, "hint_Parameters", "Hint", "*  Parameters: "},
    {hint_Attributes, "hint_Attributes", "Hint", "*  Attributes: "},
    {hint_fa_directory, "hint_fa_directory", "Hint", "directory"},
    {hint_fa_readonly, "hint_fa_readonly", "Hint", "read only"},
    {hint_fa_hidden, "hint_fa_hidden", "Hint", "hidden"},
    {hint_fa_archive, "hint_fa_archive", "Hint", "archive"},
    {hint_fa_system, "hint_fa_system", "Hint", "system"},
    {hint_fa_temporary, "hint_fa_temporary", "Hint", "temporary"},
    {hint_fa_offline, "hint_fa_offline", "Hint", "offline"},
    {hint_fa_compressed, "hint_fa_compressed", "Hint", "compressed"},
    {hint_fa_noattributes, "hint_fa_noattributes", "Hint", "no attributes"},
    {hint_fa_virtual, "hint_fa_virtual", "Hint", "virtual object"},
    {message_DeleteObject_S, "message_DeleteObject_S", "Message", "Delete object < \"%s\" > ?"},
    {message_CantOpenDefaultFile, "message_CantOpenDefaultFile", "Message",
     "Can't open default file!"},
    {message_DeleteAllInformation, "message_DeleteAllInformation", "Message",
     "The information will be lost!\rDelete all?"},
    {message_DefaultFileNotFound, "message_DefaultFileNotFound", "Message",
     "Default file not found!"},
    {message_CantChangeProjectDataDir, "message_CantChangeProjectDataDir", "Message",
     "To change the data directory it is possible only for the empty project\r\n or in case the "
     "data directory of the project does not exist!!"},
    {message_IncorrectPath, "message_IncorrectPath", "Message", "Incorrect path!"},
    {message_PathNotContainInProjectDir, "message_PathNotContainInProjectDir", "Message",
     "The path does not contain in the data directory of the project!"},
    {message_ChangeCanceled_FolderCantBeFile, "message_ChangeCanceled_FolderCantBeFile", "Message",
     "Data change canceled!\r\nFolder with child object can not be file!"},
    {message_ProjectDataDirNotExist, "message_ProjectDataDirNotExist", "Message",
     "The directory of the data does not exist or is incorrect!"},
    {message_FileNotExistOrNotContainInProjectDir, "message_FileNotExistOrNotContainInProjectDir",
     "Message",
     "The file does not exist or does not contain in the data directory of the project!"},
    {message_IncorrectFormatFile, "message_IncorrectFormatFile", "Message",
     "The file is not Tomlet-structure, the file of the incorrect format or file is damaged!"},
    {message_RecordNotFound, "message_RecordNotFound", "Message", "Record not found!"},
    {message_FileVersionHigherUseNewerTomlet, "message_FileVersionHigherUseNewerTomlet", "Message",
     "Cant open the tml-file of this version. Use Tomlet of newer version!"},
    {message_CantWriteInifile, "message_CantWriteInifile", "Message", "Cant write Inifile!"},
    {message_CantOpenInifile, "message_CantOpenInifile", "Message", "Cant open Inifile!"},
    {message_ProjectDirNotExist_RiskCreateIncorrectProject_SetCorrectProjectDir,
     "message_ProjectDirNotExist_RiskCreateIncorrectProject_SetCorrectProjectDir", "Message",
     "The directory of the project does not exist!\r\nThe risk of creation of the incorrect "
     "project is possible.\r\nSet the correct directory of the project on a sheet\r\nproperties "
     "of the project"},
    {message_NestedObjectsAddedOnlyFolderOrVirtualFolder,
     "message_NestedObjectsAddedOnlyFolderOrVirtualFolder", "Message",
     "The nested objects can be added only to folder or virtual folder!"},
    {message_TreeTooDeep_D, "message_TreeTooDeep_D", "Message",
     "The tree of objects is nested deeper than %d levels!"},
    {message_SkippedNames_D, "message_SkippedNames_D", "Message",
     "%d files or folders were left out:"},
    {message_SaveChangesToProject_S, "message_SaveChangesToProject_S", "Message",
     "Save the changes to the project < \"%s\" > ?"},
    {message_NewProject, "message_NewProject", "Message", "new project"},
    {message_DiscUnchanged, "message_DiscUnchanged", "Message",
     "Nothing to update: the catalogue matches the disc."},
    {text_NewOnDisc_D, "text_NewOnDisc_D", "Text", "New on disc: %d"},
    {text_GoneFromDisc_D, "text_GoneFromDisc_D", "Text", "Gone from disc: %d"},
    {text_RenamedOnDisc_D, "text_RenamedOnDisc_D", "Text", "Renamed or moved: %d"},
    {text_UpdateOptions, "text_UpdateOptions", "Text", "Update from disc: options"},
    {message_ProjectFileNotFound_S, "message_ProjectFileNotFound_S", "Message",
     "Project file not found!\r\n%s"},
    {message_TooManyObjects_D, "message_TooManyObjects_D", "Message",
     "The scan would make more than %d objects, more than a project may hold!"},
    {message_RunOutsideDisc_S, "message_RunOutsideDisc_S", "Message",
     "This object lies outside the disc, beyond what the catalogue describes:\r\n%s\r\nRun it "
     "all the same?"},
    {message_SkippedCodePage, "message_SkippedCodePage", "Message",
     "the code page cannot hold its name"},
    {message_SkippedBackslash, "message_SkippedBackslash", "Message",
     "its name holds \\, which separates folders in stored paths"},
    {message_SkippedUnlistable, "message_SkippedUnlistable", "Message",
     "the folder cannot be read"},
    {message_SkippedLinkLoop, "message_SkippedLinkLoop", "Message",
     "the link leads back to the folder scanned or above it"},
    {message_PreferencesNotAFile_S, "message_PreferencesNotAFile_S", "Message",
     "The preferences file is not a file but a folder, a pipe or a device:\r\n%s\r\nTomlet "
     "starts with its defaults and keeps none of them."},
    {message_ProjectPathIsFolder_S, "message_ProjectPathIsFolder_S", "Message",
     "This is a folder, not a project file:\r\n%s"},
    {message_ProjectPathIsSpecial_S, "message_ProjectPathIsSpecial_S", "Message",
     "This is a device, a pipe or a socket, not a project file:\r\n%s"},
    {message_CodePageLacks_DS, "message_CodePageLacks_DS", "Message",
     "The project's code page %d cannot hold these characters: %s\r\nTo store them, make it a "
     "UTF-8 project: _CodePage=65001 in section [Main] of tomlet.ini."},
    {message_TextsDoNotDecode_DS, "message_TextsDoNotDecode_DS", "Message",
     "Some texts of this project do not decode in code page %d: it was written in another "
     "one.\r\nSet that code page as _CodePage in section [Main] of tomlet.ini%s"},
    {message_ObjectMissing_S, "message_ObjectMissing_S", "Message",
     "The file or folder of this object does not exist:\r\n%s"},
    {message_NoProgramToOpen_S, "message_NoProgramToOpen_S", "Message",
     "No program is registered to open this object:\r\n%s"},
    {message_CannotStart_S, "message_CannotStart_S", "Message",
     "The program could not be started:\r\n%s"},
    {text_WebFind, "text_WebFind", "Text", "Find:"},
    {text_WebComments, "text_WebComments", "Text", "Comments"},
    {text_WebAboutProject, "text_WebAboutProject", "Text", "About project"},
    {text_WebOpen, "text_WebOpen", "Text", "Open:"},
    {text_WebFound_D, "text_WebFound_D", "Text", "Found: %d"},
    {text_WebNothingFound, "text_WebNothingFound", "Text", "Nothing found."},
    {text_WebSearching, "text_WebSearching", "Text", "Searching..."},
    {text_WebNeedsScript, "text_WebNeedsScript", "Text",
     "This catalogue needs JavaScript, which the browser has switched off."},
    {text_WritingWebPage_D, "text_WritingWebPage_D", "Text",
     "Writing the web page: processing record %d..."},
    {message_WebNoFile, "message_WebNoFile", "Message",
     "This object has no file or folder behind it."},
    {message_WebOutsideDisc, "message_WebOutsideDisc", "Message",
     "This object leads outside the disc, so the page does not open it."},
    {message_WebPageOffDisc, "message_WebPageOffDisc", "Message",
     "The page was written outside the disc's folder, so it cannot open the disc's files."},
    {message_WebMissing, "message_WebMissing", "Message",
     "The file or folder was not on the disc when the page was written."},
    {message_WebPageNotOurs_S, "message_WebPageNotOurs_S", "Message",
     "%s was not written by Tomlet: the web page is not written over it."},
    {text_WebPageFolder, "text_WebPageFolder", "Text",
     "Folder of the web page (the disc's folder, so that it opens the disc's files)"},
    {message_WebPageWritten_S, "message_WebPageWritten_S", "Message",
     "The web page is written:\r\n%s\r\nOpen it in the browser?"},
    {text_ShelfIndexing_D, "text_ShelfIndexing_D", "Text",
     "Indexing the shelf: %d objects read..."},
    {text_ShelfFound_D, "text_ShelfFound_D", "Text", "Objects found: %d"},
    {text_ShelfFirstShown_D, "text_ShelfFirstShown_D", "Text", "(the first %d shown)"},
    {text_ShelfOnline, "text_ShelfOnline", "Text", "online"},
    {text_ShelfOffline, "text_ShelfOffline", "Text", "offline"},
    {text_ShelfFileMissing, "text_ShelfFileMissing", "Text", "file missing"},
    {text_ShelfDamaged, "text_ShelfDamaged", "Text", "damaged"},
    {text_ShelfNotIndexed, "text_ShelfNotIndexed", "Text", "not indexed"},
    {message_ShelfSetAside_S, "message_ShelfSetAside_S", "Message",
     "The shelf could not be used (%s) and a new one was made.\r\nThe old file was kept as:"},
    {message_ShelfIndexAgain_D, "message_ShelfIndexAgain_D", "Message",
     "Refresh the shelf to index its %d catalogues again."},
    {message_ShelfNoCatalogues, "message_ShelfNoCatalogues", "Message",
     "No catalogues (*.tml) were found there."},
    {message_ShelfUnreadable_D, "message_ShelfUnreadable_D", "Message",
     "%d catalogues could not be read; they keep what was found in them before:"},
    {text_ShelfHitColumns, "text_ShelfHitColumns", "Text",
     "Object|Place in the tree|Catalogue|Disc"},
    {text_ShelfCatalogueColumns, "text_ShelfCatalogueColumns", "Text",
     "Catalogue|State|Objects|Indexed|File"},
    {text_Cancel, "text_Cancel", "Text", "Cancel"},
    {text_ObjectTypes, "text_ObjectTypes", "Text",
     "File|Folder|Virtual folder|Execute file|Patch|Serial|Key-file|Language file|Text "
     "file|Help file|Web-page|Picture"},
    {text_ObjectActions, "text_ObjectActions", "Text",
     "No action|Open|Execute|Open by notepad|Open by association|Open by internal "
     "notepad|Open by internal viewer"},
    {SaveFailure, "", "", "Cant save file!"},
}};

// The table is indexed by TextId: every entry must sit at its own position.
constexpr bool EntriesInIdOrder() {
    for (std::size_t i = 0; i < Entries.size(); ++i)
        if (static_cast<std::size_t>(Entries[i].Id) != i)
            return false;
    return true;
}
static_assert(EntriesInIdOrder());

std::array<std::string, Entries.size()>& CurrentTexts() {
    static std::array<std::string, Entries.size()> texts = [] {
        std::array<std::string, Entries.size()> defaults;
        for (std::size_t i = 0; i < Entries.size(); ++i)
            defaults[i] = Entries[i].Default;
        return defaults;
    }();
    return texts;
}

std::string Substitute(std::string_view format, std::string_view placeholder,
                       std::string_view value) {
    const auto at = format.find(placeholder);
    if (at == std::string_view::npos)
        return std::string(format);
    std::string result;
    result.reserve(format.size() + value.size());
    result.append(format.substr(0, at))
        .append(value)
        .append(format.substr(at + placeholder.size()));
    return result;
}

}  // namespace

std::span<const CatalogueEntry> CatalogueEntries() {
    return Entries;
}

const std::string& Text(TextId id) {
    return CurrentTexts()[static_cast<std::size_t>(id)];
}

void SetText(TextId id, std::string text) {
    if (id == SaveFailure)
        return;
    CurrentTexts()[static_cast<std::size_t>(id)] = std::move(text);
}

void ResetCatalogue() {
    for (std::size_t i = 0; i < Entries.size(); ++i)
        CurrentTexts()[i] = Entries[i].Default;
}

std::string ExpandLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '#' && i + 1 < text.size() && text[i + 1] == '#') {
            result += "\r\n";
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string FormatCount(std::string_view format, long long count) {
    return Substitute(format, "%d", std::to_string(count));
}

std::string FormatString(std::string_view format, std::string_view argument) {
    return Substitute(format, "%s", argument);
}

}  // namespace tomlet
