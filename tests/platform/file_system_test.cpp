#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/text_codec.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

namespace fs = std::filesystem;

TEST(FileSystemTest, ExecutableFolderIsTheFolderOfThisExecutable) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), static_cast<char>(fs::path::preferred_separator));
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_TRUE(FileExists(folder + "platform_file_system_test") ||
                FileExists(folder + "platform_file_system_test.exe"));
}

TEST(FileSystemTest, AnInstalledProgramKeepsItsDataInTheShareFolderAndADiscInItsOwn) {
    const testing::TempFolder folder;
    const std::string separator(1, fs::path::preferred_separator);
    const std::string bin = folder.MakeFolder("usr/bin") + separator;
    const std::string share =
        (fs::path(bin) / TOMLET_INSTALLED_DATA_FOLDER).lexically_normal().string();
    const std::string disc = folder.MakeFolder("disc") + separator;

    EXPECT_EQ(DataFolderOfProgram(disc), disc);
    EXPECT_EQ(DataFolderOfProgram(bin), bin);  // not installed: no share folder beside it
    folder.WriteFile(fs::relative(share, folder.Path()).string());
    EXPECT_EQ(DataFolderOfProgram(bin), bin);  // a file of that name is no folder
    fs::remove(share);
    fs::create_directories(share);
    EXPECT_EQ(DataFolderOfProgram(bin), share + separator);
    EXPECT_EQ(DataFolderOfProgram(""), "");
}

TEST(FileSystemTest, LookUpPathGivesSizesAndKinds) {
    const testing::TempFolder folder;
    const std::string file = folder.WriteFile("Документы/Отчёт.txt", "twelve bytes");
    const auto facts = LookUpPath(file);
    ASSERT_TRUE(facts);
    EXPECT_FALSE(facts->IsDirectory);
    EXPECT_EQ(facts->Size, 12u);
    EXPECT_EQ(facts->Attributes & (faDirectory | faReadOnly | faHidden), 0u);

    const auto folderFacts = LookUpPath(folder / "Документы");
    ASSERT_TRUE(folderFacts);
    EXPECT_TRUE(folderFacts->IsDirectory);
    EXPECT_EQ(folderFacts->Size, 0u);
    EXPECT_NE(folderFacts->Attributes & faDirectory, 0u);

    EXPECT_FALSE(LookUpPath(folder / "missing"));
    EXPECT_FALSE(LookUpPath(""));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder / "Документы"));
    EXPECT_TRUE(DirectoryExists(folder / "Документы"));
    EXPECT_TRUE(PathExists(file));

    const std::string image = folder.WriteFile("disc.iso");
    const std::uint64_t size = (std::uint64_t{6} << 30) + 7;  // beyond 4 GiB, sparse
    fs::resize_file(image, size);
    EXPECT_EQ(LookUpPath(image).value().Size, size);
}

TEST(FileSystemTest, ReadOnlyAndHiddenFollowPermissionsAndDotNames) {
    SKIP_ON_WINDOWS("POSIX permission bits and dot names; Windows keeps attributes of its own");
    const testing::TempFolder folder;
    const std::string locked = folder.WriteFile("locked.txt", "x");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(LookUpPath(locked)->Attributes, faReadOnly);

    const std::string open = folder.WriteFile("open.txt", "x");
    fs::permissions(open, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(LookUpPath(open)->Attributes, 0u);

    EXPECT_EQ(LookUpPath(folder.WriteFile(".profile"))->Attributes, faHidden);
    EXPECT_EQ(LookUpPath(folder.MakeFolder(".git") + "/")->Attributes, faDirectory | faHidden);
    EXPECT_EQ(LookUpPath(folder / "..")->Attributes & faHidden, 0u);
}

TEST(FileSystemTest, FindPathIgnoringCaseWalksEveryComponent) {
    SKIP_ON_WINDOWS("Windows file systems ignore case themselves: paths are taken as given");
    const testing::TempFolder folder;
    const std::string readme = folder.WriteFile("Docs/ReadMe.txt");
    const std::string report = folder.WriteFile("Документы/Отчёт Ärger.TXT");
    const std::string base = folder.Path().string();

    EXPECT_EQ(FindPathIgnoringCase(readme), readme);
    EXPECT_EQ(FindPathIgnoringCase(base + "/DOCS/readme.TXT"), readme);
    EXPECT_EQ(FindPathIgnoringCase(base + "/ДОКУМЕНТЫ/отчЁт äRGER.txt"), report);
    EXPECT_EQ(FindPathIgnoringCase(base + "/docs/"), base + "/Docs/");
    // No match, or a match for only part of the path, leaves the path as it was.
    EXPECT_EQ(FindPathIgnoringCase(base + "/docs/missing.txt"), base + "/docs/missing.txt");
    EXPECT_EQ(FindPathIgnoringCase(base + "/Doc/readme.txt"), base + "/Doc/readme.txt");
    EXPECT_EQ(FindPathIgnoringCase(""), "");
}

// Paths come in the process code page, which need not be the system's (nor, on Windows, the ANSI
// code page of the narrow calls).
TEST(FileSystemTest, PathsInAnotherCodePageReachTheFileSystemNames) {
    const testing::TempFolder folder;
    folder.WriteFile("Файл.txt", "abc");
    folder.WriteFile("€uro/Ärger.txt", "abcd");
    const ScopedProcessCodePage cyrillic(1251);
    const auto facts = LookUpPath(folder / "\xD4\xE0\xE9\xEB.txt");  // Файл.txt
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->Size, 3u);
    if (!testing::OnWindows) {
        EXPECT_EQ(FindPathIgnoringCase(folder / "\xD4\xC0\xC9\xCB.txt"),  // ФАЙЛ.txt
                  folder / "\xD4\xE0\xE9\xEB.txt");
    }
    const ScopedProcessCodePage western(1252);
    EXPECT_TRUE(DirectoryExists(folder / "\x80uro"));
    EXPECT_EQ(LookUpPath(folder / "\x80uro/\xC4rger.txt")->Size, 4u);
    EXPECT_EQ(AbsolutePath(folder / "\x80uro/./x/../\xC4rger.txt"),
              folder / "\x80uro/\xC4rger.txt");
}

}  // namespace
}  // namespace tomlet
