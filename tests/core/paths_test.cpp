#include "core/paths.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

const PathRules Windows = PathRules::Windows();
const PathRules Linux{'/', false};
constexpr PathMode Absolute = PathMode::Absolute;
constexpr PathMode Relative = PathMode::Relative;

TEST(PathRulesTest, SmallPathOperationsOnWindowsRules) {
    EXPECT_EQ(StripTrailingBackslash("C:\\Data\\", Windows), "C:\\Data");
    EXPECT_EQ(StripTrailingBackslash("C:\\Data\\\\", Windows), "C:\\Data\\");
    EXPECT_EQ(StripTrailingBackslash("\\", Windows), "\\");
    EXPECT_EQ(StripTrailingBackslash("C:\\Data", Windows), "C:\\Data");
    EXPECT_EQ(StripTrailingBackslash("", Windows), "");

    EXPECT_EQ(NormaliseDriveRoot("D:\\", Windows), "D:");
    EXPECT_EQ(NormaliseDriveRoot("d:\\", Windows), "d:");
    EXPECT_EQ(NormaliseDriveRoot("D:\\x", Windows), "D:\\x");
    EXPECT_EQ(NormaliseDriveRoot("D:", Windows), "D:");
    EXPECT_EQ(NormaliseDriveRoot("1:\\", Windows), "1:\\");
    EXPECT_EQ(NormaliseDriveRoot("C:\\Data\\", Windows), "C:\\Data\\");

    EXPECT_EQ(ParentFolderPath("C:\\Data\\Setup\\setup.exe", Windows), "C:\\Data\\Setup");
    EXPECT_EQ(ParentFolderPath("C:\\Data", Windows), "C:");
    EXPECT_EQ(ParentFolderPath("D:\\a.txt", Windows), "D:");
    EXPECT_EQ(ParentFolderPath("a.txt", Windows), "");
}

// In code pages 932 and 936 the second byte of "表" and "乗" is 0x5C, '\\': paths are taken apart
// by characters, never at that byte.
TEST(PathRulesTest, DoubleByteCodePagesSplitPathsByCharacters) {
    for (const auto& [codePage, name] : {std::pair{932, "\x95\x5C"}, std::pair{936, "\x81\x5C"}}) {
        const ScopedProcessCodePage doubleByte(codePage);
        const std::string folder = std::string("C:\\") + name;
        const std::string stored = std::string(name) + "\\" + name;
        EXPECT_EQ(ParentFolderPath(folder + "\\a.txt", Windows), folder) << codePage;
        EXPECT_EQ(ParentFolderPath(name, Windows), "") << codePage;
        EXPECT_EQ(FileNamePart(folder, Windows), name) << codePage;
        EXPECT_EQ(StripTrailingBackslash(folder, Windows), folder) << codePage;
        EXPECT_EQ(MakeDataRelative(folder + "\\" + stored, folder, Windows), stored) << codePage;
        EXPECT_EQ(NativeStoredPath(stored, Linux), std::string(name) + "/" + name) << codePage;
        EXPECT_EQ(ResolveDataDirectory(stored, "C:\\disc\\", Windows), "C:\\disc\\" + stored)
            << codePage;
        EXPECT_EQ(ResolveObjectPath(Absolute, folder, stored, {}, Windows), folder + "\\" + stored)
            << codePage;
    }
    // Code page 932 defines no character 0x85 0x5C: as the system reads the path, the lone 0x85
    // is followed by a separator, and the path climbs out.
    const ScopedProcessCodePage japanese(932);
    EXPECT_EQ(ParentFolderPath("a\x85\\b", Windows), "a\x85");
    EXPECT_FALSE(PathLiesWithin("C:\\d\\x\x85\\..\\..\\evil", "C:\\d", Windows));
}

TEST(PathRulesTest, SmallPathOperationsOnLinuxRules) {
    EXPECT_EQ(StripTrailingBackslash("/data/", Linux), "/data");
    EXPECT_EQ(StripTrailingBackslash("/", Linux), "/");
    EXPECT_EQ(StripTrailingBackslash("C:\\Data\\", Linux), "C:\\Data\\");
    EXPECT_EQ(NormaliseDriveRoot("D:\\", Linux), "D:\\");
    EXPECT_EQ(ParentFolderPath("/data/setup/setup.exe", Linux), "/data/setup");
    EXPECT_EQ(ParentFolderPath("/a.txt", Linux), "/");
    EXPECT_EQ(ParentFolderPath("C:\\Data\\a.txt", Linux), "");
}

TEST(PathRulesTest, MakeDataRelativeOnWindowsRules) {
    EXPECT_EQ(MakeDataRelative("C:\\Data\\x.txt", "C:\\Data", Windows), "x.txt");
    EXPECT_EQ(MakeDataRelative("C:\\Data\\Setup\\setup.exe", "C:\\Data", Windows),
              "Setup\\setup.exe");
    EXPECT_EQ(MakeDataRelative("C:\\Data\\Setup\\setup.exe", "C:\\Data\\", Windows),
              "Setup\\setup.exe");
    EXPECT_EQ(MakeDataRelative("D:\\Docs\\a.txt", "D:", Windows), "Docs\\a.txt");
    EXPECT_EQ(MakeDataRelative("c:\\data\\x.txt", "C:\\Data", Windows), std::nullopt);
    EXPECT_EQ(MakeDataRelative("C:\\Data2\\x.txt", "C:\\Data", Windows), std::nullopt);
    EXPECT_EQ(MakeDataRelative("C:\\Data", "C:\\Data", Windows), std::nullopt);
    EXPECT_EQ(MakeDataRelative("C:\\Data\\", "C:\\Data", Windows), std::nullopt);
    EXPECT_EQ(MakeDataRelative("D:\\", "D:\\", Windows), std::nullopt);
    EXPECT_EQ(MakeDataRelative("E:\\Data\\x.txt", "C:\\Data", Windows), std::nullopt);
}

TEST(PathRulesTest, MakeDataRelativeOnLinuxRulesGivesTheStoredForm) {
    EXPECT_EQ(MakeDataRelative("/data/setup/setup.exe", "/data", Linux), "setup\\setup.exe");
    EXPECT_EQ(MakeDataRelative("/data/x.txt", "/data/", Linux), "x.txt");
    EXPECT_EQ(MakeDataRelative("/x.txt", "/", Linux), "x.txt");
    EXPECT_EQ(MakeDataRelative("/Data/x.txt", "/data", Linux), std::nullopt);
    EXPECT_EQ(MakeDataRelative("/data2/x.txt", "/data", Linux), std::nullopt);
    EXPECT_EQ(MakeDataRelative("/data", "/data", Linux), std::nullopt);
    // The data directory's name further down another path is not the data directory.
    EXPECT_EQ(MakeDataRelative("/home/u/data/x.txt", "/data", Linux), std::nullopt);
}

TEST(PathRulesTest, ResolveObjectPathOnWindowsRules) {
    const std::string program = "E:\\Disc\\";
    EXPECT_EQ(ResolveObjectPath(Absolute, "C:\\Data\\", "a.txt", program, Windows),
              "C:\\Data\\a.txt");
    EXPECT_EQ(ResolveObjectPath(Absolute, "C:\\Data", "a.txt", program, Windows),
              "C:\\Data\\a.txt");
    EXPECT_EQ(ResolveObjectPath(Absolute, "D:", "a.txt", program, Windows), "D:\\a.txt");
    EXPECT_EQ(ResolveObjectPath(Relative, "C:\\Data", "Setup\\setup.exe", program, Windows),
              "E:\\Disc\\Setup\\setup.exe");
    EXPECT_EQ(ResolveObjectPath(Relative, "", "Setup\\setup.exe", program, Windows),
              "E:\\Disc\\Setup\\setup.exe");
    EXPECT_EQ(ResolveObjectPath(Relative, "C:\\Data", "", program, Windows), "");
    EXPECT_EQ(ResolveObjectPath(Absolute, "C:\\Data", "", program, Windows), "");
    EXPECT_EQ(ResolveObjectPath(PathMode{2}, "C:\\Data", "a.txt", program, Windows), "");
    EXPECT_EQ(ResolveObjectPath(PathMode{255}, "C:\\Data", "a.txt", program, Windows), "");
}

TEST(PathRulesTest, ResolveObjectPathOnLinuxRulesTurnsStoredSeparators) {
    const std::string program = "/opt/disc/";
    EXPECT_EQ(ResolveObjectPath(Absolute, "/data", "Setup\\setup.exe", program, Linux),
              "/data/Setup/setup.exe");
    EXPECT_EQ(ResolveObjectPath(Absolute, "/data/", "a.txt", program, Linux), "/data/a.txt");
    EXPECT_EQ(ResolveObjectPath(Absolute, "/", "a.txt", program, Linux), "/a.txt");
    EXPECT_EQ(ResolveObjectPath(Relative, "/data", "Setup\\setup.exe", program, Linux),
              "/opt/disc/Setup/setup.exe");
    EXPECT_EQ(ResolveObjectPath(Relative, "/data", "", program, Linux), "");
    EXPECT_EQ(ResolveObjectPath(PathMode{3}, "/data", "a.txt", program, Linux), "");
}

// Where a path really leads, without "." and ".."; never above its root.
TEST(PathRulesTest, LexicallyNormalPathTakesOutDotsAboveNoRoot) {
    EXPECT_EQ(LexicallyNormalPath("E:\\Disc\\..\\Disc2\\.\\setup.exe", Windows),
              "E:\\Disc2\\setup.exe");
    EXPECT_EQ(LexicallyNormalPath("C:\\Data\\..\\..\\a.txt", Windows), "C:\\a.txt");
    EXPECT_EQ(LexicallyNormalPath("\\\\srv\\share\\Data\\..\\a.txt", Windows),
              "\\\\srv\\share\\a.txt");
    EXPECT_EQ(LexicallyNormalPath("/opt/disc/../disc2/./setup.exe", Linux), "/opt/disc2/setup.exe");
    EXPECT_EQ(LexicallyNormalPath("", Linux), "");
}

TEST(PathRulesTest, ResolveObjectPathFindsFilesNamedInAnotherCase) {
    SKIP_ON_WINDOWS("Windows file systems ignore case themselves: paths are taken as given");
    const testing::TempFolder data;
    const std::string file = data.WriteFile("Setup/SETUP.exe", "MZ");
    const std::string dataDir = data.Path().string();
    const PathRules native = PathRules::Native();
    EXPECT_EQ(ResolveObjectPath(Absolute, dataDir, "setup\\Setup.EXE", "/", native), file);
    EXPECT_EQ(ResolveObjectPath(Relative, "", "setup\\Setup.EXE", dataDir + "/", native), file);
    EXPECT_EQ(ResolveObjectPath(Absolute, dataDir, "setup\\missing.exe", "/", native),
              dataDir + "/setup/missing.exe");
}

TEST(PathRulesTest, StoredPathsInNativeFormAndTheirFileNames) {
    EXPECT_EQ(NativeStoredPath("Setup\\Tools\\a.exe", Linux), "Setup/Tools/a.exe");
    EXPECT_EQ(NativeStoredPath("Setup\\Tools\\a.exe", Windows), "Setup\\Tools\\a.exe");
    EXPECT_EQ(FileNamePart("C:\\Data\\setup.exe", Windows), "setup.exe");
    EXPECT_EQ(FileNamePart("C:/Data/read me.txt", Windows), "read me.txt");
    EXPECT_EQ(FileNamePart("D:x.txt", Windows), "x.txt");
    EXPECT_EQ(FileNamePart("/data/a:b\\c.txt", Linux), "a:b\\c.txt");
    EXPECT_EQ(FileNamePart("catalogue.tml", Linux), "catalogue.tml");
    EXPECT_EQ(FileNamePart("/data/Docs/", Linux), "");
}

TEST(PathRulesTest, AFolderObjectStandsForItsPathOrTheDataDirectory) {
    EXPECT_EQ(FolderOfObject("C:\\Data", "", Windows), "C:\\Data\\");
    EXPECT_EQ(FolderOfObject("C:\\Data\\", "Docs\\Sub", Windows), "C:\\Data\\Docs\\Sub");
    EXPECT_EQ(FolderOfObject("/no-such-root/data", "", Linux), "/no-such-root/data/");
    EXPECT_EQ(FolderOfObject("/no-such-root/data", "Docs\\Sub", Linux),
              "/no-such-root/data/Docs/Sub");
}

TEST(PathRulesTest, ARelativeDataDirectoryLiesInTheDiscFolder) {
    struct Case {
        const char* DataDir;
        const char* Expected;
    };
    for (const auto& [dataDir, expected] : std::initializer_list<Case>{
             {"", ""},
             {".", "E:\\disc"},
             {"data", "E:\\disc\\data"},
             {".\\data\\sub\\", "E:\\disc\\data\\sub"},
             {"data/sub", "E:\\disc\\data\\sub"},
             {"..\\other", "E:\\other"},
             {"..\\..\\..", "E:"},
             {"D:\\Data", "D:\\Data"},  // absolute ones stay exactly as they are
             {"D:", "D:"},
             {"\\\\server\\share\\", "\\\\server\\share\\"},
         })
        EXPECT_EQ(ResolveDataDirectory(dataDir, "E:\\disc\\", Windows), expected) << dataDir;

    EXPECT_EQ(ResolveDataDirectory(".", "/media/cd/", Linux), "/media/cd");
    EXPECT_EQ(ResolveDataDirectory("Data\\Sub", "/media/cd/", Linux), "/media/cd/Data/Sub");
    EXPECT_EQ(ResolveDataDirectory("/srv/data/", "/media/cd/", Linux), "/srv/data/");
    // A catalogue written on Windows names a drive: no folder of the disc.
    EXPECT_EQ(ResolveDataDirectory("D:\\Data", "/media/cd/", Linux), "D:\\Data");
}

TEST(ExtensionRulesTest, TypeAndActionFollowTheLastExtensionOfTheName) {
    struct Case {
        const char* Path;
        TObjectType Type;
        TObjectAction Action;
    };
    const Case cases[] = {
        {"C:\\Data\\SETUP.EXE", otExecuteFile, oaExecute},
        {"C:\\Data\\Setup.Exe", otExecuteFile, oaExecute},
        {"C:\\Data\\setup.exe", otExecuteFile, oaExecute},
        {"C:\\Data\\RUN.com", otExecuteFile, oaExecute},
        {"C:\\Data\\readme", otFile, oaOpenByAssociation},
        {"C:\\Data\\archive.tar.gz", otFile, oaOpenByAssociation},
        {"C:\\Data\\README.TXT", otTextFile, oaOpenByAssociation},
        {"C:\\Data\\notes.v2.final.txt", otTextFile, oaOpenByAssociation},
        {"C:\\Data\\setup.exe.bak", otFile, oaOpenByAssociation},
        {"C:\\Data\\GUIDE.HLP", otHelpFile, oaOpenByAssociation},
        {"C:\\Data\\index.htm", otWebPage, oaOpenByAssociation},
        {"C:\\Data\\index.Html", otWebPage, oaOpenByAssociation},
        {"C:\\Data\\logo.bmp", otPicture, oaOpenByAssociation},
        {"C:\\Data\\photo.JPG", otPicture, oaOpenByAssociation},
        {"C:\\Data\\photo.jpeg", otPicture, oaOpenByAssociation},
        {"C:\\Data\\name.", otFile, oaOpenByAssociation},
        {"C:\\Data\\tools.exe\\readme", otFile, oaOpenByAssociation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        EXPECT_EQ(ObjectTypeByExtension(c.Path, Windows), c.Type);
        EXPECT_EQ(ObjectActionByExtension(c.Path, Windows), c.Action);
    }
    EXPECT_EQ(FileExtension("C:\\Data\\Archive.TAR.GZ", Windows), ".gz");
    EXPECT_EQ(FileExtension("C:\\Data.d\\readme", Windows), "");
    EXPECT_EQ(FileExtension("/data/ÄRGER.TXT", Linux), ".txt");
}

TEST(ExtensionRulesTest, NameEndsAtTheSeparatorOfTheRules) {
    EXPECT_EQ(ObjectTypeByExtension("/data/tools.exe/readme", Linux), otFile);
    EXPECT_EQ(ObjectTypeByExtension("/data/tools/setup.exe", Linux), otExecuteFile);
    EXPECT_EQ(ObjectActionByExtension("/data/tools/setup.exe", Linux), oaExecute);
}

}  // namespace
}  // namespace tomlet
