#include "core/object_actions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalogue.h"
#include "support/temp_folder.h"
#include "support/tree_records.h"

namespace tomlet {
namespace {

using testing::TempFolder;
using Kind = ObjectCommand::Kind;

TNodeData Object(std::uint8_t type, std::uint8_t action, std::string path,
                 std::string parameters = {}) {
    TNodeData data = testing::Record("object", type, action, std::move(path));
    data.Parameters = std::move(parameters);
    return data;
}

ObjectCommand CommandLine(std::string line) {
    return {.What = Kind::StartCommandLine, .CommandLine = std::move(line)};
}

ObjectCommand Open(std::string path) {
    return {.What = Kind::OpenPath, .Target = std::move(path)};
}

// The Windows rules on a disc in drive D:, in absolute mode.
ActionContext WindowsDisc() {
    ActionContext context;
    context.DataDir = "D:";
    context.DiscFolder = "E:\\tomlet\\";
    context.Rules = PathRules::Windows();
    return context;
}

// What the object's own action does on that disc.
ObjectCommand OnDisc(std::uint8_t type, std::uint8_t action, std::string path,
                     std::string parameters = {}) {
    return PlanObjectAction(Object(type, action, std::move(path), std::move(parameters)), OwnAction,
                            WindowsDisc());
}

TEST(ObjectActionsWindows, ExecuteQuotesTheProgramAndAppendsTheParameters) {
    EXPECT_EQ(OnDisc(otExecuteFile, oaExecute, "Setup\\setup.exe", "/s"),
              CommandLine("\"D:\\Setup\\setup.exe\" /s"));
    EXPECT_EQ(OnDisc(otExecuteFile, oaExecute, "Setup\\setup.exe"),
              CommandLine("\"D:\\Setup\\setup.exe\""));
    EXPECT_EQ(OnDisc(otFile, oaExecute, "Program Files\\My App.COM", "-q x"),
              CommandLine("\"D:\\Program Files\\My App.COM\" -q x"));
}

TEST(ObjectActionsWindows, RelativeModeStartsFromTheProgramFolder) {
    ActionContext relative = WindowsDisc();
    relative.Mode = PathMode::Relative;
    EXPECT_EQ(
        PlanObjectAction(Object(otExecuteFile, oaExecute, "Setup\\setup.exe"), OwnAction, relative),
        CommandLine("\"E:\\tomlet\\Setup\\setup.exe\""));
}

TEST(ObjectActionsWindows, NotepadAndAssociation) {
    const ActionContext disc = WindowsDisc();
    const TNodeData text = Object(otTextFile, oaOpenByAssociation, "Docs\\read me.txt");
    EXPECT_EQ(PlanObjectAction(text, oaOpenByNotepad, disc),
              CommandLine("notepad.exe D:\\Docs\\read me.txt"));
    EXPECT_EQ(PlanObjectAction(text, OwnAction, disc), Open("D:\\Docs\\read me.txt"));
    EXPECT_EQ(PlanObjectAction(text, oaOpen, disc), ObjectCommand{});
}

TEST(ObjectActionsWindows, ExecuteNeedsAnExeOrComExtension) {
    EXPECT_EQ(OnDisc(otFile, oaExecute, "Setup\\install.bat"), ObjectCommand{});
    EXPECT_EQ(OnDisc(otFile, oaExecute, "Setup\\setup.exe.txt"), ObjectCommand{});
    EXPECT_EQ(OnDisc(otFile, oaExecute, "Setup\\setup"), ObjectCommand{});
    EXPECT_EQ(OnDisc(otFile, oaExecute, "Setup\\SETUP.Exe"),
              CommandLine("\"D:\\Setup\\SETUP.Exe\""));
}

// "D:\x" calc.exe "y.exe" would start calc.exe: a quote in the path starts nothing at all.
TEST(ObjectActionsWindows, ExecuteRefusesAPathThatWouldEndTheQuotingEarly) {
    EXPECT_EQ(OnDisc(otExecuteFile, oaExecute, "x\" calc.exe \"y.exe", "/s"), ObjectCommand{});
}

TEST(ObjectActionsWindows, FoldersOnlyOpen) {
    const ActionContext disc = WindowsDisc();
    const TNodeData folder = Object(otFolder, oaOpen, "Drivers");
    EXPECT_EQ(PlanObjectAction(folder, OwnAction, disc), Open("D:\\Drivers"));
    for (const int action :
         std::initializer_list<int>{oaOpenByNotepad, oaOpenByAssociation, oaOpenByInternalNotepad,
                                    oaOpenByInternalViewer, 42})
        EXPECT_EQ(PlanObjectAction(folder, static_cast<std::uint8_t>(action), disc),
                  ObjectCommand{})
            << action;
}

TEST(ObjectActionsWindows, InternalViewersAndUnknownActionsOpenByAssociation) {
    for (const int action :
         std::initializer_list<int>{oaOpenByInternalNotepad, oaOpenByInternalViewer, 7, 255})
        EXPECT_EQ(OnDisc(otPicture, static_cast<std::uint8_t>(action), "a.jpg"), Open("D:\\a.jpg"))
            << action;
}

TEST(ObjectActionsWindows, NoActionAndEmptyPathsStartNothing) {
    EXPECT_EQ(OnDisc(otExecuteFile, oaNoAction, "setup.exe"), ObjectCommand{});
    EXPECT_EQ(
        PlanObjectAction(Object(otExecuteFile, oaExecute, "setup.exe"), oaNoAction, WindowsDisc()),
        ObjectCommand{});
    EXPECT_EQ(OnDisc(otVirtualFolder, oaOpenByAssociation, ""), ObjectCommand{});
}

// A catalogue's path that climbs out of its disc is told apart from the disc's own.
TEST(ObjectActionsWindows, PathsThatClimbOutOfTheBaseFolderLeadOutside) {
    struct Case {
        PathMode Mode;
        const char* Path;
        bool Outside;
    };
    ActionContext disc = WindowsDisc();
    disc.DataDir = "D:\\Disc";
    for (const auto& [mode, path, outside] : {
             Case{PathMode::Absolute, "Setup\\setup.exe", false},
             Case{PathMode::Absolute, ".\\Setup\\..\\setup.exe", false},
             Case{PathMode::Absolute, "..\\Windows\\system32\\cmd.exe", true},
             Case{PathMode::Absolute, "Setup\\..\\..\\Disc2\\x.exe", true},
             Case{PathMode::Relative, "Tools\\x.exe", false},
             Case{PathMode::Relative, "..\\TOMLET\\x.exe", false},  // E:\tomlet, in any case
             Case{PathMode::Relative, "..\\x.exe", true},
         }) {
        disc.Mode = mode;
        EXPECT_EQ(LeadsOutsideBaseFolder(Object(otExecuteFile, oaExecute, path), disc), outside)
            << path;
    }
    // Without a data directory nothing is the disc's own.
    disc.Mode = PathMode::Absolute;
    disc.DataDir.clear();
    EXPECT_TRUE(LeadsOutsideBaseFolder(Object(otExecuteFile, oaExecute, "setup.exe"), disc));
}

TEST(DescribeCommand, NamesWhatStartsOnOneLine) {
    EXPECT_EQ(DescribeCommand({.What = Kind::StartProgram,
                               .Target = "/media/disc/tool",
                               .Arguments = {"-x", "two words", ""}}),
              "/media/disc/tool -x \"two words\" \"\"");
    EXPECT_EQ(DescribeCommand(CommandLine("\"D:\\a.exe\" /s\r\n\x1B[2Jforged")),
              "\"D:\\a.exe\" /s\\r\\n\\x1B[2Jforged");
    EXPECT_EQ(DescribeCommand(Open("/media/disc/readme.txt")), "/media/disc/readme.txt");
}

// A catalogue's texts can neither forge a line of the question nor show "run\u202Etxt.exe" as
// "runexe.txt"; a translation that runs the command into its own text gets it on a line of its
// own all the same.
TEST(RunOutsideDiscQuestion, ShowsWhatStartsEscapedOnALineOfItsOwn) {
    ResetCatalogue();
    const ObjectCommand forged{.What = Kind::StartProgram,
                               .Target = "/media/evil/run\u202Etxt.exe",
                               .Arguments = {"/x\u2028\u2029\u2028Run it? Yes\xC2\x85"}};
    const std::string shown =
        "/media/evil/run\\u202Etxt.exe \"/x\\u2028\\u2029\\u2028Run it? Yes\\u0085\"";
    EXPECT_EQ(RunOutsideDiscQuestion(forged),
              "This object lies outside the disc, beyond what the catalogue describes:\r\n" +
                  shown + "\r\nRun it all the same?");
    SetText(TextId::message_RunOutsideDisc_S, "Start %s anyway?");
    EXPECT_EQ(RunOutsideDiscQuestion(forged), "Start \r\n" + shown + "\r\n anyway?");
    ResetCatalogue();
}

// The running system's rules, on real files below a temporary data directory.
class ObjectActionsNative : public ::testing::Test {
protected:
    void SetUp() override {
        if (PathRules::Native().DriveLetters)
            GTEST_SKIP() << "separate arguments are the rules of systems without drive letters";
        context.DataDir = data.Path().string();
        context.DiscFolder = (data.Path() / "").string();
    }

    TempFolder data;
    ActionContext context;
};

TEST_F(ObjectActionsNative, ExecuteStartsTheProgramWithSeparateArguments) {
    const std::string program = data.WriteFile("Setup/setup.exe", "MZ");
    const ObjectCommand command = PlanObjectAction(
        Object(otExecuteFile, oaExecute, "Setup\\setup.exe", "/s  \"two words\" x\"y z\" \"\""),
        OwnAction, context);
    EXPECT_EQ(command, (ObjectCommand{.What = Kind::StartProgram,
                                      .Target = program,
                                      .Arguments = {"/s", "two words", "xy z", ""}}));

    const ObjectCommand bare =
        PlanObjectAction(Object(otExecuteFile, oaExecute, "Setup\\setup.exe"), OwnAction, context);
    EXPECT_EQ(bare.Target, program);
    EXPECT_TRUE(bare.Arguments.empty());
}

TEST_F(ObjectActionsNative, StoredPathsFindFilesWrittenInAnotherCase) {
    const std::string program = data.WriteFile("Setup/Setup.exe", "MZ");
    const std::string folder = data.MakeFolder("Drivers/Video");
    EXPECT_EQ(
        PlanObjectAction(Object(otExecuteFile, oaExecute, "SETUP\\setup.EXE"), OwnAction, context)
            .Target,
        program);
    EXPECT_EQ(PlanObjectAction(Object(otFolder, oaOpen, "drivers\\VIDEO"), OwnAction, context),
              Open(folder));
}

TEST_F(ObjectActionsNative, NotepadStartsTheConfiguredEditorWithTheFile) {
    const std::string text = data.WriteFile("readme.txt", "hello");
    const TNodeData object = Object(otTextFile, oaOpenByNotepad, "readme.txt");
    context.TextEditor = "gedit --new-window";
    EXPECT_EQ(
        PlanObjectAction(object, OwnAction, context),
        (ObjectCommand{
            .What = Kind::StartProgram, .Target = "gedit", .Arguments = {"--new-window", text}}));
    context.TextEditor.clear();
    EXPECT_EQ(PlanObjectAction(object, OwnAction, context), Open(text));
}

TEST_F(ObjectActionsNative, ContainingFolderOfAnExistingTarget) {
    data.WriteFile("Docs/manual.txt", "x");
    data.MakeFolder("Drivers");
    EXPECT_EQ(PlanOpenContainingFolder(Object(otTextFile, oaOpenByAssociation, "Docs\\manual.txt"),
                                       context),
              Open(data / "Docs"));
    EXPECT_EQ(PlanOpenContainingFolder(Object(otFolder, oaOpen, "Drivers"), context),
              Open(context.DataDir));
    EXPECT_EQ(PlanOpenContainingFolder(Object(otTextFile, oaOpenByAssociation, "Docs\\gone.txt"),
                                       context),
              ObjectCommand{});
    EXPECT_EQ(PlanOpenContainingFolder(Object(otVirtualFolder, oaNoAction, "Docs"), context),
              ObjectCommand{});
}

// Links are followed, from the disc's folder (however it is reached) and from the object.
TEST_F(ObjectActionsNative, PathsLeadOutsideThroughParentFoldersAndLinks) {
    TempFolder elsewhere;
    elsewhere.WriteFile("tool.exe", "MZ");
    data.WriteFile("Setup/setup.exe", "MZ");
    std::filesystem::create_directory_symlink(elsewhere.Path(), data / "shortcut");
    const auto outside = [&](const char* path) {
        return LeadsOutsideBaseFolder(Object(otExecuteFile, oaExecute, path), context);
    };
    EXPECT_FALSE(outside("Setup\\setup.exe"));
    EXPECT_TRUE(outside("..\\tool.exe"));
    EXPECT_TRUE(outside("shortcut\\tool.exe"));

    std::filesystem::create_directory_symlink(data.Path(), elsewhere / "disc");
    context.DataDir = elsewhere / "disc";
    EXPECT_FALSE(outside("Setup\\setup.exe"));
}

TEST(SplitParameters, BlanksSeparateAndQuotesGroup) {
    using List = std::vector<std::string>;
    EXPECT_EQ(SplitParameters(""), List{});
    EXPECT_EQ(SplitParameters("   "), List{});
    EXPECT_EQ(SplitParameters(" -a  -b "), (List{"-a", "-b"}));
    EXPECT_EQ(SplitParameters("\"C:\\Program Files\\x\" /q"), (List{"C:\\Program Files\\x", "/q"}));
    EXPECT_EQ(SplitParameters("a\"b c\"d"), (List{"ab cd"}));
    EXPECT_EQ(SplitParameters("\"unterminated arg"), (List{"unterminated arg"}));
}

}  // namespace
}  // namespace tomlet
