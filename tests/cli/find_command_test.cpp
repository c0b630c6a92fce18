#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli_run.h"
#include "support/project_files.h"
#include "support/temp_folder.h"
#include "support/tree_records.h"

namespace tomlet::cli {
namespace {

// A plain file object.
TNodeData Object(std::string caption, std::string path = {}) {
    return testing::Record(std::move(caption), otFile, oaNoAction, std::move(path));
}

class FindCommandTest : public ::testing::Test {
protected:
    // 0 Docs, 1 Readme, 2 Setup guide, 3 Setup
    void SetUp() override {
        ObjectNode* docs = tree.Append(nullptr, Object("Docs"));
        TNodeData readme = Object("Readme", "Docs\\readme.txt");
        readme.Hint = "Read me first";
        tree.Append(docs, readme);
        tree.Append(docs, Object("Setup guide", "Docs\\setup.txt"));
        TNodeData setup = Object("Setup", "Setup\\setup.exe");
        setup.Parameters = "/quiet";
        setup.Comments = "Installs everything\r\n";
        tree.Append(nullptr, setup);
        path = Save("find.tml");
    }
    std::string Save(const std::string& name) {
        testing::SaveProject(folder / name, TProjectRec{}, tree);
        return folder / name;
    }

    testing::TempFolder folder;
    ObjectTree tree;
    std::string path;
};

TEST_F(FindCommandTest, PrintsEveryMatchInCaptionsIgnoringCase) {
    const CliRun run = Cli({"find", path, "SETUP"});
    EXPECT_EQ(run.Code, ExitOk);
    EXPECT_EQ(run.Out, "2\tSetup guide\tDocs\\setup.txt\n3\tSetup\tSetup\\setup.exe\n");
    EXPECT_EQ(Cli({"find", path, "tup g"}).Out, "2\tSetup guide\tDocs\\setup.txt\n");
    EXPECT_EQ(Cli({"find", path, "Docs"}).Out, "0\tDocs\t\n");
}

TEST_F(FindCommandTest, ExitsWithOneWhenNothingMatches) {
    const CliRun run = Cli({"find", path, "setup", "--case-sensitive"});
    EXPECT_EQ(run.Code, ExitFailure);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(Cli({"find", path, ""}).Code, ExitFailure);
    EXPECT_EQ(Cli({"find", path, "Setup", "--case-sensitive"}).Code, ExitOk);
}

TEST_F(FindCommandTest, LooksInTheFieldsNamed) {
    EXPECT_EQ(Cli({"find", path, "read", "--fields", "hint"}).Out, "1\tReadme\tDocs\\readme.txt\n");
    EXPECT_EQ(Cli({"find", path, "txt", "--fields", "path"}).Out,
              "1\tReadme\tDocs\\readme.txt\n2\tSetup guide\tDocs\\setup.txt\n");
    EXPECT_EQ(Cli({"find", path, "QUIET", "--fields", "parameters"}).Out,
              "3\tSetup\tSetup\\setup.exe\n");
    EXPECT_EQ(Cli({"find", path, "everything", "--fields", "caption,comments"}).Out,
              "3\tSetup\tSetup\\setup.exe\n");
    EXPECT_EQ(Cli({"find", path, "quiet"}).Code, ExitFailure);  // the caption alone by default
}

TEST_F(FindCommandTest, FoldsCyrillicInTheCodePageGiven) {
    tree.ClearObjectTree();
    tree.Append(nullptr, Object("\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0"));  // Установка in 1251
    const std::string cyrillic = Save("cyrillic.tml");
    const CliRun run = Cli({"find", cyrillic, "УСТАНОВКА", "--code-page", "1251"});
    EXPECT_EQ(run.Code, ExitOk);
    EXPECT_EQ(run.Out, "0\tУстановка\t\n");
    EXPECT_EQ(Cli({"find", cyrillic, "УСТАНОВКА", "--code-page", "1251", "--case-sensitive"}).Code,
              ExitFailure);
}

TEST_F(FindCommandTest, WrongCommandLinesExitWithTwo) {
    for (const std::vector<std::string>& line : std::vector<std::vector<std::string>>{
             {"find", path},
             {"find", path, "a", "b"},
             {"find", path, "a", "--fields", "title"},
             {"find", path, "a", "--fields", ","},
             {"find", path, "a", "--fields"},
         })
        EXPECT_EQ(Cli(line).Code, ExitUsage) << line.back();
    EXPECT_EQ(Cli({"find", folder / "missing.tml", "a"}).Code, ExitFailure);
}

}  // namespace
}  // namespace tomlet::cli
