#include "core/shelf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stop_token>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/sqlite.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"
#include "support/scoped_environment.h"
#include "support/shelf_catalogues.h"
#include "support/test_system.h"
#include "support/tree_records.h"

namespace tomlet {
namespace {

namespace fs = std::filesystem;
using testing::HitNames;
using testing::Placed;
using testing::Record;
using testing::WithPath;
using testing::WriteCatalogue;
using Names = std::vector<std::string>;

// The shelf takes UTF-8 paths; the test folder gives them in the process code page.
std::string Utf8(const std::string& path) {
    return ProcessCodec().ToUtf8(path);
}

// Asks the work to stop the first time it lets window messages through, as Cancel does.
class CancelAtOnce final : public MessagePump {
public:
    std::stop_source Source;
    void LetMessagesThrough() override { Source.request_stop(); }
};

class ShelfTest : public ::testing::Test {
protected:
    ShelfTest() : shelfPath(Utf8(folder / "user/Tomlet/shelf.sqlite")) {}

    Shelf& OpenShelf() {
        if (!shelf)
            shelf = std::make_unique<Shelf>(shelfPath);
        return *shelf;
    }

    ShelfAddition Add(const std::vector<std::string>& paths, int codePage = TextCodec::Utf8) {
        std::vector<std::string> utf8;
        for (const std::string& path : paths)
            utf8.push_back(Utf8(path));
        return OpenShelf().Add(utf8, codePage, silent, silent);
    }

    ShelfHits Search(const std::string& text, std::uint8_t fields = ffCaption | ffPathFileName) {
        ShelfQuery query;
        query.Text = text;
        query.Fields = fields;
        return OpenShelf().Search(query);
    }

    // "Drivers disc": its data directory exists. Objects 0 Setup, 1 Drivers, 2 net.inf,
    // 3 readme.txt.
    std::string DriversDisc(const std::string& name = "discs/drivers.tml") {
        TNodeData readme = WithPath("readme.txt", "readme.txt", otTextFile);
        readme.Hint = "Read me first";
        return WriteCatalogue(folder, name, "Drivers disc",
                              {{0, WithPath("Setup", "Setup", otFolder)},
                               {1, WithPath("Drivers", "Setup\\Drivers", otFolder)},
                               {2, WithPath("net.inf", "Setup\\Drivers\\net.inf")},
                               {0, readme}},
                              folder.MakeFolder("drivers-data"));
    }

    // "Backup 2003": its disc is not in the drive. Objects 0 Photos, 1 setup.exe.
    std::string BackupDisc(const std::string& name = "discs/more/backup.TML") {
        return WriteCatalogue(folder, name, "Backup 2003",
                              {{0, Record("Photos", otVirtualFolder)},
                               {1, WithPath("setup.exe", "Photos\\setup.exe", otExecuteFile)}},
                              folder / "no-such-disc");
    }

    testing::TempFolder folder;
    std::string shelfPath;
    SilentProgress silent;
    std::unique_ptr<Shelf> shelf;
};

TEST_F(ShelfTest, AFolderOfCataloguesIsFoundSearchedAndTakenOff) {
    const std::string drivers = DriversDisc();
    const std::string backup = BackupDisc();
    folder.WriteFile("discs/notes.txt", "not a catalogue");

    const ShelfAddition added = Add({folder / "discs"});
    EXPECT_EQ(added.Added, (Names{Utf8(backup), Utf8(drivers)}));  // as a scan walks them
    EXPECT_EQ(added.Refresh.Indexed, 2);

    const ShelfHits found = Search("SETUP");
    EXPECT_EQ(HitNames(found),
              (Names{"Backup 2003:1", "Drivers disc:0", "Drivers disc:1", "Drivers disc:2"}));
    EXPECT_EQ(found.Total, 4);
    const ShelfHit& net = found.Hits[3];
    EXPECT_EQ(net.TreePath, "Setup / Drivers / net.inf");
    EXPECT_EQ(net.PathFileName, "Setup\\Drivers\\net.inf");
    EXPECT_EQ(net.ResolvedPath, Utf8(folder / "drivers-data/Setup/Drivers/net.inf"));
    EXPECT_EQ(net.CataloguePath, Utf8(drivers));
    EXPECT_TRUE(net.Online);
    EXPECT_EQ(found.Hits[0].TreePath, "Photos / setup.exe");
    EXPECT_EQ(found.Hits[0].ObjectType, otExecuteFile);
    EXPECT_FALSE(found.Hits[0].Online);
    EXPECT_EQ(HitNames(Search("first", ffHint)), (Names{"Drivers disc:3"}));

    EXPECT_EQ(OpenShelf().Remove({Utf8(folder / "discs/more")}), (Names{Utf8(backup)}));
    EXPECT_EQ(HitNames(Search("setup.exe", ffPathFileName)), Names{});
    ASSERT_EQ(OpenShelf().Catalogues().size(), 1u);
}

TEST_F(ShelfTest, RefreshReadsWhatChangedAndKeepsWhatIsGoneOrDamaged) {
    const std::string changed = DriversDisc("changed.tml");
    const std::string removed = BackupDisc("removed.tml");
    const std::string damaged = WriteCatalogue(folder, "damaged.tml", "Damaged",
                                               {{0, Record("Letters")}, {1, Record("to Anna")}});
    Add({changed, removed, damaged});

    WriteCatalogue(folder, "changed.tml", "Drivers disc, second edition", {{0, Record("Setup 2")}});
    fs::remove(NativePath(removed));
    folder.WriteFile("damaged.tml", "Tomlet, but not really");
    const ShelfRefresh refresh = OpenShelf().Refresh(silent, silent);
    EXPECT_EQ(refresh.Indexed, 1);
    EXPECT_EQ(refresh.Missing, 1);
    ASSERT_EQ(refresh.Damaged.size(), 1u);
    EXPECT_EQ(refresh.Damaged[0].first, Utf8(damaged));
    EXPECT_NE(refresh.Damaged[0].second.find("damaged"), std::string::npos);

    std::vector<CatalogueStatus> statuses;
    for (const ShelfCatalogue& catalogue : OpenShelf().Catalogues())
        statuses.push_back(catalogue.Status());
    EXPECT_EQ(statuses, (std::vector{CatalogueStatus::Indexed, CatalogueStatus::Missing,
                                     CatalogueStatus::Damaged}));
    EXPECT_EQ(HitNames(Search("setup")),
              (Names{"Drivers disc, second edition:0", "Backup 2003:1"}));
    EXPECT_EQ(HitNames(Search("anna")), (Names{"Damaged:1"}));

    const ShelfRefresh again = OpenShelf().Refresh(silent, silent);
    EXPECT_EQ(again.Indexed, 0);
    EXPECT_EQ(again.Unchanged, 2);
    EXPECT_TRUE(again.Damaged.empty());
}

// Small catalogues are read whole before they are written, large ones written as they are read.
class ShelfStopTest : public ShelfTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShelfStopTest, AStoppedIndexingLeavesTheCatalogueAsItWas) {
    std::vector<Placed> objects;
    for (int i = 0; i < GetParam(); ++i)
        objects.push_back({0, Record("setup " + std::to_string(i))});
    const std::string catalogue = WriteCatalogue(folder, "big.tml", "Big", objects);
    CancelAtOnce cancel;
    const ShelfAddition added = OpenShelf().Add({Utf8(catalogue)}, TextCodec::Utf8, silent, cancel,
                                                cancel.Source.get_token());
    EXPECT_TRUE(added.Refresh.Cancelled);
    EXPECT_EQ(OpenShelf().Catalogues().at(0).Status(), CatalogueStatus::NotIndexed);
    EXPECT_EQ(Search("setup").Total, 0);

    EXPECT_EQ(OpenShelf().Refresh(silent, silent).Indexed, 1);
    EXPECT_EQ(Search("setup").Total, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShelfStopTest, ::testing::Values(4, 100'001));

class ShelfCodePageTest : public ShelfTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShelfCodePageTest, CyrillicIsDecodedAndFoundInEitherCase) {
    const TextCodec codec(GetParam());
    const std::string path = WriteCatalogue(
        folder, "archive.tml", codec.FromUtf8("Архив"),
        {{0, WithPath(codec.FromUtf8("Отчёт за год.txt"), codec.FromUtf8("Отчёты\\Отчёт.txt"))}});
    Add({path}, GetParam());
    for (const char* text : {"ОТЧЁТ ЗА", "отчёт", "тчёты\\о"}) {
        const ShelfHits found = Search(text);
        ASSERT_EQ(found.Total, 1) << text;
        EXPECT_EQ(found.Hits[0].Caption, "Отчёт за год.txt");
        EXPECT_EQ(found.Hits[0].ProjectName, "Архив");
    }
}

INSTANTIATE_TEST_SUITE_P(CodePages, ShelfCodePageTest, ::testing::Values(1251, TextCodec::Utf8));

struct ShortTerm {
    const char* Text;
    bool CaseSensitive;
    Names Hits;
};

class ShelfShortTermTest : public ShelfTest, public ::testing::WithParamInterface<ShortTerm> {};

TEST_P(ShelfShortTermTest, FindsTermsTooShortForTheTextIndex) {
    Add({WriteCatalogue(folder, "short.tml", "Short",
                        {{0, Record("Ab")},
                         {0, Record("xaB")},
                         {0, Record("b")},
                         {0, Record("Яблоко")},
                         {0, Record("зЯ")}})});
    ShelfQuery query;
    query.Text = GetParam().Text;
    query.CaseSensitive = GetParam().CaseSensitive;
    EXPECT_EQ(HitNames(OpenShelf().Search(query)), GetParam().Hits);
}

INSTANTIATE_TEST_SUITE_P(Terms, ShelfShortTermTest,
                         ::testing::Values(ShortTerm{"ab", false, {"Short:0", "Short:1"}},
                                           ShortTerm{"Ab", true, {"Short:0"}},
                                           ShortTerm{"B", false, {"Short:0", "Short:1", "Short:2"}},
                                           ShortTerm{"я", false, {"Short:3", "Short:4"}},
                                           ShortTerm{"я", true, {}}));

TEST_F(ShelfTest, ALimitKeepsTheFirstHitsAndCountsEveryOne) {
    Add({DriversDisc(), BackupDisc()});
    ShelfQuery query;
    query.Text = "s";
    query.Limit = 2;
    std::vector<Names> heard;
    const ShelfHits found = OpenShelf().Search(
        query, {}, [&](const ShelfHits& first) { heard.push_back(HitNames(first)); });
    const Names first{"Drivers disc:0", "Drivers disc:1"};
    EXPECT_EQ(HitNames(found), first);
    EXPECT_EQ(found.Total, 5);
    EXPECT_TRUE(found.Complete);
    EXPECT_EQ(heard, std::vector<Names>{first});
}

TEST_F(ShelfTest, ATypeAndACatalogueNarrowTheSearch) {
    Add({DriversDisc(), BackupDisc()});
    ShelfQuery query;
    query.Text = "setup";
    query.ObjectType = otFolder;
    EXPECT_EQ(HitNames(OpenShelf().Search(query)), (Names{"Drivers disc:0", "Drivers disc:1"}));
    query.ObjectType.reset();
    query.Catalogue = OpenShelf().FindCatalogue(Utf8(folder / "discs/more/backup.TML"))->Id;
    EXPECT_EQ(HitNames(OpenShelf().Search(query)), (Names{"Backup 2003:1"}));
}

TEST_F(ShelfTest, ATreePathOfLongCaptionsIsCutAtTheTop) {
    const std::string a(3000, 'a'), b(3000, 'b'), c(3000, 'c');
    Add({WriteCatalogue(folder, "deep.tml", "Deep",
                        {{0, Record(a)}, {1, Record(b)}, {2, Record(c)}, {3, Record("target")}})});
    const ShelfHits found = Search("target");
    ASSERT_EQ(found.Total, 1);
    EXPECT_EQ(found.Hits[0].TreePath, "\u2026 / " + b + " / " + c + " / target");
}

// What becomes of a shelf file this program cannot use, and how many catalogues it still names.
struct Unusable {
    const char* Name;
    void (*Spoil)(const std::string& path);
    std::size_t Kept;
};

class ShelfSetAsideTest : public ShelfTest, public ::testing::WithParamInterface<Unusable> {};

TEST_P(ShelfSetAsideTest, IsSetAsideAndMadeAgain) {
    Add({DriversDisc(), BackupDisc()});
    shelf.reset();
    GetParam().Spoil(shelfPath);

    const Shelf& reopened = OpenShelf();
    ASSERT_TRUE(reopened.SetAside().has_value());
    const ShelfSetAside& setAside = *reopened.SetAside();
    EXPECT_EQ(setAside.MovedTo, shelfPath + ".set-aside");
    EXPECT_TRUE(fs::exists(NativePathFromUtf8(setAside.MovedTo)));
    EXPECT_EQ(setAside.Catalogues, GetParam().Kept);
    EXPECT_EQ(OpenShelf().Catalogues().size(), GetParam().Kept);
    OpenShelf().Refresh(silent, silent);
    EXPECT_EQ(Search("setup").Total, GetParam().Kept == 0 ? 0 : 4);
    EXPECT_NE(SetAsideMessage(setAside).find(setAside.MovedTo), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ShelfSetAsideTest,
    ::testing::Values(Unusable{"Garbage",
                               [](const std::string& path) {
                                   std::ofstream(NativePathFromUtf8(path), std::ios::binary)
                                       << std::string(8192, 'x');
                               },
                               0},
                      Unusable{"Newer",
                               [](const std::string& path) {
                                   SqliteDatabase(path).Execute("PRAGMA user_version = 99");
                               },
                               2},
                      Unusable{"Foreign",
                               [](const std::string& path) {
                                   fs::remove(NativePathFromUtf8(path));
                                   SqliteDatabase(path).Execute("CREATE TABLE note(text)");
                               },
                               0}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST_F(ShelfTest, LivesInTheUsersDataFolderUnlessTheEnvironmentNamesAnother) {
    {
        const testing::ScopedEnvironment named(ShelfEnvironmentVariable, "/media/stick/shelf");
        EXPECT_EQ(DefaultShelfPath(), "/media/stick/shelf");
    }
    if (testing::OnWindows)
        GTEST_SKIP() << "Windows names the folder itself";
    const testing::ScopedEnvironment unnamed(ShelfEnvironmentVariable, "");
    const testing::ScopedEnvironment data("XDG_DATA_HOME", "/home/anna/data");
    EXPECT_EQ(DefaultShelfPath(), "/home/anna/data/Tomlet/shelf.sqlite");
}

}  // namespace
}  // namespace tomlet
