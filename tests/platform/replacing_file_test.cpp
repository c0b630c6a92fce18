#include "platform/replacing_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/text_codec.h"
#include "support/file_system_faults.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

namespace fs = std::filesystem;
using testing::ReadWholeFile;
using testing::TempFolder;

class ReplacingFileTest : public ::testing::Test {
protected:
    // Saves `content` to `path`; the error when it is refused.
    std::string Save(const std::string& path, std::string_view content,
                     SpecialTarget special = SpecialTarget::Refuse) {
        ReplacingFile file(path, special);
        if (file.Open() && file.Write(content) && file.Commit())
            return {};
        return file.Error().empty() ? "failed" : file.Error();
    }

    TempFolder folder;
};

TEST_F(ReplacingFileTest, ALinkIsFollowedAndTheFileItNamesReplacedBesideItself) {
    SKIP_ON_WINDOWS("mingw's std::filesystem makes no symbolic links");
    const std::string real = folder.WriteFile("disc/real.tml", "old");
    fs::create_symlink(real, folder / "link.tml");
    fs::create_symlink("link.tml", folder / "link-to-link.tml");
    fs::create_symlink("disc/new.tml", folder / "dangling.tml");

    EXPECT_EQ(Save(folder / "link-to-link.tml", "new"), "");
    EXPECT_EQ(ReadWholeFile(real), "new");
    EXPECT_TRUE(fs::is_symlink(folder / "link.tml"));
    EXPECT_TRUE(fs::is_symlink(folder / "link-to-link.tml"));
    // A link to nothing yet makes the file it names.
    EXPECT_EQ(Save(folder / "dangling.tml", "made"), "");
    EXPECT_TRUE(fs::is_symlink(folder / "dangling.tml"));
    EXPECT_EQ(ReadWholeFile(folder / "disc/new.tml"), "made");
    EXPECT_EQ(folder.Entries("disc"), (std::vector<std::string>{"new.tml", "real.tml"}));

    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    EXPECT_NE(Save(folder / "loop-a", "x").find(folder / "loop-a"), std::string::npos);
}

// A device is written as it stands, or refused, never replaced by a file of its name: NUL on
// Windows, where no path names an open descriptor (/dev/stdout is a path of the current drive
// there), /dev/null elsewhere.
TEST_F(ReplacingFileTest, ADeviceIsWrittenDirectlyOrRefusedNeverReplaced) {
    const std::string device = testing::OnWindows ? "NUL" : "/dev/null";
    EXPECT_EQ(Save(device, "written", SpecialTarget::WriteDirectly), "");
    EXPECT_NE(Save(device, "refused").find("a device, a pipe or a socket"), std::string::npos);
}

// What a rename would destroy or part is refused, and left exactly as it was.
TEST_F(ReplacingFileTest, TargetsThatMayNotBeReplacedAreRefusedAndLeftAlone) {
    struct Case {
        std::string Name;
        std::string Why;
    };
    std::vector<Case> cases{
        {"folder", ""}, {"read-only.tml", "read-only"}, {"linked.tml", "2 names (hard links)"}};
    folder.MakeFolder("folder");
    folder.WriteFile("read-only.tml", "keep");
    fs::permissions(fs::path(folder / "read-only.tml"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    folder.WriteFile("linked.tml", "keep");
    fs::create_hard_link(fs::path(folder / "linked.tml"), fs::path(folder / "other-name.tml"));
    if (!testing::OnWindows) {  // which makes no named pipes in folders
        ASSERT_TRUE(testing::MakeNamedPipe(folder / "pipe"));
        cases.push_back({"pipe", "a device, a pipe or a socket"});
    }
    const std::vector<std::string> before = folder.Entries();

    for (const auto& [name, why] : cases) {
        SCOPED_TRACE(name);
        const std::string error = Save(folder / name, "new");
        EXPECT_NE(error.find(folder / name), std::string::npos) << error;
        EXPECT_NE(error.find(why), std::string::npos) << error;
    }
    EXPECT_EQ(folder.Entries(), before);
    EXPECT_EQ(ReadWholeFile(folder / "read-only.tml"), "keep");
    EXPECT_EQ(ReadWholeFile(folder / "other-name.tml"), "keep");
}

// The temporary holds the new content from its first byte: it is never more open than the file
// it replaces, even when a killed save leaves it behind.
#ifndef _WIN32
TEST_F(ReplacingFileTest, TheTemporaryHasTheTargetsRightsOwnerAndGroupFromTheStart) {
    constexpr uid_t Nobody = 65534;
    const std::string target = folder.WriteFile("secret.tml", "old");
    const struct {
        fs::perms Rights;
        bool OtherOwner;
    } cases[] = {{fs::perms::owner_read | fs::perms::owner_write, false},
                 {fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read, true}};
    for (const auto& [rights, otherOwner] : cases) {
        fs::permissions(target, rights);
        if (otherOwner && testing::RunsAsSuperuser()) {
            ASSERT_EQ(::chown(target.c_str(), Nobody, Nobody), 0);
        }
        struct stat wanted {};
        ASSERT_EQ(::stat(target.c_str(), &wanted), 0);

        ReplacingFile file(target);
        ASSERT_TRUE(file.Open()) << file.Error();
        ASSERT_TRUE(file.Write("new"));
        const auto temporary =
            std::find_if(fs::directory_iterator(folder.Path()), fs::directory_iterator(),
                         [](const fs::directory_entry& entry) {
                             return entry.path().filename().string().starts_with("secret.tml.tmp-");
                         });
        ASSERT_NE(temporary, fs::directory_iterator());
        struct stat made {};
        ASSERT_EQ(::stat(temporary->path().c_str(), &made), 0);
        EXPECT_EQ(made.st_mode & 07777, wanted.st_mode & 07777);
        EXPECT_EQ(made.st_uid, wanted.st_uid);
        EXPECT_EQ(made.st_gid, wanted.st_gid);
        ASSERT_TRUE(file.Commit()) << file.Error();
        EXPECT_EQ(fs::status(target).permissions(), rights);
    }
}
#endif

#ifndef _WIN32
// /dev/stdout redirected into a log, or a file deleted while open: the name of a descriptor is
// written through the descriptor, never by replacing the file its name leads to.
TEST_F(ReplacingFileTest, TheNameOfAnOpenDescriptorIsWrittenThroughIt) {
    const std::string log = folder.WriteFile("log.txt", "old\n");
    const std::string gone = folder.WriteFile("gone.txt");
    const int appending = ::open(log.c_str(), O_WRONLY | O_APPEND);
    const int deleted = ::open(gone.c_str(), O_RDWR);
    ASSERT_GE(appending, 0);
    ASSERT_GE(deleted, 0);
    ASSERT_EQ(::unlink(gone.c_str()), 0);
    const std::vector<std::string> before = folder.Entries();

    const std::string appendingNames[] = {"/dev/fd/" + std::to_string(appending),
                                          "/proc/self/fd/" + std::to_string(appending)};
    for (const std::string& name : appendingNames)
        EXPECT_EQ(Save(name, "new\n", SpecialTarget::WriteDirectly), "") << name;
    EXPECT_EQ(ReadWholeFile(log), "old\nnew\nnew\n");
    EXPECT_EQ(
        Save("/proc/self/fd/" + std::to_string(deleted), "kept", SpecialTarget::WriteDirectly), "");
    char kept[8] = {};
    EXPECT_EQ(::pread(deleted, kept, sizeof kept, 0), 4);
    EXPECT_STREQ(kept, "kept");
    // The program's own files are never written to a descriptor.
    EXPECT_NE(Save(appendingNames[0], "x").find("open descriptor"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(log), "old\nnew\nnew\n");
    EXPECT_EQ(folder.Entries(), before);
    ::close(appending);
    ::close(deleted);
}
#endif

TEST_F(ReplacingFileTest, NamesUpToTheLongestAFileSystemHoldsAreSaved) {
    for (const std::size_t length : {243u, 250u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name = std::string(length - 4, 'n') + ".tml";
        EXPECT_EQ(Save(folder / name, "first"), "");
        EXPECT_EQ(Save(folder / name, "second"), "");
        EXPECT_EQ(ReadWholeFile(folder / name), "second");
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{name});
        fs::remove(fs::path(folder / name));
    }
    // Cut between characters: "й" takes two bytes in UTF-8 (and one unit in UTF-16).
    const ScopedProcessCodePage utf8(65001);
    const std::string cyrillic = std::string(1, 'x') + [] {
        std::string letters;
        for (int i = 0; i < 125; ++i)
            letters += "й";
        return letters;
    }() + ".tml";
    EXPECT_EQ(Save(folder / cyrillic, "saved"), "");
    EXPECT_EQ(ReadWholeFile(folder / cyrillic), "saved");
}

// A save killed on the way leaves its temporary; the next save of the same file removes it.
TEST_F(ReplacingFileTest, TemporariesThatEarlierSavesLeftAreRemoved) {
    const auto now = fs::file_time_type::clock::now();
    const std::string longName = std::string(246, 'n') + ".tml";
    const std::string longStem = std::string(242, 'n');  // cut to leave room for the suffix
    struct Leftover {
        std::string Name;
        fs::file_time_type Written;
        bool Stays;
    };
    const Leftover leftovers[] = {
        {"project.tml.tmp-a1b2c3d4", now - std::chrono::hours(1), false},
        {longStem + ".tmp-00000000", now - std::chrono::hours(1), false},
        {"project.tml.tmp-zzzz9999", now + std::chrono::hours(1), true},  // a save running now
        {"other.tml.tmp-a1b2c3d4", now - std::chrono::hours(1), true},
        {"project.tml.tmp-E5F6G7H8", now - std::chrono::hours(1), true},  // not a suffix of ours
        {"project.tml.tmp-a1b2", now - std::chrono::hours(1), true},
    };
    for (const Leftover& leftover : leftovers) {
        folder.WriteFile(leftover.Name, "partial");
        fs::last_write_time(fs::path(folder / leftover.Name), leftover.Written);
    }

    EXPECT_EQ(Save(folder / "project.tml", "saved"), "");
    EXPECT_EQ(Save(folder / longName, "saved"), "");
    for (const Leftover& leftover : leftovers)
        EXPECT_EQ(fs::exists(fs::path(folder / leftover.Name)), leftover.Stays) << leftover.Name;
}

}  // namespace
}  // namespace tomlet
