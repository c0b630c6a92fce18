#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "platform/text_codec.h"
#include "support/temp_folder.h"

namespace tomlet {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;

class IniFileTest : public ::testing::Test {
protected:
    IniFile Write(std::string_view content) {
        return IniFile(folder.WriteFile("test.ini", content));
    }

    TempFolder folder;
};

TEST_F(IniFileTest, MatchesSectionsAndKeysIgnoringCaseAndTrimsValues) {
    const IniFile file = Write(
        "[Main]\r\n"
        "  _Language =   Deutsch  \r\n"
        "Quoted=\"  keeps inner blanks  \"\r\n"
        "Single=' single '\r\n"
        "Unpaired=\"open\r\n"
        "Twice=\"\"a\"\"\r\n"
        "[ Other ]\n"
        "key=other\n"
        "[main]\n"
        "_Language=second section of the same name\n");

    EXPECT_EQ(file.ReadValue("MAIN", "_language"), "Deutsch");
    EXPECT_EQ(file.ReadValue("main", "quoted"), "  keeps inner blanks  ");
    EXPECT_EQ(file.ReadValue("Main", "Single"), " single ");
    EXPECT_EQ(file.ReadValue("Main", "Unpaired"), "\"open");
    EXPECT_EQ(file.ReadValue("Main", "Twice"), "\"a\"");
    EXPECT_EQ(file.ReadValue("other", "KEY"), "other");
    EXPECT_EQ(file.ReadValue("Main", "key"), std::nullopt);
    EXPECT_EQ(file.ReadValue("Missing", "key"), std::nullopt);
    EXPECT_EQ(file.ReadString("Main", "Missing", "fallback"), "fallback");
}

TEST_F(IniFileTest, ReadsLinesEndedByCrLfLfOrCrAndIgnoresKeysBeforeAnySection) {
    const IniFile file = Write("orphan=1\r[A]\ra=1\r\n[B]\nb=2");
    EXPECT_EQ(file.ReadValue("A", "orphan"), std::nullopt);
    EXPECT_EQ(file.ReadValue("A", "a"), "1");
    EXPECT_EQ(file.ReadValue("B", "b"), "2");
}

TEST_F(IniFileTest, UsesAtMost2047CharactersOfAValue) {
    const std::string longValue(3000, 'x');
    const IniFile file = Write("[S]\nk=" + longValue + "\nquoted=\"" + longValue + "\"\n");
    EXPECT_EQ(file.ReadValue("S", "k"), std::string(2047, 'x'));
    EXPECT_EQ(file.ReadValue("S", "quoted"), std::string(2047, 'x'));
}

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndAFolderCannotBeRead) {
    const IniFile missing(folder / "none.ini");
    EXPECT_EQ(missing.ReadValue("Main", "_Language"), std::nullopt);
    EXPECT_THROW(IniFile(folder.MakeFolder("folder.ini")), std::runtime_error);
}

TEST_F(IniFileTest, ReadsFlagsAsIntegers) {
    const IniFile file = Write(
        "[F]\nyes=yes\ntwo=2\nminus=-1\nhex=0x10\nzerohex=$0\nzero=0\nempty=\nbarehex=0x\n"
        "dollar=$\nupperhex=0X1f\nfraction=1.5\nhuge=99999999999\nwide=0xFFFFFFFF\n");
    for (const bool fallback : {false, true}) {
        SCOPED_TRACE(fallback);
        EXPECT_EQ(file.ReadBool("F", "yes", fallback), fallback);
        EXPECT_TRUE(file.ReadBool("F", "two", fallback));
        EXPECT_TRUE(file.ReadBool("F", "minus", fallback));
        EXPECT_TRUE(file.ReadBool("F", "hex", fallback));
        EXPECT_FALSE(file.ReadBool("F", "zerohex", fallback));
        EXPECT_FALSE(file.ReadBool("F", "zero", fallback));
        EXPECT_EQ(file.ReadBool("F", "empty", fallback), fallback);
        EXPECT_EQ(file.ReadBool("F", "barehex", fallback), fallback);
        EXPECT_EQ(file.ReadBool("F", "dollar", fallback), fallback);
        EXPECT_TRUE(file.ReadBool("F", "upperhex", fallback));
        EXPECT_EQ(file.ReadBool("F", "fraction", fallback), fallback);
        EXPECT_EQ(file.ReadBool("F", "huge", fallback), fallback);
        EXPECT_TRUE(file.ReadBool("F", "wide", fallback));
        EXPECT_EQ(file.ReadBool("F", "missing", fallback), fallback);
    }
}

TEST(ParseProfileInteger, ReadsDecimalAndHexadecimalWithin32Bits) {
    EXPECT_EQ(ParseProfileInteger("42"), 42);
    EXPECT_EQ(ParseProfileInteger("+7"), 7);
    EXPECT_EQ(ParseProfileInteger("-2147483648"), -2147483648LL);
    EXPECT_EQ(ParseProfileInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("$ff"), 255);
    EXPECT_EQ(ParseProfileInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseProfileInteger("0x100000000"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(" 1"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("-"), std::nullopt);
}

TEST_F(IniFileTest, ChangingAValueLeavesEveryOtherLineByteForByte) {
    const std::string before =
        "; comment line\r\n"
        "[Main]\r\n"
        "  _Caption = 0 \r\n"
        "_Language=Old\r\n"
        "\tstrange line without equals\n"
        "\r\n"
        "[Menu]\r\n"
        "_Language=not this one\r\n"
        "_File=1";
    IniFile file = Write(before);
    ASSERT_TRUE(file.WriteString("main", "_LANGUAGE", "Russian"));

    std::string expected = before;
    expected.replace(expected.find("Old"), 3, "Russian");
    EXPECT_EQ(ReadWholeFile(file.Path()), expected);
    EXPECT_EQ(file.ReadValue("Main", "_Language"), "Russian");
}

TEST_F(IniFileTest, AddsAKeyAtTheEndOfItsSectionBeforeBlankLines) {
    IniFile file = Write("[Main]\n_Caption=1\n\n\n[Menu]\n_File=0\n");
    ASSERT_TRUE(file.WriteString("Main", "_Language", "Test"));
    ASSERT_TRUE(file.WriteString("Menu", "_About", "0"));
    EXPECT_EQ(ReadWholeFile(file.Path()),
              "[Main]\n_Caption=1\n_Language=Test\n\n\n[Menu]\n_File=0\n_About=0\n");
}

TEST_F(IniFileTest, AddsASectionToAFileWithoutAFinalLineBreak) {
    IniFile file = Write("[Main]\r\n_Caption=1");
    ASSERT_TRUE(file.WriteString("Text", "text_NewObject", ""));
    ASSERT_TRUE(file.WriteString("Main", "_Menu", "0"));
    EXPECT_EQ(ReadWholeFile(file.Path()),
              "[Main]\r\n_Caption=1\r\n_Menu=0\r\n[Text]\r\ntext_NewObject=\r\n");
}

// Many keys in one replacement read as the same keys written one after another.
TEST_F(IniFileTest, WritesManyKeysAsOneAfterAnotherInOneReplacement) {
    IniFile file = Write("[Main]\n_Caption=1\n\n[main]\nb=second section\n[Menu]\n_File=1");
    const IniEntry entries[] = {{"Text", "t1", "a"}, {"Main", "b", "x"},  {"menu", "_FILE", "0"},
                                {"Menu", "_About", ""}, {"Hint", "h", ""}, {"Text", "t2", "b"},
                                {"MAIN", "B", "ignored"}};
    ASSERT_TRUE(file.WriteStrings(entries));
    EXPECT_EQ(ReadWholeFile(file.Path()),
              "[Main]\n_Caption=1\nb=x\n\n[main]\nb=second section\n[Menu]\n_File=0\n_About=\n"
              "[Text]\nt1=a\nt2=b\n[Hint]\nh=\n");
    const IniKey keys[] = {{"main", "b"}, {"Text", "T2"}, {"Menu", "_About"}, {"Hint", "x"}};
    EXPECT_EQ(file.ReadValues(keys),
              (std::vector<std::optional<std::string>>{"x", "b", "", std::nullopt}));
}

TEST_F(IniFileTest, CreatesAMissingFile) {
    IniFile file(folder / "new.ini");
    ASSERT_TRUE(file.WriteString("Main", "_Language", "English"));
    EXPECT_EQ(ReadWholeFile(folder / "new.ini"), "[Main]\r\n_Language=English\r\n");
}

TEST_F(IniFileTest, RewritesABlankValueEmpty) {
    IniFile file = Write("[S]\na=   \nb=\"\"\n");
    ASSERT_TRUE(file.WriteString("S", "a", ""));
    ASSERT_TRUE(file.WriteString("S", "b", ""));
    EXPECT_EQ(ReadWholeFile(file.Path()), "[S]\na=\nb=\n");
}

TEST_F(IniFileTest, ReportsAWriteThatFails) {
    IniFile file(folder / "missing-folder/test.ini");
    EXPECT_FALSE(file.WriteString("Main", "_Language", "Test"));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing-folder"));
    // What the caller asked for was not written, so it is not read back either.
    EXPECT_EQ(file.ReadValue("Main", "_Language"), std::nullopt);
}

#ifndef _WIN32
TEST_F(IniFileTest, ReplacesTheFileALinkNamesAndLeavesAReadOnlyFileAlone) {
    const std::string real = folder.WriteFile("disc/tomlet.ini", "[Main]\r\n");
    std::filesystem::create_symlink(real, folder / "link.ini");
    ASSERT_TRUE(IniFile(folder / "link.ini").WriteString("Main", "_Language", "English"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_EQ(ReadWholeFile(real), "[Main]\r\n_Language=English\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "disc"), {}), 1);

    std::filesystem::permissions(real, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_FALSE(IniFile(real).WriteString("Main", "_Language", "Russian"));
    EXPECT_EQ(ReadWholeFile(real), "[Main]\r\n_Language=English\r\n");
}
#endif

class IniFileCodePageTest : public IniFileTest {
protected:
    const ScopedProcessCodePage cyrillic{1251};
};

TEST_F(IniFileCodePageTest, ReadsAFileWithAByteOrderMarkAsUtf8) {
    // "Файл" in UTF-8, read into code page 1251.
    IniFile file =
        Write("\xEF\xBB\xBF[frm_Main]\r\nmenu_File.Caption=\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB\r\n");
    EXPECT_TRUE(file.IsUtf8());
    EXPECT_EQ(file.ReadValue("frm_Main", "menu_File.Caption"), "\xD4\xE0\xE9\xEB");

    // Written back in UTF-8, the mark kept.
    ASSERT_TRUE(file.WriteString("frm_Main", "menu_View.Caption", "\xC2\xE8\xE4"));  // "Вид"
    EXPECT_EQ(ReadWholeFile(file.Path()),
              "\xEF\xBB\xBF[frm_Main]\r\nmenu_File.Caption=\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB\r\n"
              "menu_View.Caption=\xD0\x92\xD0\xB8\xD0\xB4\r\n");
}

TEST_F(IniFileCodePageTest, KeepsTheBytesOfAFileWithoutAByteOrderMark) {
    IniFile file = Write("[Main]\r\n_Language=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n");  // "Русский"
    EXPECT_FALSE(file.IsUtf8());
    EXPECT_EQ(file.ReadValue("Main", "_Language"), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");
    ASSERT_TRUE(file.WriteString("Main", "_Language", "\xC0"));
    EXPECT_EQ(ReadWholeFile(file.Path()), "[Main]\r\n_Language=\xC0\r\n");
}

}  // namespace
}  // namespace tomlet
