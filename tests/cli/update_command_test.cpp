#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "cli/cli.h"
#include "cli_run.h"
#include "core/catalogue.h"
#include "platform/text_codec.h"
#include "support/project_files.h"
#include "support/temp_folder.h"
#include "support/test_system.h"
#include "support/tree_records.h"

namespace tomlet::cli {
namespace {

namespace fs = std::filesystem;
using testing::Outline;
using testing::ReadWholeFile;
using testing::TempFolder;

class UpdateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.WriteFile("data/setup.exe");
        folder.WriteFile("data/readme.txt");
        folder.WriteFile("data/Docs/manual.txt");
        ASSERT_EQ(Cli({"scan", Data(), "--mask", "*.*", "-o", Project()}).Code, ExitOk);
    }
    std::string Data() const { return folder / "data"; }
    std::string Project() const { return folder / "disc.tml"; }
    static std::string OutlineOf(const std::string& path) {
        return Outline(testing::LoadProject(path).Tree);
    }

    TempFolder folder;
};

TEST_F(UpdateCommandTest, PrintsEachChangeAndReplacesTheProject) {
    fs::remove(folder / "data/readme.txt");
    folder.WriteFile("data/Docs/Ärger.txt");
    const CliRun run = Cli({"update", Project(), "--mask", "*.*"});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    EXPECT_EQ(run.Out, "+ Docs\\Ärger.txt\n- readme.txt\n" + Project() +
                           ": 1 added, 1 removed, 3 unchanged (" + Data() + ")\n");
    // Stored in the project's code page: the system's, as no other was named.
    EXPECT_EQ(OutlineOf(Project()),
              TextCodec(SystemCodePage()).FromUtf8("Docs0 manual.txt1 Ärger.txt1 setup.exe0"));
    // Replaced in one step: nothing is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);

    const std::string updated = ReadWholeFile(Project());
    const CliRun again = Cli({"update", Project(), "--mask", "*.*"});
    EXPECT_EQ(again.Out, Project() + ": 0 added, 0 removed, 4 unchanged (" + Data() + ")\n");
    EXPECT_EQ(ReadWholeFile(Project()), updated);
}

// A file renamed or moved since the scan keeps its object at the first update, as the scan
// recorded the files; --no-renames leaves a gone and a new object.
TEST_F(UpdateCommandTest, ARenamedFileKeepsItsObjectUnlessRenamesAreOff) {
    folder.WriteFile("data/logo.bmp", "LOGO");
    ASSERT_EQ(Cli({"scan", Data(), "--mask", "*.*", "-o", Project()}).Code, ExitOk);
    fs::rename(folder / "data/logo.bmp", folder / "data/Docs/logo.bmp");
    folder.WriteFile("data/Docs/copy.bmp", "LOGO");

    const CliRun off = Cli({"update", Project(), "--mask", "*.*", "--no-renames", "--dry-run"});
    EXPECT_EQ(off.Out, "+ Docs\\copy.bmp\n+ Docs\\logo.bmp\n- logo.bmp\n" + Project() +
                           ": 2 to add, 1 to remove, 4 unchanged (" + Data() +
                           "; dry run, nothing written)\n");
    const CliRun run = Cli({"update", Project(), "--mask", "*.*"});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    EXPECT_EQ(run.Out, "+ Docs\\copy.bmp\n~ logo.bmp -> Docs\\logo.bmp\n" + Project() +
                           ": 1 added, 1 renamed, 0 removed, 4 unchanged (" + Data() + ")\n");
    EXPECT_EQ(run.Err,
              "tomlet-cli update: Docs\\copy.bmp holds the same content as "
              "Docs\\logo.bmp, which took the place of logo.bmp; it is added as new\n");
    EXPECT_EQ(OutlineOf(Project()), "Docs0 copy.bmp1 manual.txt1 logo.bmp0 readme.txt0 setup.exe0");
}

// A name the listing leaves out is named with its reason; the rest of the update goes through.
TEST_F(UpdateCommandTest, WhatTheListingLeavesOutIsNamedAndFailsTheUpdate) {
    folder.WriteFile("data/new.txt");
    folder.WriteFile("data/Отчёт.txt");
    const bool posixNames = !testing::OnWindows;
    if (posixNames)
        folder.WriteFile("data/a\\b.txt");
    const CliRun run = Cli({"update", Project(), "--mask", "*.*", "--code-page", "1252"});
    EXPECT_EQ(run.Code, ExitFailure);
    EXPECT_NE(run.Err.find("Отчёт.txt: the code page cannot hold its name"), std::string::npos)
        << run.Err;
    if (posixNames) {
        EXPECT_NE(run.Err.find("tomlet-cli update: skipped " + folder / "data/a\\b.txt"),
                  std::string::npos)
            << run.Err;
    }
    EXPECT_EQ(OutlineOf(Project()), "Docs0 manual.txt1 new.txt0 readme.txt0 setup.exe0");
}

// Names come from the disc: as dump prints texts, they are escaped, so that none forges a line of
// output, sends the terminal an escape or shows its letters reordered.
TEST_F(UpdateCommandTest, NamesArePrintedEscaped) {
    folder.WriteFile("data/run\u202Etxt.exe");
    const bool posixNames = !testing::OnWindows;
    if (posixNames) {
        folder.WriteFile("data/new\n\x1B[2K.txt");
        folder.WriteFile("data/a\\b\r.txt");  // left out: a stored path would read it as two
    }
    const CliRun run = Cli({"update", Project(), "--mask", "*.*", "--code-page", "65001"});
    EXPECT_NE(run.Out.find("+ run\\u202Etxt.exe\n"), std::string::npos) << run.Out;
    if (posixNames) {
        EXPECT_NE(run.Out.find("+ new\\n\\x1B[2K.txt\n"), std::string::npos) << run.Out;
        EXPECT_NE(run.Err.find("a\\b\\r.txt: "), std::string::npos) << run.Err;
    }
    for (const std::string& printed : {run.Out, run.Err})
        EXPECT_EQ(printed.find_first_of("\r\x1B"), std::string::npos) << printed;
}

// The second byte of "表" in code page 932 and of "乗" in 936 is 0x5C, the stored separator.
TEST_F(UpdateCommandTest, UpdatingInADoubleByteCodePageFindsEveryFolderAgain) {
    for (const auto& [codePage, name] : {std::pair{"932", "表"}, std::pair{"936", "乗"}}) {
        folder.WriteFile(std::string("data/") + name + "/" + name + ".txt");
        const std::string project = folder / (std::string(codePage) + ".tml");
        ASSERT_EQ(
            Cli({"scan", Data(), "--mask", "*.*", "--code-page", codePage, "-o", project}).Code,
            ExitOk);
        for (int update = 0; update < 2; ++update) {
            const CliRun run = Cli({"update", project, "--mask", "*.*", "--code-page", codePage});
            ASSERT_EQ(run.Code, ExitOk) << run.Err;
            EXPECT_NE(run.Out.find(": 0 added, 0 removed, "), std::string::npos) << run.Out;
        }
    }
}

TEST_F(UpdateCommandTest, DryRunWritesNothingAndKeepMissingWritesTheOutputOnly) {
    const std::string before = ReadWholeFile(Project());
    fs::remove(folder / "data/readme.txt");
    folder.WriteFile("data/new.exe");

    const CliRun dry = Cli({"update", Project(), "--mask", "*.*", "--dry-run", "-o", folder / "x"});
    ASSERT_EQ(dry.Code, ExitOk) << dry.Err;
    EXPECT_EQ(dry.Out, "+ new.exe\n- readme.txt\n" + Project() + ": 1 to add, 1 to remove, " +
                           "3 unchanged (" + Data() + "; dry run, nothing written)\n");
    EXPECT_FALSE(fs::exists(folder / "x"));

    const std::string output = folder / "out.tml";
    const CliRun kept = Cli({"update", Project(), "--mask", "*.*", "--keep-missing", "-o", output});
    ASSERT_EQ(kept.Code, ExitOk) << kept.Err;
    EXPECT_EQ(kept.Out,
              "+ new.exe\n" + output + ": 1 added, 1 missing kept, 3 unchanged (" + Data() + ")\n");
    EXPECT_EQ(OutlineOf(output), "Docs0 manual.txt1 new.exe0 readme.txt0 setup.exe0");
    EXPECT_EQ(ReadWholeFile(Project()), before);
}

TEST_F(UpdateCommandTest, RelativeProjectsCompareTheirOwnFolderInTheirCodePage) {
    folder.WriteFile("data/Я.txt");
    const std::string disc = Data() + "/default.tml";
    ASSERT_EQ(
        Cli({"scan", Data(), "--relative", "--mask", "*.txt", "--code-page", "1251", "-o", disc})
            .Code,
        ExitOk);
    // The disc has moved: its own folder counts, not the data directory it was made from.
    fs::rename(Data(), folder / "moved");
    const CliRun run = Cli({"update", folder / "moved/default.tml", "--mask", "*.txt",
                            "--code-page", "1251", "--dry-run"});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    EXPECT_NE(run.Out.find(": 0 to add, 0 to remove, 4 unchanged"), std::string::npos) << run.Out;

    // Away from its data, nothing is taken for gone.
    const std::string stray = folder / "stray.tml";
    fs::copy_file(folder / "moved/default.tml", stray);
    const CliRun away = Cli({"update", stray, "--mask", "*.txt", "--code-page", "1251"});
    EXPECT_EQ(away.Code, ExitFailure);
    EXPECT_NE(away.Err.find("--data-dir"), std::string::npos) << away.Err;
}

TEST_F(UpdateCommandTest, AMissingDataDirectoryFailsUnlessAnotherIsNamed) {
    const std::string before = ReadWholeFile(Project());
    fs::rename(Data(), folder / "moved");
    const CliRun gone = Cli({"update", Project(), "--mask", "*.*"});
    EXPECT_EQ(gone.Code, ExitFailure);
    EXPECT_NE(gone.Err.find(Text(TextId::message_IncorrectPath)), std::string::npos) << gone.Err;
    EXPECT_EQ(ReadWholeFile(Project()), before);

    const CliRun named =
        Cli({"update", Project(), "--mask", "*.*", "--data-dir", folder / "moved"});
    ASSERT_EQ(named.Code, ExitOk) << named.Err;
    EXPECT_NE(named.Out.find(": 0 added, 0 removed, 4 unchanged"), std::string::npos) << named.Out;

    // A relative data directory lies in the project file's folder.
    auto [project, tree] = testing::LoadProject(Project());
    project.ProjectDataDir = "moved";
    testing::SaveProject(Project(), project, tree);
    const CliRun relative = Cli({"update", Project(), "--mask", "*.*", "--dry-run"});
    ASSERT_EQ(relative.Code, ExitOk) << relative.Err;
    EXPECT_NE(relative.Out.find("4 unchanged (" + folder / "moved"), std::string::npos)
        << relative.Out;

    EXPECT_EQ(Cli({"update"}).Code, ExitUsage);
    EXPECT_EQ(Cli({"update", Project(), "--mask"}).Code, ExitUsage);
    EXPECT_EQ(Cli({"update", Project(), "--nested"}).Code, ExitUsage);
}

}  // namespace
}  // namespace tomlet::cli
