#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "cli_run.h"
#include "core/catalogue.h"
#include "core/limits.h"
#include "support/file_system_faults.h"
#include "support/project_files.h"
#include "support/temp_folder.h"
#include "support/test_system.h"
#include "support/tree_records.h"

namespace tomlet::cli {
namespace {

using testing::RecordOutline;
using testing::TempFolder;

class ScanCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.WriteFile("data/setup.exe");
        folder.WriteFile("data/README.TXT");
        folder.WriteFile("data/Docs/manual.htm");
        folder.WriteFile("data/.git/config");
    }
    std::string Data() const { return folder / "data"; }
    std::string Output() const { return folder / "out.tml"; }
    // The project the scan wrote.
    testing::StoredProject Read() const { return testing::LoadProject(Output()); }

    TempFolder folder;
};

TEST_F(ScanCommandTest, WritesANewProjectOfTheDataDirectoryMaskByMask) {
    const CliRun run =
        Cli({"scan", Data() + "/", "--mask", "*.*", "--mask", "*.exe", "-o", Output()});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    EXPECT_EQ(run.Out, Output() + ": 5 objects\n");
    const auto [project, tree] = Read();
    EXPECT_EQ(project.ProjectDataDir, Data());
    EXPECT_TRUE(project.AbsolutePath);
    EXPECT_EQ(project.ProjectName, "");
    EXPECT_EQ(RecordOutline(tree.TopLevel()),
              "Docs[1,1]:Docs (manual.htm[10,4]:Docs\\manual.htm) README.TXT[8,4]:README.TXT "
              "setup.exe[3,2]:setup.exe setup.exe[3,2]:setup.exe");
}

TEST_F(ScanCommandTest, FlagsLeaveSubfoldersEmptyAndSetRelativePaths) {
    ASSERT_EQ(Cli({"scan", Data(), "--no-nested", "--relative", "-o", Output()}).Code, ExitOk);
    const auto [project, tree] = Read();
    EXPECT_FALSE(project.AbsolutePath);
    // Without masks only folders become objects.
    EXPECT_EQ(RecordOutline(tree.TopLevel()), "Docs[1,1]:Docs");
}

TEST_F(ScanCommandTest, ARelativeFolderBecomesAnAbsoluteDataDirectory) {
    const CliRun run = [&] {
        const testing::CurrentFolderScope current(folder.Path());
        return Cli({"scan", "./data/Docs/..", "--mask", "*.exe", "-o", Output()});
    }();
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    const auto [project, tree] = Read();
    EXPECT_EQ(project.ProjectDataDir, Data());
    EXPECT_EQ(RecordOutline(tree.TopLevel()), "Docs[1,1]:Docs setup.exe[3,2]:setup.exe");
}

TEST_F(ScanCommandTest, NamesAreStoredInTheCodePageAsked) {
    folder.WriteFile("data/\xD0\xAF.txt");  // "Я.txt"
    ASSERT_EQ(Cli({"scan", Data(), "--mask", "?.txt", "--code-page", "1251", "-o", Output()}).Code,
              ExitOk);
    const auto [project, tree] = Read();
    ASSERT_EQ(tree.Count(), 2);
    EXPECT_EQ(tree.TopLevel()[1]->Data.Caption, "\xDF.txt");
    EXPECT_EQ(tree.TopLevel()[1]->Data.PathFileName, "\xDF.txt");
}

TEST_F(ScanCommandTest, AFolderNamedInAnyScriptIsScannedInTheCodePageAsked) {
    folder.WriteFile("data/Ärger/€uro.txt");
    const CliRun run = Cli(
        {"scan", folder / "data/Ärger", "--mask", "*.txt", "--code-page", "1252", "-o", Output()});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    const auto [project, tree] = Read();
    EXPECT_EQ(project.ProjectDataDir, TextCodec(1252).FromUtf8(folder / "data/Ärger"));
    EXPECT_EQ(RecordOutline(tree.TopLevel()), "\x80uro.txt[8,4]:\x80uro.txt");
}

TEST_F(ScanCommandTest, NamesTheCodePageCannotHoldAreSkippedNamedAndFailTheScan) {
    folder.WriteFile("data/Отчёт.txt");
    const CliRun run =
        Cli({"scan", Data(), "--mask", "*.txt", "--code-page", "1252", "-o", Output()});
    EXPECT_EQ(run.Code, ExitFailure);
    EXPECT_NE(run.Err.find(folder / "data/Отчёт.txt"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(FormatCount(Text(TextId::message_SkippedNames_D), 1)),
              std::string::npos);
    const auto [project, tree] = Read();  // with what the code page holds
    EXPECT_EQ(RecordOutline(tree.TopLevel()), "Docs[1,1]:Docs README.TXT[8,4]:README.TXT");
}

// A folder that cannot be read and a name holding '\' (which a stored path would read as two
// parts) are left out, each named with the reason; the project holds the rest.
TEST_F(ScanCommandTest, WhatCannotBeListedOrStoredIsNamedAndFailsTheScan) {
    SKIP_ON_WINDOWS("POSIX names and permissions");
    folder.WriteFile("data/locked/hidden.txt");
    folder.WriteFile("data/a\\b.txt");
    std::filesystem::permissions(folder / "data/locked", std::filesystem::perms::none);
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::all);  // for the output
    CliRun run;
    {
        const testing::ScopedOrdinaryUser ordinaryUser;
        run = Cli({"scan", Data(), "--mask", "*.txt", "-o", Output()});
    }
    EXPECT_EQ(run.Code, ExitFailure);
    for (const std::string& expected :
         {FormatCount(Text(TextId::message_SkippedNames_D), 2),
          "skipped " + folder / "data/a\\b.txt" + ": " + Text(TextId::message_SkippedBackslash),
          "skipped " + folder / "data/locked" + ": " + Text(TextId::message_SkippedUnlistable) +
              " (" + std::generic_category().message(EACCES) + ")"})
        EXPECT_NE(run.Err.find(expected), std::string::npos) << run.Err;
    const auto [project, tree] = Read();
    EXPECT_EQ(RecordOutline(tree.TopLevel()),
              "Docs[1,1]:Docs locked[1,1]:locked README.TXT[8,4]:README.TXT");
}

// Not stopped by the system's path length limit (2,100 levels of "d/" pass Linux's 4,096 bytes),
// the scan reaches the depth limit and says so. Wine keeps within its host's limit.
TEST_F(ScanCommandTest, AFolderTreeDeeperThanTheLimitIsRefusedWithTheDepthLimit) {
    const testing::FolderChain chain(Data(), "d", testing::OnWindows ? 1'100 : 2'100);
    const CliRun run = Cli({"scan", Data(), "-o", Output()});
    EXPECT_EQ(run.Code, ExitFailure);
    EXPECT_NE(run.Err.find(TreeTooDeepText()), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(Output()));
}

TEST_F(ScanCommandTest, AMissingFolderOrOutputIsRefused) {
    const CliRun missing = Cli({"scan", folder / "gone", "-o", Output()});
    EXPECT_EQ(missing.Code, ExitFailure);
    EXPECT_NE(missing.Err.find(Text(TextId::message_IncorrectPath)), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Output()));

    EXPECT_EQ(Cli({"scan", Data()}).Code, ExitUsage);
    EXPECT_EQ(Cli({"scan", Data(), "-o", Output(), "--nested"}).Code, ExitUsage);
    EXPECT_EQ(Cli({"scan", Data(), "-o", Output(), "--mask"}).Code, ExitUsage);
}

}  // namespace
}  // namespace tomlet::cli
