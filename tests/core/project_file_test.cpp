#include "core/project_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/limits.h"
#include "core/paths.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "support/project_bytes.h"
#include "support/recording_progress.h"
#include "support/temp_folder.h"
#include "support/tree_records.h"

namespace tomlet {
namespace {

using testing::Bytes;
using testing::Outline;
using testing::ReadWholeFile;
using testing::Record;
using testing::RecordingProgress;
using testing::TempFolder;

class ProjectFileTest : public ::testing::Test {
protected:
    ReadResult Read(const std::string& bytes) {
        return ReadProjectFile(folder.WriteFile("read.tml", bytes), project, tree, progress,
                               progress);
    }
    WriteResult Write(const std::string& path) {
        return WriteProjectFile(path, project, tree, progress, progress);
    }
    std::string WrittenBytes() {
        const std::string path = folder / "written.tml";
        EXPECT_TRUE(Write(path).Saved);
        return ReadWholeFile(path);
    }
    // Writes the project and its tree, then empties both and reads the file back into them.
    ReadResult ReadBackWritten() {
        const std::string bytes = WrittenBytes();
        project = {};
        tree = ObjectTree{};
        return Read(bytes);
    }
    // A save to `path` that is refused with a message naming each of `parts`, its progress ended.
    void ExpectRefused(const std::string& path, std::initializer_list<std::string> parts) {
        progress.Calls.clear();
        const WriteResult result = Write(path);
        EXPECT_FALSE(result.Saved);
        for (const std::string& part : parts)
            EXPECT_NE(result.Error.find(part), std::string::npos) << result.Error;
        EXPECT_TRUE(progress.Closed());
    }

    TempFolder folder;
    TProjectRec project;
    ObjectTree tree;
    RecordingProgress progress;
};

TEST_F(ProjectFileTest, EmptyProjectIsThirtyFiveBytesAndReadsBack) {
    const std::string expected(
        "\x06\x00Tomlet\x00\x00\x02"
        "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
        "\xF4\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00",
        35);
    EXPECT_EQ(WrittenBytes(), expected);

    project.ProjectName = "stale";
    ASSERT_TRUE(Read(expected).Ok());
    EXPECT_EQ(project, TProjectRec{});
    EXPECT_TRUE(tree.IsEmpty());
}

TEST_F(ProjectFileTest, DocsEntryAddsThirtyOneBytes) {
    tree.Append(nullptr, Record("Docs", otVirtualFolder));
    const std::string bytes = WrittenBytes();
    ASSERT_EQ(bytes.size(), 35u + 31u);
    EXPECT_EQ(bytes.substr(31, 4), std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(35), std::string("\x04\x00"
                                            "Docs\x00"
                                            "\x00\x00\x00"
                                            "\x02\x00\x00\x00\x00\x00\x00\x00"
                                            "\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                                            "\x00\x00\x00\x00",
                                            31));
}

TEST_F(ProjectFileTest, PropertiesFieldsAndShapeSurviveARoundTrip) {
    project = {"D:\\Disc", "Name", "Second", "splash.jpg", -7, false, "Line 1\r\nLine 2\r\n"};
    ObjectNode* a = tree.Append(nullptr, Record("A", otFolder));
    ObjectNode* b = tree.Append(a, Record("B", otFolder));
    TNodeData d{"D", "hint", otExecuteFile, oaExecute, "B\\d.exe", "/quiet", "with\0zero"};
    d.Comments.assign("with\0zero and \xE9", 15);
    tree.Append(b, d);
    tree.Append(a, Record("C"));
    tree.Append(nullptr, Record("E"));
    const TProjectRec written = project;
    ASSERT_TRUE(ReadBackWritten().Ok());
    EXPECT_EQ(project, written);
    EXPECT_EQ(Outline(tree), "A0 B1 D2 C1 E0");
    EXPECT_EQ(tree.AtAbsoluteIndex(2)->Data, d);
}

TEST_F(ProjectFileTest, TextsOfTheLargestSizeAreStoredWhole) {
    TNodeData big = Record(std::string(65535, 'c'));
    big.Comments.assign(65535, '\xFF');
    tree.Append(nullptr, big);
    project.ProjectDescription.assign(65535, 'd');
    const TProjectRec written = project;
    ASSERT_TRUE(ReadBackWritten().Ok());
    EXPECT_EQ(project, written);
    ASSERT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.First()->Data, big);
}

TEST_F(ProjectFileTest, LevelsGiveTheTreeItsShape) {
    struct Case {
        std::vector<std::int32_t> levels;
        const char* outline;
    };
    const Case cases[] = {
        {{0, 1, 2, 1, 0}, "a0 b1 c2 d1 e0"},
        {{0, 2, 1}, "a0 b1 c0"},         // the step up from 2 lands beside the first root
        {{3}, "a0"},                     // a first entry of level 3 is a root
        {{3, 4, 3}, "a0 b1 c0"},         // and counts as level 3 for what follows
        {{3, 0, 1}, "a0 b0 c1"},         // stepping above a root attaches at the top
        {{0, 1, -1, 1}, "a0 b1 c0 d1"},  // negative levels attach at the top
        {{0, 1, 2, -5, 0}, "a0 b1 c2 d0 e0"},
        {{0, 2147483647, 0}, "a0 b1 c0"},
    };
    for (const Case& test : cases) {
        Bytes bytes;
        bytes.Header(static_cast<std::int32_t>(test.levels.size()));
        char caption = 'a';
        for (std::int32_t level : test.levels)
            bytes.Entry(std::string(1, caption++), level);
        tree.ClearObjectTree();
        ASSERT_TRUE(Read(bytes.Get()).Ok());
        EXPECT_EQ(Outline(tree), test.outline) << "levels of " << test.outline;
    }
}

TEST_F(ProjectFileTest, VersionTestAcceptsAllButNewerLayouts) {
    const std::pair<int, int> accepted[] = {{0, 9}, {1, 2}, {255, 0}, {0, 0}, {0, 255}};
    for (auto [first, second] : accepted) {
        EXPECT_FALSE(IsVersionTooNew(first, second));
        tree.ClearObjectTree();
        EXPECT_TRUE(Read(Bytes().Header(1, first, second).Entry("x", 0).Get()).Ok())
            << first << "," << second;
        EXPECT_EQ(tree.Count(), 1);
    }
    const std::pair<int, int> refused[] = {{1, 3}, {5, 200}, {255, 255}};
    for (auto [first, second] : refused) {
        EXPECT_TRUE(IsVersionTooNew(first, second));
        EXPECT_EQ(Read(Bytes().Header(0, first, second).Get()).Status, ReadStatus::VersionTooNew);
    }
}

TEST_F(ProjectFileTest, OnlyTheLowByteOfTypeAndActionIsKept) {
    ASSERT_TRUE(Read(Bytes().Header(1).Entry("odd", 0, 300, -250).Get()).Ok());
    EXPECT_EQ(tree.First()->Data.ObjectType, 44);
    EXPECT_EQ(tree.First()->Data.ObjectAction, 6);

    const std::string bytes = WrittenBytes();
    EXPECT_EQ(bytes.substr(35 + 6 + 3, 8), std::string("\x2C\0\0\0\x06\0\0\0", 8));
}

TEST_F(ProjectFileTest, AnyPathModeOtherThanZeroIsAbsoluteAndIsWrittenAsOne) {
    std::string bytes = Bytes().Header(0).Get();
    bytes[27] = 7;
    project.AbsolutePath = false;
    ASSERT_TRUE(Read(bytes).Ok());
    EXPECT_TRUE(project.AbsolutePath);
    EXPECT_EQ(WrittenBytes()[27], 1);

    bytes[27] = 0;
    ASSERT_TRUE(Read(bytes).Ok());
    EXPECT_FALSE(project.AbsolutePath);
    EXPECT_EQ(WrittenBytes()[27], 0);
}

TEST_F(ProjectFileTest, ReadingAppendsToTheTreeAndReportsEveryRecord) {
    tree.Append(nullptr, Record("already there"));
    ASSERT_TRUE(Read(Bytes().Header(3).Entry("a", 0).Entry("b", 1).Entry("c", 0).Get()).Ok());
    EXPECT_EQ(Outline(tree), "already there0 a0 b1 c0");
    EXPECT_EQ(progress.Summary(), "Begin Text " + Text(TextId::text_LoadingData_D) +
                                      " Max=3 Pump Step Pump Step Pump Step End");
}

TEST_F(ProjectFileTest, WritingReportsEveryRecord) {
    tree.Append(tree.Append(nullptr, Record("a")), Record("b"));
    WrittenBytes();
    EXPECT_EQ(progress.Summary(),
              "Begin Text " + Text(TextId::text_SavingData_D) + " Max=2 Pump Step Pump Step End");
}

TEST_F(ProjectFileTest, ForeignFilesAreRefusedWithoutProgressLeftOpen) {
    using namespace std::string_literals;
    for (const std::string& content : {"Hello, this is a plain text file.\n"s, ""s,
                                       "\x06\0tomlet\0\0\x02"s, "\x07\0Tomlets\0\0\x02"s}) {
        progress.Calls.clear();
        EXPECT_EQ(Read(content).Status, ReadStatus::WrongSignature) << content;
        EXPECT_EQ(progress.CountOf("Begin"), 0);
        EXPECT_TRUE(progress.Closed());
    }
}

TEST_F(ProjectFileTest, FilesCutShortAreDamagedAndLeaveTheTreeAlone) {
    tree.Append(nullptr, Record("kept"));
    const std::string whole = Bytes()
                                  .Header(3)
                                  .Entry("first", 0)
                                  .Entry("second", 1, otTextFile, oaOpenByNotepad)
                                  .Entry("third", 0)
                                  .Get();
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        progress.Calls.clear();
        const ReadResult result = Read(whole.substr(0, cut));
        // Cut inside the signature, the file is simply not a project file.
        const ReadStatus expected = cut < 9 ? ReadStatus::WrongSignature : ReadStatus::Damaged;
        EXPECT_EQ(result.Status, expected) << "cut at " << cut;
        EXPECT_EQ(Outline(tree), "kept0") << "cut at " << cut;
        EXPECT_TRUE(progress.Closed()) << "cut at " << cut;
    }
}

TEST_F(ProjectFileTest, CountsTheFileCannotHoldAreDamaged) {
    // 27 bytes is the smallest entry: a count one too high for the bytes left is refused before
    // any object is built.
    const std::string oneEntry = Bytes().Header(2).Entry("", 0).Get();
    ASSERT_EQ(oneEntry.size(), 35u + 27u);
    EXPECT_EQ(Read(oneEntry).Status, ReadStatus::Damaged);
    EXPECT_EQ(progress.CountOf("Step"), 0);

    // A negative count is no project either: it would read as an empty one.
    for (std::int32_t count : {2147483647, 1 << 20, 40000, -1, -2147483647 - 1}) {
        EXPECT_EQ(Read(Bytes().Header(count).Entry("a", 0).Get()).Status, ReadStatus::Damaged)
            << count;
        EXPECT_TRUE(tree.IsEmpty());
    }
}

TEST_F(ProjectFileTest, ProjectsNestedDeeperThanTheLimitAreDamagedAndSaySo) {
    ASSERT_TRUE(Read(testing::NestedProjectBytes(MaxTreeLevels)).Ok());
    EXPECT_EQ(tree.Count(), MaxTreeLevels);
    EXPECT_EQ(ObjectTree::Level(tree.AtAbsoluteIndex(MaxTreeLevels - 1)), MaxTreeLevels - 1);

    tree.ClearObjectTree();
    progress.Calls.clear();
    const ReadResult result = Read(testing::NestedProjectBytes(30000));
    EXPECT_EQ(result.Status, ReadStatus::TooDeep);
    EXPECT_EQ(result.Error, "The tree of objects is nested deeper than 1000 levels!");
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_TRUE(progress.Closed());
    // Levels that leap ahead make no depth of their own.
    EXPECT_TRUE(Read(Bytes().Header(2).Entry("a", 0).Entry("b", 5000).Get()).Ok());
}

TEST_F(ProjectFileTest, TreesDeeperThanTheLimitAreNotSaved) {
    const std::string path = folder.WriteFile("project.tml", "old content");
    ObjectNode* node = nullptr;
    for (int level = 0; level <= MaxTreeLevels; ++level)
        node = tree.Append(node, Record("level " + std::to_string(level)));
    const WriteResult result = Write(path);
    EXPECT_FALSE(result.Saved);
    EXPECT_EQ(result.Error, TreeTooDeepText());
    EXPECT_EQ(ReadWholeFile(path), "old content");

    tree.DeleteObjectTree(node);
    EXPECT_TRUE(Write(path).Saved);
}

TEST_F(ProjectFileTest, MissingFilesAndFoldersCannotBeOpened) {
    for (const std::string& path : {folder / "missing.tml", folder.Path().string()}) {
        progress.Calls.clear();
        const ReadResult result = ReadProjectFile(path, project, tree, progress, progress);
        EXPECT_EQ(result.Status, ReadStatus::CannotOpen);
        EXPECT_NE(result.Error.find(path), std::string::npos) << result.Error;
        EXPECT_TRUE(progress.Closed());
    }
}

TEST_F(ProjectFileTest, SavingReplacesTheFileAndKeepsItsAccessRights) {
    const std::string path = folder.WriteFile("project.tml", "old content");
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::perms rights = fs::status(path).permissions();  // as far as the system keeps them
    tree.Append(nullptr, Record("new"));

    ASSERT_TRUE(Write(path).Saved);
    EXPECT_EQ(ReadWholeFile(path).size(), 35u + 30u);
    EXPECT_EQ(fs::status(path).permissions(), rights);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.tml"});
    EXPECT_TRUE(progress.Closed());
}

// The names are in the process code page, which need not be the ANSI code page of Windows'
// narrow calls.
TEST_F(ProjectFileTest, FilesNamedInTheCodePageAreSavedAndReadUnderThatName) {
    struct Case {
        int CodePage;
        const char* Name;
    };
    tree.Append(nullptr, Record("Setup"));
    for (const auto& [codePage, name] :
         {Case{1252, "€uro.tml"}, Case{1252, "Ärger.tml"}, Case{1251, "Отчёт.tml"}}) {
        SCOPED_TRACE(name);
        const ScopedProcessCodePage scope(codePage);
        const std::string path = folder / TextCodec(codePage).FromUtf8(name);
        const WriteResult written = Write(path);
        ASSERT_TRUE(written.Saved) << written.Error;
        ObjectTree read;
        ASSERT_TRUE(ReadProjectFile(path, project, read, progress, progress).Ok());
        EXPECT_EQ(Outline(read), "Setup0");
    }
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"Ärger.tml", "Отчёт.tml", "€uro.tml"}));
}

TEST_F(ProjectFileTest, FailedSavesLeaveWhatWasThereAndNoLeftovers) {
    tree.Append(nullptr, Record("new"));
    // A folder where the file should go cannot be replaced by it.
    const std::string occupied = folder.MakeFolder("project.tml");
    folder.WriteFile("project.tml/inside.txt", "keep me");
    ExpectRefused(occupied, {occupied});
    EXPECT_EQ(ReadWholeFile(folder / "project.tml/inside.txt"), "keep me");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.tml"});

    ExpectRefused(folder / "no such folder/project.tml", {"no such folder"});
}

TEST_F(ProjectFileTest, TooLongTextsRefuseTheWholeSave) {
    const std::string path = folder.WriteFile("project.tml", "old content");
    ObjectNode* top = tree.Append(nullptr, Record("top"));
    tree.Append(top, Record("fine"));
    // Quoted safely: cut between characters, its line breaks escaped.
    TNodeData big = Record("Big one\r\n" + std::string(50, '.') + "\xC3\xA9\xC3\xA9");
    big.Comments.assign(65536, 'x');
    tree.Append(top, big);
    ExpectRefused(path,
                  {"Comments", "object 3", "(\"Big one\\r\\n" + std::string(50, '.') + "\")"});
    EXPECT_EQ(ReadWholeFile(path), "old content");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"project.tml"});

    tree.ClearObjectTree();
    project.ProjectDescription.assign(70000, 'd');
    ExpectRefused(path, {"ProjectDescription"});
    EXPECT_EQ(ReadWholeFile(path), "old content");
}

class PeekTest : public ::testing::Test {
protected:
    void SetUp() override {
        programFolder = folder.MakeFolder("program") + PathRules::Native().Separator;
        dataFolder = folder.MakeFolder("data");
    }
    // A project file whose header holds the given splash settings.
    std::string Project(std::string_view dataDir, std::string_view splash, std::uint8_t mode,
                        std::uint8_t first = 0, std::uint8_t second = 2) {
        Bytes bytes;
        bytes.Str("Tomlet").U8(first).U8(second).Str(dataDir).Str("Name").Str("").Str(splash);
        bytes.I32(2500).U8(mode).Str("description").I32(0);
        return folder.WriteFile("peek.tml", bytes.Get());
    }
    bool Peek(const std::string& path) { return PeekSplashSettings(path, programFolder, settings); }

    TempFolder folder;
    std::string programFolder;
    std::string dataFolder;
    SplashSettings settings;
};

TEST_F(PeekTest, FindsThePictureByPathMode) {
    folder.WriteFile("program/pics/splash.jpg", "picture");
    ASSERT_TRUE(Peek(Project("", "pics\\splash.jpg", 0)));
    EXPECT_EQ(settings.PicturePath, folder / "program/pics/splash.jpg");
    EXPECT_EQ(settings.ShowTime, 2500);

    folder.WriteFile("data/splash.jpg", "picture");
    ASSERT_TRUE(Peek(Project(dataFolder + PathRules::Native().Separator, "splash.jpg", 1)));
    EXPECT_TRUE(FileExists(settings.PicturePath));
    EXPECT_EQ(ReadWholeFile(settings.PicturePath), "picture");

    // A relative data directory lies in the disc's folder.
    folder.WriteFile("program/disc/splash.jpg", "disc picture");
    ASSERT_TRUE(Peek(Project("disc", "splash.jpg", 1)));
    EXPECT_EQ(ReadWholeFile(settings.PicturePath), "disc picture");
}

TEST_F(PeekTest, RefusesWhatItCannotShow) {
    folder.WriteFile("program/splash.jpg", "picture");
    EXPECT_FALSE(Peek(folder / "missing.tml"));
    EXPECT_FALSE(Peek(folder.WriteFile("text.tml", "plain text, not a project")));
    EXPECT_FALSE(Peek(Project("", "splash.jpg", 0, 1, 3)));

    settings = {};
    EXPECT_FALSE(Peek(Project("", "", 0)));
    EXPECT_EQ(settings.PicturePath, "");
    EXPECT_FALSE(Peek(Project(dataFolder, "splash.jpg", 2)));
    EXPECT_EQ(settings.PicturePath, "");

    // The settings are yielded even when the picture is missing.
    EXPECT_FALSE(Peek(Project("", "absent.jpg", 0)));
    EXPECT_EQ(settings.PicturePath, programFolder + "absent.jpg");
    EXPECT_EQ(settings.ShowTime, 2500);
}

TEST_F(PeekTest, ReadsNoFurtherThanTheSplashSettings) {
    folder.WriteFile("program/splash.jpg", "picture");
    const std::string path = Project("", "splash.jpg", 0);
    // Cut off after the path mode byte: description and objects are never needed.
    std::string bytes = ReadWholeFile(path);
    bytes.resize(bytes.find("description") - 2);
    EXPECT_TRUE(Peek(folder.WriteFile("peek.tml", bytes)));
    bytes.pop_back();
    EXPECT_FALSE(Peek(folder.WriteFile("peek.tml", bytes)));
}

}  // namespace
}  // namespace tomlet
