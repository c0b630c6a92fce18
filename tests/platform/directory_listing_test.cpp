#include "platform/directory_listing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/case_fold.h"
#include "platform/text_codec.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

using testing::TempFolder;

std::vector<std::string> Names(const DirectoryListing& listing) {
    std::vector<std::string> names;
    for (const auto& entry : listing.Entries)
        names.push_back(entry.Name);
    return names;
}

const DirectoryEntry* Find(const DirectoryListing& listing, std::string_view name) {
    for (const auto& entry : listing.Entries)
        if (entry.Name == name)
            return &entry;
    return nullptr;
}

TEST(DirectoryListingTest, ListsEveryEntryOnceWithItsKindAndFlags) {
    TempFolder folder;
    folder.WriteFile("file.txt");
    folder.WriteFile(".profile");
    folder.MakeFolder("sub");
    folder.MakeFolder(".git");

    DirectoryListing listing;
    ASSERT_TRUE(ListDirectory(folder.Path().string(), listing));
    ASSERT_EQ(listing.Entries.size(), 4u);  // no "." or ".."
    EXPECT_TRUE(Find(listing, "sub")->IsDirectory);
    EXPECT_FALSE(Find(listing, "sub")->IsHidden);
    EXPECT_TRUE(Find(listing, ".git")->IsDirectory);
    EXPECT_TRUE(Find(listing, ".git")->IsHidden);
    EXPECT_FALSE(Find(listing, "file.txt")->IsDirectory);
    EXPECT_TRUE(Find(listing, ".profile")->IsHidden);
    for (const auto& entry : listing.Entries)
        EXPECT_FALSE(entry.IsSystem);
}

TEST(DirectoryListingTest, SortsByUpperCasedNamesAsNtfsDoes) {
    TempFolder folder;
    for (const char* name : {"b.txt", "C.txt", "a_b", "aB", "A.txt", "10", "9"})
        folder.WriteFile(name);

    DirectoryListing listing;
    ASSERT_TRUE(ListDirectory(folder.Path().string(), listing));
    // Upper-cased, '_' sorts after the letters.
    EXPECT_EQ(Names(listing),
              (std::vector<std::string>{"10", "9", "A.txt", "aB", "a_b", "b.txt", "C.txt"}));
    // Names equal but for case (which only some file systems hold) keep a fixed order.
    EXPECT_TRUE(NameLessIgnoringCase("Ab", "aB"));
    EXPECT_FALSE(NameLessIgnoringCase("aB", "Ab"));
}

// A name is listed in the process code page, or named among the skipped when the code page
// cannot hold it; never as look-alike letters or question marks.
TEST(DirectoryListingTest, NamesComeInTheProcessCodePageOrAreSkipped) {
    TempFolder folder;
    folder.WriteFile("plain.txt");
    folder.WriteFile("Ärger.txt");
    folder.WriteFile("Отчёт/Итог.txt");
    const auto skipped = [](std::string name, bool isDirectory) {
        return std::vector<SkippedEntry>{
            {std::move(name), SkipReason::UnrepresentableName, isDirectory, false}};
    };

    DirectoryListing listing;
    ASSERT_TRUE(ListDirectory(folder.Path().string(), listing));
    EXPECT_EQ(Names(listing), (std::vector<std::string>{"plain.txt", "Ärger.txt", "Отчёт"}));
    EXPECT_TRUE(listing.Skipped.empty());
    {
        const ScopedProcessCodePage western(1252);
        ASSERT_TRUE(ListDirectory(folder.Path().string(), listing));
        EXPECT_EQ(Names(listing), (std::vector<std::string>{"plain.txt", "\xC4rger.txt"}));
        EXPECT_EQ(listing.Skipped, skipped("Отчёт", true));
    }
    const ScopedProcessCodePage cyrillic(1251);
    ASSERT_TRUE(ListDirectory(folder.Path().string(), listing));
    EXPECT_EQ(Names(listing), (std::vector<std::string>{"plain.txt", "\xCE\xF2\xF7\xB8\xF2"}));
    EXPECT_EQ(listing.Skipped, skipped("Ärger.txt", false));
    ASSERT_TRUE(ListDirectory(folder / "\xCE\xF2\xF7\xB8\xF2", listing));  // Отчёт
    EXPECT_EQ(Names(listing), std::vector<std::string>{"\xC8\xF2\xEE\xE3.txt"});
}

TEST(DirectoryListingTest, FollowsLinksAndIdentifiesFolders) {
    SKIP_ON_WINDOWS("mingw's std::filesystem makes no symbolic links");
    TempFolder folder;
    folder.MakeFolder("real");
    folder.WriteFile("target.txt");
    std::filesystem::create_directory_symlink(folder / "real", folder / "linked");
    std::filesystem::create_symlink(folder / "target.txt", folder / "link.txt");
    std::filesystem::create_symlink(folder / "gone", folder / "broken");

    DirectoryListing listing;
    ASSERT_TRUE(ListDirectory(folder.Path().string(), listing));
    EXPECT_TRUE(Find(listing, "linked")->IsDirectory);
    EXPECT_FALSE(Find(listing, "link.txt")->IsDirectory);
    EXPECT_FALSE(Find(listing, "broken")->IsDirectory);

    DirectoryListing real;
    DirectoryListing linked;
    ASSERT_TRUE(ListDirectory(folder / "real", real));
    ASSERT_TRUE(ListDirectory(folder / "linked", linked));
    EXPECT_EQ(real.Identity, linked.Identity);
    EXPECT_NE(real.Identity, listing.Identity);
}

TEST(DirectoryListingTest, AFolderThatCannotBeListedGivesNothing) {
    TempFolder folder;
    const std::string file = folder.WriteFile("plain.txt");
    DirectoryListing listing;
    ASSERT_TRUE(ListDirectory(folder.Path().string(), listing));
    EXPECT_FALSE(ListDirectory(folder / "missing", listing));
    EXPECT_TRUE(listing.Entries.empty());
    EXPECT_FALSE(ListDirectory(file, listing));
}

}  // namespace
}  // namespace tomlet
