#include "core/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "core/paths.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "support/temp_folder.h"

namespace tomlet {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;

class SettingsTest : public ::testing::Test {
protected:
    const ScopedProcessCodePage codePage{ProcessCodec().CodePage()};  // put back afterwards
    TempFolder folder;
    const std::string dataFolder = folder / "";
};

TEST_F(SettingsTest, WithoutAFileEveryFieldHoldsItsDefault) {
    TIniRec settings;
    settings.DefaultFile = "changed";
    settings.ShowMenu = false;
    ASSERT_TRUE(ReadSettings(dataFolder, settings));
    EXPECT_EQ(settings.DefaultFile, "default.tml");
    EXPECT_TRUE(settings.ShowCaption);
    EXPECT_FALSE(settings.Maximized);
    EXPECT_TRUE(settings.ShowMenu);
    EXPECT_TRUE(settings.ShowFileMenu && settings.ShowSearchMenu && settings.ShowViewMenu &&
                settings.ShowOptionsMenu && settings.ShowAboutMenu);
    EXPECT_EQ(ReadLanguageSetting(dataFolder), "");
    EXPECT_FALSE(std::filesystem::exists(folder / "tomlet.ini"));
}

TEST_F(SettingsTest, ReadsEveryKeyFromItsSection) {
    folder.WriteFile("tomlet.ini",
                     "[default]\r\n_defaultfile = \"discs\\my catalogue.tml\"\r\n"
                     "[MAIN]\r\n_Caption=0\r\n_Maximized=1\r\n_Menu=0\r\n_Language=Deutsch\r\n"
                     "[Menu]\r\n_File=0\r\n_Search=0\r\n_View=0\r\n_Options=0\r\n_About=0\r\n");
    TIniRec settings;
    ASSERT_TRUE(ReadSettings(dataFolder, settings));
    EXPECT_EQ(settings.DefaultFile, "discs\\my catalogue.tml");
    EXPECT_FALSE(settings.ShowCaption);
    EXPECT_TRUE(settings.Maximized);
    EXPECT_FALSE(settings.ShowMenu);
    EXPECT_FALSE(settings.ShowFileMenu || settings.ShowSearchMenu || settings.ShowViewMenu ||
                 settings.ShowOptionsMenu || settings.ShowAboutMenu);
    EXPECT_EQ(ReadLanguageSetting(dataFolder), "Deutsch");
}

// The language file lies in the program folder: a setting naming one elsewhere counts as none.
TEST_F(SettingsTest, ALanguageIsAPlainNameInTheProgramFolder) {
    const ScopedProcessCodePage japanese(932);
    const std::pair<std::string, std::string> cases[] = {
        {"Deutsch", "Deutsch"},
        {"../victim", ""},
        {"..\\victim", ""},
        {"/tmp/victim", ""},
        {"sub/victim", ""},
        {"..", ".."},
        {"\x95\x5C", "\x95\x5C"},  // "表": its second byte is '\\', which separates nothing
        {"C:victim", PathRules::Native().DriveLetters ? "" : "C:victim"},
    };
    for (const auto& [setting, language] : cases) {
        folder.WriteFile("tomlet.ini", "[Main]\r\n_Language=" + setting + "\r\n");
        EXPECT_EQ(ReadLanguageSetting(dataFolder), language) << setting;
    }
}

TEST_F(SettingsTest, FlagsThatAreNotIntegersKeepTheirDefaults) {
    folder.WriteFile("tomlet.ini",
                     "[Main]\n_Caption=yes\n_Maximized=2\n_Menu=-1\n"
                     "[Menu]\n_File=0x0\n_Search=$10\n_View=no\n_Options=\n_About=0x\n"
                     "[Default]\n_DefaultFile=\n");
    TIniRec settings;
    ASSERT_TRUE(ReadSettings(dataFolder, settings));
    EXPECT_TRUE(settings.ShowCaption);
    EXPECT_TRUE(settings.Maximized);
    EXPECT_TRUE(settings.ShowMenu);
    EXPECT_FALSE(settings.ShowFileMenu);
    EXPECT_TRUE(settings.ShowSearchMenu);
    EXPECT_TRUE(settings.ShowViewMenu);
    EXPECT_TRUE(settings.ShowOptionsMenu);
    EXPECT_TRUE(settings.ShowAboutMenu);
    // A key with an empty value is present: the start-up then uses the program folder's file.
    EXPECT_EQ(settings.DefaultFile, "");
}

// A relative DefaultFile is looked for in the current folder, as a disc's autorun starts the
// program there, and else in the program folder, where the disc keeps it beside the program.
TEST_F(SettingsTest, TheStartupProjectIsRelativeToTheCurrentFolderOrElseTheProgramFolder) {
    const StartupContext program = MakeStartupContext(dataFolder);
    const TempFolder elsewhere;
    const testing::CurrentFolderScope current(elsewhere.Path());
    TIniRec settings;
    // Found in neither: the current folder's, which the start-up does not find.
    EXPECT_EQ(StartupProjectPath(program, settings), elsewhere / "default.tml");
    folder.WriteFile("default.tml");
    folder.WriteFile("Catalogue/disc.tml");
    EXPECT_EQ(StartupProjectPath(program, settings), folder / "default.tml");
    settings.DefaultFile = "Catalogue/disc.tml";
    EXPECT_EQ(StartupProjectPath(program, settings), folder / "Catalogue/disc.tml");
    elsewhere.WriteFile("Catalogue/disc.tml");
    EXPECT_EQ(StartupProjectPath(program, settings), elsewhere / "Catalogue/disc.tml");
    settings.DefaultFile = "";
    EXPECT_EQ(StartupProjectPath(program, settings), folder / "default.tml");
    settings.DefaultFile = folder / "elsewhere.tml";
    EXPECT_EQ(StartupProjectPath(program, settings), folder / "elsewhere.tml");
    // A project named on the command line comes first.
    const StartupContext named = MakeStartupContext(dataFolder, folder / "named.tml");
    EXPECT_EQ(StartupProjectPath(named, settings), folder / "named.tml");
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeReadIsReported) {
    folder.MakeFolder("tomlet.ini");
    TIniRec settings;
    EXPECT_FALSE(ReadSettings(dataFolder, settings));
    EXPECT_THROW(ReadLanguageSetting(dataFolder), std::runtime_error);
    EXPECT_FALSE(WriteLanguageSetting(dataFolder, "Test"));
}

TEST_F(SettingsTest, WritingTheLanguageCreatesAFileWithOneSectionMainOrKeepsTheRest) {
    ASSERT_TRUE(WriteLanguageSetting(dataFolder, "Russian"));
    EXPECT_EQ(ReadWholeFile(folder / "tomlet.ini"), "[Main]\r\n_Language=Russian\r\n");
    EXPECT_EQ(ReadLanguageSetting(dataFolder), "Russian");

    folder.WriteFile("tomlet.ini", "[Menu]\n_About=0\n\n[Main]\n_Caption=0\n_Language=Old\n");
    ASSERT_TRUE(WriteLanguageSetting(dataFolder, "New"));
    EXPECT_EQ(ReadWholeFile(folder / "tomlet.ini"),
              "[Menu]\n_About=0\n\n[Main]\n_Caption=0\n_Language=New\n");
}

TEST_F(SettingsTest, AFailedLanguageWriteIsReported) {
    EXPECT_FALSE(WriteLanguageSetting(folder / "not-there/", "Test"));
    EXPECT_FALSE(std::filesystem::exists(folder / "not-there"));
}

// A cp1251 tomlet.ini is read into UTF-8; projects then store their texts in code page 1251.
TEST_F(SettingsTest, TheCodePageSettingBecomesTheProjectsCodePage) {
    const ScopedProjectCodePage putBack(TextCodec::Utf8);
    EXPECT_EQ(ReadCodePageSetting(dataFolder), std::nullopt);
    folder.WriteFile("tomlet.ini", "[Main]\n_CodePage=1251\n_Language=\xD0\xF3\xF1\n");
    EXPECT_EQ(ReadCodePageSetting(dataFolder), 1251);
    ApplyCodePageSetting(dataFolder);
    EXPECT_EQ(ProjectCodec().CodePage(), 1251);
    EXPECT_EQ(ReadLanguageSetting(dataFolder), "Рус");

    folder.WriteFile("tomlet.ini", "[Main]\n_CodePage=latin\n");
    EXPECT_EQ(ReadCodePageSetting(dataFolder), std::nullopt);
}

}  // namespace
}  // namespace tomlet
