#include "core/language_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"
#include "support/file_system_faults.h"
#include "support/ini_listing.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

using testing::IniKeyNames;
using testing::ListIniEntries;
using testing::ReadWholeFile;
using testing::TempFolder;

// Every entry has a key but SaveFailure.
std::size_t KeyedEntries() {
    return CatalogueEntries().size() - 1;
}

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override { ResetCatalogue(); }
    void TearDown() override { ResetCatalogue(); }
    // The program's data folder, with its closing separator.
    std::string DataFolder() const { return folder / ""; }

    const ScopedProcessCodePage codePage{ProcessCodec().CodePage()};  // put back afterwards
    TempFolder folder;
};

TEST_F(LanguageFileTest, LookupFindsOnlyNonEmptyValuesAndWritesTheOthersBackEmpty) {
    const std::string path = folder.WriteFile(
        "Test.lng",
        "[frm_Find]\r\nbutton_Ok.Caption=OK\r\nblank.Caption=   \r\nempty.Caption=\r\n"
        "label_Text.Caption=\"  Text:  \"\r\n");
    const IniKey keys[] = {{"FRM_FIND", "Button_OK.caption"}, {"frm_Find", "label_Text.Caption"},
                           {"frm_Find", "blank.Caption"},     {"frm_Find", "empty.Caption"},
                           {"frm_Find", "missing.Caption"},   {"frm_Scan", "Form.Caption"},
                           {"frm_find", "MISSING.Caption"}};
    EXPECT_EQ(LanguageFile(path).Lookup(keys),
              (std::vector<std::optional<std::string>>{"OK", "  Text:  ", {}, {}, {}, {}, {}}));

    EXPECT_EQ(ReadWholeFile(path),
              "[frm_Find]\r\nbutton_Ok.Caption=OK\r\nblank.Caption=\r\nempty.Caption=\r\n"
              "label_Text.Caption=\"  Text:  \"\r\nmissing.Caption=\r\n"
              "[frm_Scan]\r\nForm.Caption=\r\n");
}

TEST_F(LanguageFileTest, LoadingAnEmptyFileMakesItATemplateOfTheCatalogue) {
    folder.WriteFile("Test.lng");
    ASSERT_TRUE(LoadCatalogue(folder / "Test.lng"));

    // In load order, each key added to the end of its section.
    std::vector<std::string> expected;
    for (const std::string_view section : {"Text", "Hint", "Message"}) {
        for (const CatalogueEntry& entry : CatalogueEntries()) {
            if (entry.Section == section)
                expected.push_back(std::string(entry.Section) + "/" + std::string(entry.Key));
        }
    }
    ASSERT_EQ(expected.size(), KeyedEntries());
    EXPECT_EQ(IniKeyNames(folder / "Test.lng"), expected);
    for (const auto& entry : ListIniEntries(folder / "Test.lng"))
        EXPECT_EQ(entry.Value, "") << entry.Key;
    for (const CatalogueEntry& entry : CatalogueEntries())
        EXPECT_EQ(Text(entry.Id), entry.Default) << entry.Key;
}

TEST_F(LanguageFileTest, LoadingReplacesTheTextsTheFileGivesWithLineBreaksExpanded) {
    folder.WriteFile("Test.lng",
                     "[Message]\r\nmessage_IncorrectPath=Bad path!##Try again.\r\n"
                     "[Hint]\r\nhint_Hint=\"*  Tip: \"\r\n"
                     "[Text]\r\ntext_NewObject=%d 100% new\r\n"
                     "[Wrong]\r\ntext_ProjectDir=not in its section\r\n");
    ASSERT_TRUE(LoadCatalogue(folder / "Test.lng"));
    EXPECT_EQ(Text(TextId::message_IncorrectPath), "Bad path!\r\nTry again.");
    EXPECT_EQ(Text(TextId::hint_Hint), "*  Tip: ");
    EXPECT_EQ(Text(TextId::text_NewObject), "%d 100% new");
    EXPECT_EQ(Text(TextId::text_ProjectDir), "Project data dir: ");
    EXPECT_EQ(Text(TextId::SaveFailure), "Cant save file!");
}

TEST_F(LanguageFileTest, AKeyMissingFromTheNextLanguageKeepsTheTextBefore) {
    folder.WriteFile("First.lng", "[Text]\ntext_NewObject=Neues Objekt\ntext_ProjectDir=Daten:\n");
    folder.WriteFile("Second.lng", "[Text]\ntext_ProjectDir=Donnees:\n");
    ASSERT_TRUE(LoadCatalogue(folder / "First.lng"));
    ASSERT_TRUE(LoadCatalogue(folder / "Second.lng"));
    EXPECT_EQ(Text(TextId::text_NewObject), "Neues Objekt");
    EXPECT_EQ(Text(TextId::text_ProjectDir), "Donnees:");
}

TEST_F(LanguageFileTest, AMissingFileChangesNothingAndIsNotCreated) {
    EXPECT_TRUE(LoadCatalogue(folder / "Missing.lng"));
    EXPECT_TRUE(LoadCatalogue(folder / ".lng"));
    EXPECT_FALSE(std::filesystem::exists(folder / "Missing.lng"));
    EXPECT_FALSE(std::filesystem::exists(folder / ".lng"));
    EXPECT_EQ(Text(TextId::message_RecordNotFound), "Record not found!");
}

TEST_F(LanguageFileTest, AReadOnlyFileIsUsedWithoutError) {
    const std::string path = folder.WriteFile(
        "disc/ReadOnly.lng", "[Message]\nmessage_RecordNotFound=Nicht gefunden!\n");
    const std::string before = ReadWholeFile(path);
    std::filesystem::permissions(NativePath(path), std::filesystem::perms::owner_read);
    std::filesystem::permissions(
        NativePath(folder / "disc"),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    ASSERT_TRUE(LoadCatalogue(folder / "disc/ReadOnly.lng"));
    EXPECT_EQ(Text(TextId::message_RecordNotFound), "Nicht gefunden!");
    if (!testing::RunsAsSuperuser()) {
        EXPECT_EQ(ReadWholeFile(path), before);
    }
}

TEST_F(LanguageFileTest, AFailedWriteBackCountsAsNotFound) {
    const IniKey key[] = {{"Text", "text_NewObject"}};
    EXPECT_EQ(LanguageFile(folder / "gone/Test.lng").Lookup(key).front(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
}

// On a full disc the keys the file lacks cannot be added; the translation it holds stays whole.
TEST_F(LanguageFileTest, AWriteBackThatFailsLeavesTheFileByteForByte) {
    SKIP_ON_WINDOWS("a file size limit stands for a full disc on POSIX systems only");
    const std::string path =
        folder.WriteFile("Russian.lng",
                         "\xEF\xBB\xBF[Message]\r\nmessage_RecordNotFound=\xD0\x9D\xD0\xB5\xD1\x82!"
                         "\r\n\r\n[Text]\r\ntext_NewObject=\xD0\x9E\xD0\xB1\xD1\x8A\xD0\xB5\xD0\xBA"
                         "\xD1\x82\r\n");
    const std::string before = ReadWholeFile(path);
    {
        const testing::ScopedFileSizeLimit fullDisc(before.size() + 10);
        ASSERT_TRUE(LoadCatalogue(folder / "Russian.lng"));
    }
    EXPECT_EQ(Text(TextId::text_NewObject), "\xD0\x9E\xD0\xB1\xD1\x8A\xD0\xB5\xD0\xBA\xD1\x82");
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST_F(LanguageFileTest, AUtf8FileServesASingleByteCodePage) {
    SetProcessCodePage(1251);
    // "Запись не найдена!" in UTF-8 with the byte-order mark.
    folder.WriteFile("Russian.lng",
                     "\xEF\xBB\xBF[Message]\r\nmessage_RecordNotFound="
                     "\xD0\x97\xD0\xB0\xD0\xBF\xD0\xB8\xD1\x81\xD1\x8C \xD0\xBD\xD0\xB5 "
                     "\xD0\xBD\xD0\xB0\xD0\xB9\xD0\xB4\xD0\xB5\xD0\xBD\xD0\xB0!\r\n");
    ASSERT_TRUE(LoadCatalogue(folder / "Russian.lng"));
    EXPECT_EQ(Text(TextId::message_RecordNotFound),
              "\xC7\xE0\xEF\xE8\xF1\xFC \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED\xE0!");
    const std::string written = ReadWholeFile(folder / "Russian.lng");
    EXPECT_TRUE(written.starts_with("\xEF\xBB\xBF[Message]\r\nmessage_RecordNotFound=\xD0\x97"));
    EXPECT_EQ(IniKeyNames(folder / "Russian.lng").size(), KeyedEntries());
}

TEST(LanguageDisplayName, RemovesEveryOccurrenceOfTheExtensionIgnoringCase) {
    EXPECT_EQ(LanguageDisplayName("English.lng"), "English");
    EXPECT_EQ(LanguageDisplayName("English.LNG.lng"), "English");
    EXPECT_EQ(LanguageDisplayName("Deutsch.Lng"), "Deutsch");
    EXPECT_EQ(LanguageDisplayName("Bad.lngua.lng"), "Badua");
    EXPECT_EQ(LanguageDisplayName(".lng"), "");
}

TEST_F(LanguageFileTest, ListsTheLanguagesOfTheDataFolderOnceEachInNameOrderOrNone) {
    EXPECT_TRUE(ListLanguages(DataFolder()).empty());
    folder.WriteFile("Russian.lng");
    folder.WriteFile("English.lng");
    folder.WriteFile("English.LNG.lng");
    folder.WriteFile("deutsch.lng");
    folder.WriteFile(".lng");
    folder.WriteFile("Upper.LNG");
    folder.MakeFolder("Folder.lng");
    folder.WriteFile("notes.txt");
    folder.WriteFile("Other.lngx");
    folder.WriteFile("sub/Nested.lng");
    EXPECT_EQ(ListLanguages(DataFolder()),
              (std::vector<std::string>{"", "English", "Folder", "Russian", "Upper", "deutsch"}));
    EXPECT_TRUE(ListLanguages(folder / "missing/").empty());
}

TEST_F(LanguageFileTest, NamesLanguagesInTheProcessCodePage) {
    folder.WriteFile("Русский.lng");
    folder.WriteFile("Ärger.lng");  // code page 1251 lacks Ä
    SetProcessCodePage(1251);
    EXPECT_EQ(ListLanguages(DataFolder()),
              std::vector<std::string>{"\xD0\xF3\xF1\xF1\xEA\xE8\xE9"});
}

}  // namespace
}  // namespace tomlet
