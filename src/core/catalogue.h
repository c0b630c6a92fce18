#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tomlet {

// The texts the program composes in code, in the catalogue's load order. The names are the
// language-file keys; SaveFailure has no key and is never translated.
enum class TextId {
    text_NewObject,
    text_ProjectDir,
    text_SearchFiles_D,
    text_Scanning_D,
    text_LoadingData_D,
    text_SavingData_D,
    hint_Hint,
    hint_Comments,
    hint_PathFileName,
    hint_FileSize,
    hint_Parameters,
    hint_Attributes,
    hint_fa_directory,
    hint_fa_readonly,
    hint_fa_hidden,
    hint_fa_archive,
    hint_fa_system,
    hint_fa_temporary,
    hint_fa_offline,
    hint_fa_compressed,
    hint_fa_noattributes,
    hint_fa_virtual,
    message_DeleteObject_S,
    message_CantOpenDefaultFile,
    message_DeleteAllInformation,
    message_DefaultFileNotFound,
    message_CantChangeProjectDataDir,
    message_IncorrectPath,
    message_PathNotContainInProjectDir,
    message_ChangeCanceled_FolderCantBeFile,
    message_ProjectDataDirNotExist,
    message_FileNotExistOrNotContainInProjectDir,
    message_IncorrectFormatFile,
    message_RecordNotFound,
    message_FileVersionHigherUseNewerTomlet,
    message_CantWriteInifile,
    message_CantOpenInifile,
    message_ProjectDirNotExist_RiskCreateIncorrectProject_SetCorrectProjectDir,
    message_NestedObjectsAddedOnlyFolderOrVirtualFolder,
    message_TreeTooDeep_D,
    message_SkippedNames_D,
    message_SaveChangesToProject_S,
    message_NewProject,
    message_DiscUnchanged,
    text_NewOnDisc_D,
    text_GoneFromDisc_D,
    text_RenamedOnDisc_D,
    text_UpdateOptions,
    message_ProjectFileNotFound_S,
    message_TooManyObjects_D,
    message_RunOutsideDisc_S,
    message_SkippedCodePage,
    message_SkippedBackslash,
    message_SkippedUnlistable,
    message_SkippedLinkLoop,
    message_PreferencesNotAFile_S,
    message_ProjectPathIsFolder_S,
    message_ProjectPathIsSpecial_S,
    message_CodePageLacks_DS,
    message_TextsDoNotDecode_DS,
    // Why an object's action could not run (ui/main_window/object_running.h).
    message_ObjectMissing_S,
    message_NoProgramToOpen_S,
    message_CannotStart_S,
    // The web page (core/web_page.h): its own texts and why an object cannot be opened.
    text_WebFind,
    text_WebComments,
    text_WebAboutProject,
    text_WebOpen,
    text_WebFound_D,
    text_WebNothingFound,
    text_WebSearching,
    text_WebNeedsScript,
    text_WritingWebPage_D,
    message_WebNoFile,
    message_WebOutsideDisc,
    message_WebPageOffDisc,
    message_WebMissing,
    message_WebPageNotOurs_S,
    text_WebPageFolder,
    message_WebPageWritten_S,
    // The shelf (core/shelf.h) and its window.
    text_ShelfIndexing_D,
    text_ShelfFound_D,
    text_ShelfFirstShown_D,
    text_ShelfOnline,
    text_ShelfOffline,
    text_ShelfFileMissing,
    text_ShelfDamaged,
    text_ShelfNotIndexed,
    message_ShelfSetAside_S,
    message_ShelfIndexAgain_D,
    message_ShelfNoCatalogues,
    message_ShelfUnreadable_D,
    text_ShelfHitColumns,
    text_ShelfCatalogueColumns,
    text_Cancel,
    // The items of the editor's type and action lists, in value order, separated by '|'.
    text_ObjectTypes,
    text_ObjectActions,
    SaveFailure,
};

struct CatalogueEntry {
    TextId Id;
    std::string_view Key;      // empty for SaveFailure
    std::string_view Section;  // "Text", "Hint" or "Message"; empty for SaveFailure
    std::string_view Default;
};

// All entries in load order.
std::span<const CatalogueEntry> CatalogueEntries();

// The current text of an entry.
const std::string& Text(TextId id);
// Replaces a keyed entry's text (the language loader's job); SaveFailure cannot be replaced.
void SetText(TextId id, std::string text);
// Puts every entry back to its default (for tests).
void ResetCatalogue();

// Every "##" becomes CR LF, left to right, without rescanning.
std::string ExpandLineBreaks(std::string_view text);
// Substitutes the first %d (FormatCount) or %s (FormatString) of a format; every other character,
// other percent signs included, stays as it is. The argument is never read as a format.
std::string FormatCount(std::string_view format, long long count);
std::string FormatString(std::string_view format, std::string_view argument);

}  // namespace tomlet
