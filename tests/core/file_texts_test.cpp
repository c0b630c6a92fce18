#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <string>

#include "core/catalogue.h"
#include "core/paths.h"
#include "platform/text_codec.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

namespace fs = std::filesystem;

class FileTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::setlocale(LC_NUMERIC, "C");
        SetProcessCodePage(TextCodec::Utf8);
    }
    void TearDown() override {
        ResetCatalogue();
        SetProcessCodePage(TextCodec::Utf8);
    }

    std::string FileOfSize(const std::string& name, std::uintmax_t size) const {
        const std::string path = folder.WriteFile(name);
        fs::resize_file(path, size);
        return path;
    }

    testing::TempFolder folder;
};

TEST_F(FileTextsTest, SizeTextChoosesTheUnitBySize) {
    EXPECT_EQ(FileSizeText(FileOfSize("empty", 0)), "0 КБ");
    EXPECT_EQ(FileSizeText(FileOfSize("one", 1)), "   1.000 byte");
    EXPECT_EQ(FileSizeText(FileOfSize("seventeen", 17)), "  17.000 byte");
    EXPECT_EQ(FileSizeText(FileOfSize("most bytes", 1023)), "1023.000 byte");
    EXPECT_EQ(FileSizeText(FileOfSize("one kb", 1024)), "   1.000 КБ");
    EXPECT_EQ(FileSizeText(FileOfSize("kb and a half", 1536)), "   1.500 КБ");
    EXPECT_EQ(FileSizeText(FileOfSize("most kb", 1048575)), "1023.999 КБ");
    EXPECT_EQ(FileSizeText(FileOfSize("one mb", 1048576)), "   1.000 МБ");
    // Beyond four gibibytes (a sparse file).
    EXPECT_EQ(FileSizeText(FileOfSize("big.iso", (std::uintmax_t{5} << 30) + 512 * 1024)),
              "5120.500 МБ");
}

TEST_F(FileTextsTest, SizeTextIsEmptyForFoldersAndMissingPaths) {
    EXPECT_EQ(FileSizeText(folder.MakeFolder("Docs")), "");
    EXPECT_EQ(FileSizeText(folder / "missing.txt"), "");
    EXPECT_EQ(FileSizeText(""), "");
}

TEST_F(FileTextsTest, SizeUnitsFollowTheProcessCodePage) {
    SetProcessCodePage(1251);
    EXPECT_EQ(FileSizeText(FileOfSize("empty", 0)), "0 \xCA\xC1");
    EXPECT_EQ(FileSizeText(FileOfSize("two mb", 2 << 20)), "   2.000 \xCC\xC1");
}

TEST_F(FileTextsTest, AttributesTextNamesTheSetAttributesInOrder) {
    EXPECT_EQ(FileAttributesText(folder / "missing.txt"), "virtual object");
    EXPECT_EQ(FileAttributesText(""), "virtual object");
    EXPECT_EQ(FileAttributesText(folder.WriteFile("plain.txt", "x")), testing::NewFileAttributes);
    EXPECT_EQ(FileAttributesText(folder.MakeFolder("Docs")), "directory");
#ifndef _WIN32
    const std::string locked = folder.MakeFolder(".locked");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(FileAttributesText(locked), "directory, read only, hidden");
#endif
}

TEST_F(FileTextsTest, AttributesTextUsesTheCurrentCatalogueTexts) {
    SetText(TextId::hint_fa_directory, "Ordner");
    SetText(TextId::hint_fa_noattributes, "keine");
    SetText(TextId::hint_fa_archive, "Archiv");
    SetText(TextId::hint_fa_virtual, "virtuell");
    EXPECT_EQ(FileAttributesText(folder.MakeFolder("Docs")), "Ordner");
    EXPECT_EQ(FileAttributesText(folder.WriteFile("a.txt")),
              testing::OnWindows ? "Archiv" : "keine");
    EXPECT_EQ(FileAttributesText(folder / "gone"), "virtuell");
}

}  // namespace
}  // namespace tomlet
