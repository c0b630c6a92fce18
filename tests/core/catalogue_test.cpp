#include "core/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tomlet {
namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void TearDown() override { ResetCatalogue(); }
};

std::size_t Count(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(CatalogueTest, KeysSectionsAndPlaceholdersAgree) {
    const auto entries = CatalogueEntries();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(TextId::SaveFailure) + 1);
    std::set<std::string_view> keys;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        const auto& entry = entries[i];
        SCOPED_TRACE(std::string(entry.Key));
        EXPECT_EQ(static_cast<std::size_t>(entry.Id), i);
        EXPECT_TRUE(keys.insert(entry.Key).second);
        const auto prefix = entry.Key.substr(0, entry.Key.find('_'));
        const std::string expectedSection = prefix == "text"   ? "Text"
                                            : prefix == "hint" ? "Hint"
                                                               : "Message";
        EXPECT_EQ(entry.Section, expectedSection);
        const bool count = entry.Key.ends_with("_D");
        const bool string = entry.Key.ends_with("_S");
        EXPECT_EQ(Count(entry.Default, "%d"), count ? 1u : 0u);
        EXPECT_EQ(Count(entry.Default, "%s"), string ? 1u : 0u);
        EXPECT_EQ(Count(entry.Default, "%"), count || string ? 1u : 0u);
    }
    EXPECT_EQ(entries.back().Id, TextId::SaveFailure);
    EXPECT_TRUE(entries.back().Key.empty());
    EXPECT_TRUE(entries.back().Section.empty());
}

TEST_F(CatalogueTest, LoadOrderFollowsTheTable) {
    const auto entries = CatalogueEntries();
    EXPECT_EQ(entries[0].Key, "text_NewObject");
    EXPECT_EQ(entries[6].Key, "hint_Hint");
    EXPECT_EQ(entries[12].Key, "hint_fa_directory");
    EXPECT_EQ(entries[21].Key, "hint_fa_virtual");
    EXPECT_EQ(entries[22].Key, "message_DeleteObject_S");
    EXPECT_EQ(entries[37].Key,
              "message_ProjectDirNotExist_RiskCreateIncorrectProject_SetCorrectProjectDir");
    EXPECT_EQ(entries[38].Key, "message_NestedObjectsAddedOnlyFolderOrVirtualFolder");
    EXPECT_EQ(entries[39].Key, "message_TreeTooDeep_D");
}

TEST_F(CatalogueTest, DefaultsAreExact) {
    EXPECT_EQ(Text(TextId::text_SearchFiles_D), "Search of files:  %d files found...");
    EXPECT_EQ(Text(TextId::hint_Hint), "*  Hint: ");
    EXPECT_EQ(Text(TextId::hint_PathFileName), "*  Path, filename: ");
    EXPECT_EQ(Text(TextId::hint_fa_noattributes), "no attributes");
    EXPECT_EQ(Text(TextId::message_DeleteObject_S), "Delete object < \"%s\" > ?");
    EXPECT_EQ(Text(TextId::message_CantOpenDefaultFile), "Can't open default file!");
    EXPECT_EQ(Text(TextId::message_CantOpenInifile), "Cant open Inifile!");
    EXPECT_EQ(Text(TextId::message_DeleteAllInformation),
              std::string("The information will be lost!") + '\x0D' + "Delete all?");
    EXPECT_EQ(
        Text(TextId::message_ChangeCanceled_FolderCantBeFile),
        std::string("Data change canceled!\x0D\x0A") + "Folder with child object can not be file!");
    EXPECT_EQ(Text(TextId::message_CantChangeProjectDataDir),
              "To change the data directory it is possible only for the empty project\x0D\x0A or "
              "in case the data directory of the project does not exist!!");
    EXPECT_EQ(
        Text(TextId::message_ProjectDirNotExist_RiskCreateIncorrectProject_SetCorrectProjectDir),
        "The directory of the project does not exist!\x0D\x0AThe risk of creation of the incorrect "
        "project is possible.\x0D\x0ASet the correct directory of the project on a "
        "sheet\x0D\x0Aproperties of the project");
    EXPECT_EQ(Text(TextId::SaveFailure), "Cant save file!");
}

TEST_F(CatalogueTest, SetTextReplacesKeyedEntriesOnlyAndResetRestores) {
    SetText(TextId::message_IncorrectPath, "Falscher Pfad!");
    SetText(TextId::SaveFailure, "Speichern fehlgeschlagen");
    EXPECT_EQ(Text(TextId::message_IncorrectPath), "Falscher Pfad!");
    EXPECT_EQ(Text(TextId::SaveFailure), "Cant save file!");
    EXPECT_EQ(Text(TextId::message_RecordNotFound), "Record not found!");

    ResetCatalogue();
    EXPECT_EQ(Text(TextId::message_IncorrectPath), "Incorrect path!");
}

TEST(ExpandLineBreaksTest, ReplacesPairsLeftToRightWithoutRescanning) {
    EXPECT_EQ(ExpandLineBreaks("a##b"), "a\r\nb");
    EXPECT_EQ(ExpandLineBreaks("###"), "\r\n#");
    EXPECT_EQ(ExpandLineBreaks("####"), "\r\n\r\n");
    EXPECT_EQ(ExpandLineBreaks("x#####y"), "x\r\n\r\n#y");
    EXPECT_EQ(ExpandLineBreaks("#a#"), "#a#");
    EXPECT_EQ(ExpandLineBreaks("no breaks"), "no breaks");
    EXPECT_EQ(ExpandLineBreaks(""), "");
}

TEST(FormatTest, SubstitutesOnlyTheFirstPlaceholder) {
    EXPECT_EQ(FormatCount("Search of files:  %d files found...", 12),
              "Search of files:  12 files found...");
    EXPECT_EQ(FormatCount("%d", -3), "-3");
    EXPECT_EQ(FormatCount("100% done, %d left, %d more", 4), "100% done, 4 left, %d more");
    EXPECT_EQ(FormatCount("%s %x %n", 4), "%s %x %n");
    EXPECT_EQ(FormatString("Delete object < \"%s\" > ?", "50% off %d %s"),
              "Delete object < \"50% off %d %s\" > ?");
    EXPECT_EQ(FormatString("%d %s %s", "x"), "%d x %s");
    EXPECT_EQ(FormatString("no placeholder", "x"), "no placeholder");
}

}  // namespace
}  // namespace tomlet
