#include "core/scanner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/limits.h"
#include "core/progress.h"
#include "platform/text_codec.h"
#include "support/file_system_faults.h"
#include "support/recording_progress.h"
#include "support/temp_folder.h"
#include "support/test_system.h"
#include "support/tree_records.h"

namespace tomlet {
namespace {

using testing::Captions;
using testing::RecordingProgress;
using testing::RecordOutline;
using testing::TempFolder;

class ScannerTest : public ::testing::Test {
protected:
    void SetUp() override { ResetCatalogue(); }

    std::string DataDir() const { return data.Path().string(); }

    bool Scan(const std::vector<std::string>& masks, const std::string& directory,
              bool nested = true, ObjectNode* parent = nullptr) {
        FolderScanner scanner(masks, DataDir(), progress, progress);
        return scanner.ScanDirectory(directory, tree, parent, nested);
    }
    bool Scan(const std::vector<std::string>& masks, bool nested = true) {
        return Scan(masks, DataDir(), nested);
    }

    TempFolder data;
    ObjectTree tree;
    RecordingProgress progress;
};

TEST_F(ScannerTest, BuildsFoldersFirstEachFollowedByItsContentThenFilesMaskByMask) {
    data.WriteFile("setup.exe");
    data.WriteFile("README.TXT");
    data.WriteFile("Docs/manual.htm");
    data.WriteFile("Docs/Pics/cover.JPG");
    data.WriteFile("Docs/Pics/notes.txt");
    data.WriteFile("apps/tool.com");
    data.MakeFolder("Empty");
    data.MakeFolder("folder.exe");

    // Folders and files in name order ignoring case; extensions compared in lower case.
    ASSERT_TRUE(Scan({"*.exe", "*.com", "*.txt", "*.htm", "*.jpg"}));
    EXPECT_EQ(RecordOutline(tree.TopLevel()),
              "apps[1,1]:apps (tool.com[3,2]:apps\\tool.com) "
              "Docs[1,1]:Docs (Pics[1,1]:Docs\\Pics (notes.txt[8,4]:Docs\\Pics\\notes.txt "
              "cover.JPG[11,4]:Docs\\Pics\\cover.JPG) manual.htm[10,4]:Docs\\manual.htm) "
              "Empty[1,1]:Empty folder.exe[1,1]:folder.exe "
              "setup.exe[3,2]:setup.exe README.TXT[8,4]:README.TXT");
    for (const ObjectNode* node : tree.TopLevel()) {
        EXPECT_TRUE(node->Data.Hint.empty());
        EXPECT_TRUE(node->Data.Parameters.empty());
        EXPECT_TRUE(node->Data.Comments.empty());
    }
}

TEST_F(ScannerTest, ReportsProgressOncePerEntryAndPausesOncePerFolderInEachPass) {
    data.WriteFile("a.txt");
    data.WriteFile("b.exe");
    data.WriteFile("sub/c.txt");
    data.MakeFolder("sub/inner");

    ASSERT_TRUE(Scan({"*.txt", "*.*"}));
    const std::string search = "Text " + Text(TextId::text_SearchFiles_D);
    const std::string scanning = "Text " + Text(TextId::text_Scanning_D);
    // Each pass: root, sub, inner, sub's c.txt twice, root's a.txt, a.txt and b.exe.
    EXPECT_EQ(progress.Summary(), "Begin " + search + " Pump Max+1 Pump Max+1 Pump Max+1*5 " +
                                      scanning + " Pump Step Pump Step Pump Step*5 End");
    EXPECT_EQ(Captions(tree.TopLevel()), "sub (inner c.txt c.txt) a.txt a.txt b.exe");
}

TEST_F(ScannerTest, WithoutMasksOnlyFoldersAreAddedAndCounted) {
    data.WriteFile("a.txt");
    data.WriteFile("sub/b.txt");
    data.MakeFolder("sub/deeper");

    ASSERT_TRUE(Scan({}));
    EXPECT_EQ(Captions(tree.TopLevel()), "sub (deeper)");
    EXPECT_EQ(progress.CountOf("Max+1"), 2);
    EXPECT_EQ(progress.CountOf("Step"), 2);
}

TEST_F(ScannerTest, WithoutNestingSubfoldersComeEmptyBeforeTheFiles) {
    data.WriteFile("z.txt");
    data.WriteFile("sub/b.txt");
    data.WriteFile("sub/deeper/c.txt");

    ASSERT_TRUE(Scan({"*.*"}, false));
    EXPECT_EQ(Captions(tree.TopLevel()), "sub z.txt");
    EXPECT_EQ(progress.CountOf("Max+1"), 2);
    EXPECT_EQ(progress.CountOf("Pump"), 2);  // the scanned folder alone, in each pass
}

TEST_F(ScannerTest, SkipsDotNamedFoldersWithTheirContentButKeepsDotFilesUncounted) {
    data.WriteFile(".git/config.txt");
    data.WriteFile(".cache/sub/x.txt");
    data.WriteFile("sub/.hidden.txt");
    data.WriteFile(".profile");
    data.WriteFile("visible.txt");

    ASSERT_TRUE(Scan({"*.*"}));
    EXPECT_EQ(RecordOutline(tree.TopLevel()),
              "sub[1,1]:sub (.hidden.txt[8,4]:sub\\.hidden.txt) .profile[0,4]:.profile "
              "visible.txt[8,4]:visible.txt");
    // Counted: sub and visible.txt. Added: all four.
    EXPECT_EQ(progress.CountOf("Max+1"), 2);
    EXPECT_EQ(progress.CountOf("Step"), 4);
}

TEST_F(ScannerTest, AnEmptyOrMissingFolderAddsNothingAndLeavesTheMaximumAlone) {
    for (const std::string& folder : {DataDir(), data / "gone"}) {
        ASSERT_TRUE(Scan({"*.*"}, folder));
        EXPECT_TRUE(tree.IsEmpty());
        EXPECT_EQ(progress.CountOf("Max+1"), 0);
        EXPECT_EQ(progress.Calls.back(), "End");
    }
    EXPECT_EQ(progress.CountOf("Begin"), 2);
}

TEST_F(ScannerTest, ScanningAFolderObjectAppendsItsContentBelowItWithPathsFromTheDataDir) {
    data.WriteFile("Docs/a.txt");
    data.WriteFile("Docs/Sub/b.txt");
    ObjectNode* docs = tree.Append(nullptr, {"Docs", "", otFolder, oaOpen, "Docs", "", ""});
    tree.Append(docs, {"kept", "", otVirtualFolder, oaNoAction, "", "", ""});

    ASSERT_TRUE(Scan({"*.txt"}, data / "Docs", true, docs));
    ASSERT_TRUE(Scan({"*.txt"}, data / "Docs", true, docs));
    EXPECT_EQ(Captions(tree.TopLevel()), "Docs (kept Sub (b.txt) a.txt Sub (b.txt) a.txt)");
    EXPECT_EQ(docs->Child(1)->Child(0)->Data.PathFileName, "Docs\\Sub\\b.txt");
    EXPECT_EQ(docs->Child(4)->Data.PathFileName, "Docs\\a.txt");
}

TEST_F(ScannerTest, ADataDirectoryTypedWithATrailingSeparatorStillGivesBarePaths) {
    data.WriteFile("sub/a.txt");
    const std::string typed =
        DataDir() + static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string dataDir = NormaliseDataDirectory(typed);
    EXPECT_EQ(dataDir, DataDir());
    EXPECT_EQ(NormaliseDataDirectory("/"), "/");

    FolderScanner scanner({"*.*"}, dataDir, progress, progress);
    ASSERT_TRUE(scanner.ScanDirectory(dataDir, tree, nullptr, true));
    EXPECT_EQ(RecordOutline(tree.TopLevel()), "sub[1,1]:sub (a.txt[8,4]:sub\\a.txt)");

    // Even handed over unmended, the separator is not doubled.
    ObjectTree again;
    FolderScanner unmended({"*.*"}, typed, progress, progress);
    ASSERT_TRUE(unmended.ScanDirectory(typed, again, nullptr, true));
    EXPECT_EQ(RecordOutline(again.TopLevel()), "sub[1,1]:sub (a.txt[8,4]:sub\\a.txt)");
}

// Two links per level to the next level's folder would give 3^levels folders; each real folder
// is listed once, under its own name, and a link back up adds nothing either.
TEST_F(ScannerTest, AFanOfLinksListsEachRealFolderOnce) {
    SKIP_ON_WINDOWS("mingw's std::filesystem makes no symbolic links");
    constexpr int Levels = 12;
    std::string level = "fan";
    for (int i = 0; i < Levels; ++i, level += "/next") {
        data.WriteFile(level + "/x.txt");
        data.MakeFolder(level + "/next");
        std::filesystem::create_directory_symlink("next", data / (level + "/a"));
        std::filesystem::create_directory_symlink(data / (level + "/next"), data / (level + "/b"));
    }
    std::filesystem::create_directory_symlink(data / "fan", data / (level + "/up"));

    ASSERT_TRUE(Scan({"*.txt"}));
    EXPECT_EQ(tree.Count(), 1 + 4 * Levels + 1);
    tree.ForEachDepthFirst([](const ObjectNode& node, int) {
        if (node.Data.Caption != "fan" && node.Data.Caption != "next") {
            EXPECT_FALSE(node.HasChildren()) << node.Data.PathFileName;
        }
    });
}

// A link to the folder scanned or above it would lead through every folder beside it until the
// depth limit ends the scan: it is a loop, left out and reported. A link to a folder inside the
// scan stays, without content.
TEST_F(ScannerTest, ALinkBackToTheScannedFolderOrAboveIsLeftOut) {
    SKIP_ON_WINDOWS("mingw's std::filesystem makes no symbolic links");
    data.WriteFile("data/a/x.txt");
    data.WriteFile("beside/y.txt");
    for (const auto& [link, target] :
         {std::pair{"data/a/up", "../.."}, std::pair{"data/a/root", ".."},
          std::pair{"data/a/far", "/"}, std::pair{"data/b", "a"}})
        std::filesystem::create_directory_symlink(target, data / link);

    const std::string scanned = data / "data";
    FolderScanner scanner({"*.txt"}, scanned, progress, progress);
    ASSERT_TRUE(scanner.ScanDirectory(scanned, tree, nullptr, true));
    EXPECT_EQ(Captions(tree.TopLevel()), "a (x.txt) b");
    std::vector<std::string> skipped;
    for (const SkippedEntry& entry : scanner.Skipped()) {
        EXPECT_EQ(entry.Reason, SkipReason::LinkToScannedFolder) << entry.Path;
        skipped.push_back(entry.Path);
    }
    EXPECT_EQ(skipped, (std::vector<std::string>{data / "data/a/far", data / "data/a/root",
                                                 data / "data/a/up"}));
    EXPECT_EQ(SkippedEntryLine(scanner.Skipped()[0]),
              data / "data/a/far" + ": " + Text(TextId::message_SkippedLinkLoop));
}

// Listed relative to their parents, folders are scanned however long their paths grow: beyond
// 4,096 bytes on Linux, beyond 260 characters on Windows (under Wine, below its host's 4,096).
TEST_F(ScannerTest, AFolderTreeBeyondThePathLengthLimitIsScannedWhole) {
    constexpr int Levels = testing::OnWindows ? 40 : 100;
    const std::string name(60, 'd');
    const testing::FolderChain chain(DataDir(), name, Levels, "deep.txt");

    FolderScanner scanner({"*.txt"}, DataDir(), progress, progress);
    ASSERT_TRUE(scanner.ScanDirectory(DataDir(), tree, nullptr, true));
    EXPECT_TRUE(scanner.Skipped().empty());
    ASSERT_EQ(tree.Count(), Levels + 1);
    const ObjectNode* deepest = tree.First();
    while (deepest->HasChildren())
        deepest = deepest->Child(0);
    EXPECT_EQ(deepest->Data.Caption, "deep.txt");
    EXPECT_EQ(ObjectTree::Level(deepest), Levels);
    EXPECT_EQ(deepest->Data.PathFileName.size(), Levels * (name.size() + 1) + 8);
}

// Elsewhere than on Windows a name may hold '\', which would read back as two parts of a stored
// path; a folder the user may not read would come out empty. Both are left out and said why.
TEST_F(ScannerTest, WhatCannotBeListedOrStoredIsReportedWithTheReason) {
    SKIP_ON_WINDOWS("POSIX names and permissions");
    data.WriteFile("dir\\x/inside.txt");
    data.WriteFile("a\\b.txt");
    data.WriteFile("locked/hidden.txt");
    data.WriteFile("open/seen.txt");
    std::filesystem::permissions(data / "locked", std::filesystem::perms::none);
    const testing::ScopedOrdinaryUser ordinaryUser;

    FolderScanner scanner({"*.txt"}, DataDir(), progress, progress);
    ASSERT_TRUE(scanner.ScanDirectory(DataDir(), tree, nullptr, true));
    EXPECT_EQ(Captions(tree.TopLevel()), "locked open (seen.txt)");
    const std::string denied = std::generic_category().message(EACCES);
    EXPECT_EQ(scanner.Skipped(),
              (std::vector<SkippedEntry>{
                  {data / "a\\b.txt", SkipReason::BackslashInName, false, false},
                  {data / "dir\\x", SkipReason::BackslashInName, true, false},
                  {data / "locked", SkipReason::Unlistable, true, false, denied}}));
    EXPECT_EQ(SkippedEntryLine(scanner.Skipped()[2]),
              data / "locked" + ": the folder cannot be read (" + denied + ")");
}

TEST_F(ScannerTest, CyrillicNamesAreMatchedAndOrderedIgnoringCase) {
    for (const char* name : {"в.txt", "Отчёт.txt", "Б.txt", "а.txt", "ОТЧЁТ-2.TXT"})
        data.WriteFile(name);

    ASSERT_TRUE(Scan({"отчёт*", "*.txt"}));
    EXPECT_EQ(Captions(tree.TopLevel()),
              "ОТЧЁТ-2.TXT Отчёт.txt а.txt Б.txt в.txt ОТЧЁТ-2.TXT Отчёт.txt");
}

// Under Wine every level costs a walk of the whole path, so there the folders start below a
// project node that stands as deep as the levels they leave out.
TEST_F(ScannerTest, FolderTreesDeeperThanTheLimitAreRefusedBeforeAnythingIsBuilt) {
    constexpr int FolderLevels = testing::OnWindows ? 200 : MaxTreeLevels;
    ObjectTree project;
    ObjectNode* above = nullptr;  // the deepest of a chain ending at level 999 - FolderLevels
    for (int level = 0; level < MaxTreeLevels - FolderLevels; ++level)
        above = project.Append(above, testing::Record("above"));
    const auto scan = [&](const std::vector<std::string>& masks, const ObjectNode* adopting) {
        FolderScanner scanner(masks, DataDir(), progress, progress);
        scanner.SetAdoptingNode(project, adopting);
        return scanner.ScanDirectory(DataDir(), tree, nullptr, true);
    };
    std::string deepest = "d";
    for (int level = 1; level < FolderLevels; ++level)
        deepest += "/d";
    data.MakeFolder(deepest);  // Folder objects down to level 999
    ASSERT_TRUE(scan({"*.txt"}, above));
    EXPECT_EQ(tree.Count(), FolderLevels);

    tree.ClearObjectTree();
    data.WriteFile(deepest + "/a.txt");
    try {
        scan({"*.txt"}, above);
        ADD_FAILURE() << "a file at level 1000 was scanned";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), TreeTooDeepText());
    }
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_EQ(progress.Calls.back(), "End");

    // One level deeper, the folders alone reach level 1000.
    EXPECT_THROW(scan({}, project.Append(above, testing::Record("one more"))), std::runtime_error);
    EXPECT_TRUE(tree.IsEmpty());
}

// Each mask takes every file again: past MaxObjects the scan is refused before anything is built.
TEST_F(ScannerTest, MoreObjectsThanTheLimitAreRefusedBeforeAnythingIsBuilt) {
    constexpr int Files = 2'001;
    for (int i = 0; i < Files; ++i)
        data.WriteFile(std::to_string(i) + ".txt");
    const std::vector<std::string> masks(MaxObjects / Files + 1, "*.txt");
    try {
        Scan(masks);
        ADD_FAILURE() << "more than " << MaxObjects << " objects were scanned";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), TooManyObjectsText());
    }
    EXPECT_TRUE(tree.IsEmpty());
}

TEST_F(ScannerTest, NamesTheCodePageCannotHoldAreSkippedAndReported) {
    data.WriteFile("Ärger/€uro.txt");
    data.WriteFile("Отчёт/Итог.txt");
    data.WriteFile("Отчёт.bin");     // no mask takes it
    data.WriteFile(".Отчёт/x.txt");  // a dot-named folder is left out anyway
    const std::string dataDir = DataDir();
    const ScopedProcessCodePage western(1252);

    FolderScanner scanner({"*.txt"}, dataDir, progress, progress);
    ASSERT_TRUE(scanner.ScanDirectory(dataDir, tree, nullptr, true));
    EXPECT_EQ(RecordOutline(tree.TopLevel()),
              "\xC4rger[1,1]:\xC4rger (\x80uro.txt[8,4]:\xC4rger\\\x80uro.txt)");
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(scanner.Skipped(),
              (std::vector<SkippedEntry>{
                  {dataDir + separator + "Отчёт", SkipReason::UnrepresentableName, true, false}}));
}

TEST_F(ScannerTest, AnErrorKeepsWhatWasBuiltAndEndsTheProgress) {
    data.WriteFile("a.txt");
    data.WriteFile("b.txt");
    data.WriteFile("c.txt");
    progress.ThrowOnStep = 2;

    EXPECT_THROW(Scan({"*.txt"}), std::runtime_error);
    EXPECT_EQ(Captions(tree.TopLevel()), "a.txt b.txt");
    EXPECT_EQ(progress.Calls.back(), "End");
}

}  // namespace
}  // namespace tomlet
