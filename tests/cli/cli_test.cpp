#include "cli/cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/json_project.h"
#include "cli/output_text.h"
#include "cli_run.h"
#include "core/catalogue.h"
#include "core/limits.h"
#include "core/paths.h"
#include "core/progress.h"
#include "core/project_file.h"
#include "support/file_system_faults.h"
#include "support/project_bytes.h"
#include "support/project_files.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "support/test_system.h"
#include "support/tree_records.h"

namespace tomlet::cli {
namespace {

using testing::LoadProject;
using testing::ReadWholeFile;
using testing::Record;
using testing::TempFolder;

class CliTest : public ::testing::Test {
protected:
    // Docs (Readme, Odd) and Setup, with properties of every kind.
    void SetUp() override {
        project = {"", "Demo", "Second line", "splash.jpg", 1500, false, "One\r\nTwo\r\n"};
        ObjectNode* docs = tree.Append(nullptr, Record("Docs", otVirtualFolder, oaNoAction));
        TNodeData readme = Record("Readme", otTextFile, oaOpenByNotepad, "Docs\\readme.txt");
        readme.Hint = "Read me first";
        readme.Comments = "Line\r\n";
        tree.Append(docs, readme);
        tree.Append(docs, Record("Odd", 44, 200));
        TNodeData setup = Record("Setup", otExecuteFile, oaExecute, "Setup\\setup.exe");
        setup.Parameters = "/quiet";
        tree.Append(nullptr, setup);
    }
    std::string Save(const std::string& name) {
        testing::SaveProject(folder / name, project, tree);
        return folder / name;
    }

    TempFolder folder;
    TProjectRec project;
    ObjectTree tree;
};

TEST_F(CliTest, HelpDocumentsCommandsAndExitCodes) {
    const CliRun run = Cli({"--help"});
    EXPECT_EQ(run.Code, ExitOk);
    for (const Command& command : Commands())
        EXPECT_NE(run.Out.find("  " + std::string(command.Name) + " "), std::string::npos)
            << command.Name;
    EXPECT_NE(run.Out.find("Exit codes:"), std::string::npos);
    EXPECT_EQ(Cli({"check", "-h"}).Out, run.Out);
}

TEST_F(CliTest, WrongCommandLinesExitWithTwo) {
    const std::string path = Save("p.tml");
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"frobnicate", path},
        {"check"},
        {"check", path, path},
        {"check", path, "--code-page", "1251"},  // check takes no options
        {"dump", path, "--code-page"},
        {"dump", path, "--code-page", "cyrillic"},
        {"import", folder / "p.json"},
    };
    for (const auto& line : lines) {
        const CliRun run = Cli(line);
        EXPECT_EQ(run.Code, ExitUsage) << (line.empty() ? "" : line[0]) << " " << run.Err;
        EXPECT_FALSE(run.Err.empty());
    }
}

TEST_F(CliTest, CheckTellsReadableFromUnreadable) {
    const CliRun ok = Cli({"check", Save("good.tml")});
    EXPECT_EQ(ok.Code, ExitOk);
    EXPECT_NE(ok.Out.find("4 objects"), std::string::npos) << ok.Out;

    const std::string good = ReadWholeFile(folder / "good.tml");
    std::string newer = good;
    newer[9] = 1;
    newer[10] = 3;
    const std::pair<std::string, std::string> broken[] = {
        {folder.WriteFile("text.tml", "just some text"), Text(TextId::message_IncorrectFormatFile)},
        {folder.WriteFile("short.tml", good.substr(0, good.size() - 1)),
         Text(TextId::message_IncorrectFormatFile)},
        {folder.WriteFile("newer.tml", newer),
         Text(TextId::message_FileVersionHigherUseNewerTomlet)},
        {folder.WriteFile("deep.tml", testing::NestedProjectBytes(30000)),
         Text(TextId::message_IncorrectFormatFile) + " " + TreeTooDeepText()},
    };
    for (const auto& [path, message] : broken) {
        const CliRun run = Cli({"check", path});
        EXPECT_EQ(run.Code, ExitFailure) << path;
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
        EXPECT_TRUE(run.Out.empty());
    }
    const CliRun missing = Cli({"check", folder / "missing.tml"});
    EXPECT_EQ(missing.Code, ExitFailure);
    EXPECT_NE(missing.Err.find("missing.tml"), std::string::npos);
}

TEST_F(CliTest, DumpShowsPropertiesAndTheIndentedTree) {
    const CliRun run = Cli({"dump", Save("p.tml")});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    EXPECT_EQ(run.Out,
              "ProjectDataDir:\n"
              "ProjectName: Demo\n"
              "ProjectName2: Second line\n"
              "SplashFileName: splash.jpg\n"
              "SplashShowTime: 1500\n"
              "AbsolutePath: false\n"
              "ProjectDescription:\n"
              "    One\n"
              "    Two\n"
              "Objects: 4\n"
              "Docs  [Virtual folder, No action]\n"
              "  Readme  [Text file, Open by notepad]  Docs\\readme.txt\n"
              "  Odd  [type 44, action 200]\n"
              "Setup  [Execute file, Execute]  Setup\\setup.exe\n");
}

// A catalogue's texts must not reach the terminal as escape sequences or as lines of their own.
TEST_F(CliTest, DumpAndFindPrintControlCharactersEscaped) {
    tree.ClearObjectTree();
    tree.Append(nullptr, Record("Evil\x1B[2J\r\nSetup  [Execute file, Execute]\xC2\x9B", otFile,
                                oaNoAction, "a\tb\x7F"));
    const std::string path = Save("p.tml");
    const std::string caption = "Evil\\x1B[2J\\r\\nSetup  [Execute file, Execute]\\u009B";
    const std::string stored = "a\\tb\\x7F";

    const CliRun dump = Cli({"dump", path, "--code-page", "65001"});
    ASSERT_EQ(dump.Code, ExitOk) << dump.Err;
    EXPECT_NE(dump.Out.find("\n" + caption + "  [File, No action]  " + stored + "\n"),
              std::string::npos)
        << dump.Out;
    const CliRun find = Cli({"find", path, "evil", "--code-page", "65001"});
    ASSERT_EQ(find.Code, ExitOk) << find.Err;
    EXPECT_EQ(find.Out, "0\t" + caption + "\t" + stored + "\n");
}

// Deep trees print in output that grows with the number of objects, not with the depth.
TEST_F(CliTest, DumpAndExportOfTheDeepestProjectStaySmall) {
    const std::string deep =
        folder.WriteFile("deep.tml", testing::NestedProjectBytes(MaxTreeLevels));
    const CliRun dump = Cli({"dump", deep});
    ASSERT_EQ(dump.Code, ExitOk) << dump.Err;
    EXPECT_LT(dump.Out.size(), 200u * MaxTreeLevels);
    EXPECT_NE(dump.Out.find("\n" + std::string(2 * MaxIndentSteps, ' ') +
                            "(level 999) level 999  [Folder, Open]\n"),
              std::string::npos);

    const CliRun exported = Cli({"export", deep});
    ASSERT_EQ(exported.Code, ExitOk) << exported.Err;
    EXPECT_LT(exported.Out.size(), 2000u * MaxTreeLevels);
    const std::string copy = folder / "copy.tml";
    ASSERT_EQ(Cli({"import", folder.WriteFile("deep.json", exported.Out), "-o", copy}).Code,
              ExitOk);
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(deep));
}

TEST_F(CliTest, ExportRefusesTextsTheCodePageCannotCarryUnlessLossy) {
    tree.Append(nullptr, Record("\x98 undefined in 1251", otFile, oaNoAction));
    const std::string path = Save("p.tml");

    const CliRun refused = Cli({"export", path, "--code-page", "1251"});
    EXPECT_EQ(refused.Code, ExitFailure);
    EXPECT_TRUE(refused.Out.empty());
    EXPECT_NE(refused.Err.find("1 texts"), std::string::npos) << refused.Err;
    EXPECT_NE(refused.Err.find("the field Caption of object 5"), std::string::npos) << refused.Err;
    EXPECT_NE(refused.Err.find("--lossy"), std::string::npos) << refused.Err;
    EXPECT_EQ(Cli({"export", path, "--code-page", "65001"}).Code, ExitFailure);

    const CliRun lossy = Cli({"export", path, "--code-page", "1251", "--lossy"});
    EXPECT_EQ(lossy.Code, ExitOk) << lossy.Err;
    EXPECT_NE(lossy.Out.find("\"\xEF\xBF\xBD undefined in 1251\""), std::string::npos);
}

// Import refuses what the code page cannot hold (ImportRefusesWhatDoesNotFitAndWritesNothing);
// --lossy imports it with '?' as export --lossy exports U+FFFD.
TEST_F(CliTest, ImportWithLossyWritesWhatTheCodePageLacksAsQuestionMarks) {
    const std::string json = folder.WriteFile("emoji.json", R"({"objects":[{"Hint":"Да 😀"}]})");
    const std::string target = folder / "out.tml";
    const CliRun run = Cli({"import", json, "--code-page", "1251", "--lossy", "-o", target});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    EXPECT_EQ(LoadProject(target).Tree.First()->Data.Hint, "\xC4\xE0 ?");
}

TEST_F(CliTest, ExportPrintsTheProjectInFileOrder) {
    tree.ClearObjectTree();
    tree.Append(tree.Append(nullptr, Record("A", otFolder, oaOpen, "a")),
                Record("B", otFile, oaOpenByAssociation, "a\\b"));
    const CliRun run = Cli({"export", Save("p.tml")});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    EXPECT_EQ(Json::parse(run.Out).dump(),
              R"({"version":[0,2],"project":{"ProjectDataDir":"","ProjectName":"Demo",)"
              R"("ProjectName2":"Second line","SplashFileName":"splash.jpg",)"
              R"("SplashShowTime":1500,"AbsolutePath":false,)"
              R"("ProjectDescription":"One\r\nTwo\r\n"},"objects":[{"Caption":"A","Hint":"",)"
              R"("ObjectType":1,"ObjectAction":1,"PathFileName":"a","Parameters":"",)"
              R"("Comments":"","children":[{"Caption":"B","Hint":"","ObjectType":0,)"
              R"("ObjectAction":4,"PathFileName":"a\\b","Parameters":"","Comments":"",)"
              R"("children":[]}]}]})");
}

TEST_F(CliTest, OutputThatCannotBeWrittenFailsTheCommand) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "needs a device that is always full";
    const std::string path = Save("p.tml");
    for (const char* command : {"export", "dump"}) {
        std::ofstream full("/dev/full");
        std::ostringstream err;
        const std::vector<std::string> arguments = {command, path};
        EXPECT_EQ(RunCli(arguments, full, err), ExitFailure) << command;
        EXPECT_NE(err.str().find("the output cannot be written"), std::string::npos) << err.str();
    }
}

TEST_F(CliTest, ExportThenImportGivesBackTheSameBytes) {
    // Texts in code page 1251: "Документы" and a description with a line break.
    project.ProjectName = "\xC4\xEE\xEA\xF3\xEC\xE5\xED\xF2\xFB";
    project.ProjectDescription = "\xCF\xF0\xE8\xE2\xE5\xF2\r\n";
    project.AbsolutePath = true;
    project.SplashShowTime = -1;
    tree.Append(tree.AtAbsoluteIndex(1), Record("deep", otPicture, oaOpenByInternalViewer));
    const std::string original = Save("original.tml");

    const CliRun exported = Cli({"export", original, "--code-page", "1251"});
    ASSERT_EQ(exported.Code, ExitOk) << exported.Err;
    EXPECT_NE(exported.Out.find("Документы"), std::string::npos);
    const std::string json = folder.WriteFile("project.json", exported.Out);
    const std::string copy = folder / "copy.tml";
    const CliRun imported = Cli({"import", json, "--code-page", "1251", "-o", copy});
    ASSERT_EQ(imported.Code, ExitOk) << imported.Err;
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(original));
}

// The real tool, so that the names travel on its command line: on Windows they must not pass
// through the ANSI code page, which lacks some of them.
TEST_F(CliTest, TheToolTakesFileNamesInAnyScriptOnItsCommandLine) {
    const std::string original = Save("original.tml");
    const std::string json = folder.WriteFile("project.json", Cli({"export", original}).Out);
    const std::string copy = folder / "Отчёт Ärger €.tml";
    EXPECT_EQ(
        testing::RunProgram(testing::BuiltProgram("tomlet-cli"), {"import", json, "-o", copy}),
        ExitOk);
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(original));
}

TEST_F(CliTest, ImportRefusesWhatDoesNotFitAndWritesNothing) {
    const std::pair<std::string, std::string> documents[] = {
        {R"({"objects":[{"Caption":"a","ObjectType":300}]})", "objects[0].ObjectType"},
        {R"({"objects":[{"children":[{"Capton":"typo"}]}]})", "objects[0].children[0]"},
        {R"({"project":{"AbsolutePath":1}})", "project.AbsolutePath"},
        {R"({"project":{"SplashShowTime":3000000000}})", "project.SplashShowTime"},
        {R"({"version":[1,3],"objects":[]})", "version"},
        {R"({"objects":{"Caption":"not a list"}})", "objects"},
        {R"({"objects":[{"Caption":"x"}],)", "parse error"},
        {R"({"objects":[{"Caption":"Да","Hint":"😀"}]})", "objects[0].Hint: code page 1251"},
    };
    const std::string target = folder / "out.tml";
    for (const auto& [document, where] : documents) {
        const CliRun run = Cli(
            {"import", folder.WriteFile("in.json", document), "--code-page", "1251", "-o", target});
        EXPECT_EQ(run.Code, ExitFailure) << document;
        EXPECT_NE(run.Err.find(where), std::string::npos) << run.Err;
        EXPECT_FALSE(std::filesystem::exists(target)) << document;
    }
}

// A JSON tree `depth` levels deep around the object `bottom`.
std::string NestedJson(int depth, const std::string& bottom) {
    std::string json = R"({"objects":[)";
    for (int i = 1; i < depth; ++i)
        json += R"({"children":[)";
    json += bottom;
    for (int i = 1; i < depth; ++i)
        json += "]}";
    return json + "]}";
}

// Deep trees must not cost a location text per level: that grows with the square of the depth.
TEST_F(CliTest, ImportReadsTheDeepestTreeAndLocatesAFaultAtItsBottom) {
    constexpr int Depth = MaxTreeLevels;
    std::string path = "objects[0]";
    for (int i = 1; i < Depth; ++i)
        path += ".children[0]";
    const std::string deep = NestedJson(Depth, R"({"Caption":"bottom"})");

    const std::string target = folder / "deep.tml";
    const CliRun run = Cli({"import", folder.WriteFile("deep.json", deep), "-o", target});
    ASSERT_EQ(run.Code, ExitOk) << run.Err;
    const ObjectTree readTree = LoadProject(target).Tree;
    ASSERT_EQ(readTree.Count(), Depth);
    int levels = 0;
    readTree.ForEachDepthFirst([&](const ObjectNode& node, int level) {
        levels = std::max(levels, level + 1);
        if (!node.HasChildren()) {
            EXPECT_EQ(node.Data.Caption, "bottom");
        }
    });
    EXPECT_EQ(levels, Depth);

    const std::string faulty = NestedJson(Depth, R"({"Caption":7})");
    const CliRun refused = Cli({"import", folder.WriteFile("faulty.json", faulty), "-o", target});
    EXPECT_EQ(refused.Code, ExitFailure);
    EXPECT_NE(refused.Err.find(path + ".Caption: a string is expected"), std::string::npos);

    const std::string deeper = NestedJson(100000, "{}");
    const CliRun tooDeep = Cli({"import", folder.WriteFile("deeper.json", deeper), "-o", target});
    EXPECT_EQ(tooDeep.Code, ExitFailure);
    EXPECT_NE(tooDeep.Err.find("objects: " + TreeTooDeepText()), std::string::npos) << tooDeep.Err;
}

TEST_F(CliTest, ImportFillsMissingFieldsWithDefaults) {
    const std::string json =
        folder.WriteFile("in.json", R"({"objects":[{"Caption":"Only","children":[{}]}]})");
    ASSERT_EQ(Cli({"import", json, "-o", folder / "out.tml"}).Code, ExitOk);
    const auto [read, readTree] = LoadProject(folder / "out.tml");
    EXPECT_EQ(read, TProjectRec{});
    ASSERT_EQ(readTree.Count(), 2);
    EXPECT_EQ(readTree.First()->Data.Caption, "Only");
    EXPECT_EQ(readTree.First()->Child(0)->Data, TNodeData{});
}

TEST_F(CliTest, ImportReportsSavesThatFail) {
    const std::string json = folder.WriteFile("in.json", R"({"objects":[]})");
    const CliRun run = Cli({"import", json, "-o", folder / "missing folder/out.tml"});
    EXPECT_EQ(run.Code, ExitFailure);
    EXPECT_NE(run.Err.find(Text(TextId::SaveFailure)), std::string::npos) << run.Err;
}

// -o /dev/stdout or a pipe: written as a stream, never replaced by a file of the same name.
TEST_F(CliTest, ImportWritesAPipeDirectly) {
    SKIP_ON_WINDOWS("POSIX pipes");
    const std::string original = Save("original.tml");
    const CliRun exported = Cli({"export", original});
    ASSERT_EQ(exported.Code, ExitOk) << exported.Err;
    const std::string json = folder.WriteFile("project.json", exported.Out);
    const std::string pipe = folder / "pipe";
    ASSERT_TRUE(testing::MakeNamedPipe(pipe));

    std::string received;
    std::thread reader([&] { received = ReadWholeFile(pipe); });
    const CliRun imported = Cli({"import", json, "-o", pipe});
    reader.join();
    ASSERT_EQ(imported.Code, ExitOk) << imported.Err;
    EXPECT_EQ(received, ReadWholeFile(original));
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

// tomlet-cli import ... -o /dev/stdout >> log.txt: the project follows what the log held.
TEST_F(CliTest, ImportToStandardOutputAppendsToARedirectedLog) {
    SKIP_ON_WINDOWS("/dev/stdout");
    const std::string original = Save("original.tml");
    const std::string json = folder.WriteFile("project.json", Cli({"export", original}).Out);
    const std::string log = folder.WriteFile("log.txt", "what the log held\n");
    ASSERT_EQ(
        testing::RunProgram("/bin/sh", {"-c", R"(exec "$0" import "$1" -o /dev/stdout >> "$2")",
                                        testing::BuiltProgram("tomlet-cli"), json, log}),
        0);
    EXPECT_EQ(ReadWholeFile(log), "what the log held\n" + ReadWholeFile(original));
}

// Export lays the JSON out as the kept catalogue is laid out: importing it and exporting it again
// gives back the same text.
TEST(DemoDiscTest, ExportGivesBackTheKeptJson) {
    const std::string json = std::string(TOMLET_SOURCE_DIR) + "/examples/demo-disc/project.json";
    TempFolder folder;
    const std::string project = folder / "demo.tml";
    ASSERT_EQ(Cli({"import", json, "--code-page", "65001", "-o", project}).Code, ExitOk);
    const CliRun exported = Cli({"export", project, "--code-page", "65001"});
    ASSERT_EQ(exported.Code, ExitOk) << exported.Err;
    EXPECT_EQ(exported.Out, ReadWholeFile(json));
}

// The demo disc's catalogue is kept as JSON; every object must name something on the disc.
TEST(DemoDiscTest, EveryStoredPathExistsOnTheDisc) {
    const std::filesystem::path demo =
        std::filesystem::path(TOMLET_SOURCE_DIR) / "examples/demo-disc";
    std::ifstream file(demo / "project.json");
    TProjectRec project;
    ObjectTree tree;
    ProjectFromJson(Json::parse(file), {TextCodec(TextCodec::Utf8)}, project, tree);
    ASSERT_GT(tree.Count(), 10);
    EXPECT_TRUE(std::filesystem::is_regular_file(demo / "disc" / project.SplashFileName));
    tree.ForEachDepthFirst([&](const ObjectNode& node, int) {
        std::string path = node.Data.PathFileName;
        std::replace(path.begin(), path.end(), '\\', '/');
        if (node.Data.ObjectType == otVirtualFolder)
            EXPECT_TRUE(path.empty()) << node.Data.Caption;
        else
            EXPECT_TRUE(std::filesystem::exists(demo / "disc" / path)) << node.Data.Caption;
    });
}

// The staged disc is editable as shipped: its project names the disc's own folder as its data
// directory, relative, so that the disc may move.
TEST(DemoDiscTest, TheStagedProjectNamesTheStagedDiscAsItsDataDirectory) {
    const TProjectRec project = LoadProject(TOMLET_STAGED_DISC "/default.tml").Project;
    EXPECT_EQ(project.ProjectDataDir, ".");
    const std::string disc = (std::filesystem::path(TOMLET_STAGED_DISC) / "").string();
    EXPECT_TRUE(std::filesystem::equivalent(ResolveDataDirectory(project.ProjectDataDir, disc),
                                            TOMLET_STAGED_DISC));
    EXPECT_FALSE(project.AbsolutePath);  // the disc still moves: objects resolve beside tomlet
}

}  // namespace
}  // namespace tomlet::cli
