#include "core/disc_update.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <stdexcept>

#include "core/limits.h"
#include "core/progress.h"
#include "core/scanner.h"
#include "platform/directory_listing.h"
#include "platform/text_codec.h"
#include "support/file_system_faults.h"
#include "support/temp_folder.h"
#include "support/test_system.h"
#include "support/tree_records.h"

namespace tomlet {
namespace {

namespace fs = std::filesystem;
using testing::Outline;
using testing::Record;
using testing::RecordOutline;
using testing::TempFolder;
using testing::WithPath;

std::string Paths(const std::vector<ObjectNode*>& nodes) {
    std::string paths;
    for (const ObjectNode* node : nodes)
        paths += (paths.empty() ? "" : " ") + node->Data.PathFileName;
    return paths;
}

class DiscUpdateTest : public ::testing::Test {
protected:
    std::string DataDir() const { return data.Path().string(); }

    // The catalogue as the editor's scan of the data directory makes it, with the record of its
    // files when one is asked for.
    void ScanCatalogue(const std::vector<std::string>& masks = {"*.*"},
                       FingerprintMap* fingerprints = nullptr) {
        FolderScanner scanner(masks, DataDir(), silent, silent);
        scanner.RecordFingerprints(fingerprints);
        scanner.ScanDirectory(DataDir(), catalogue, nullptr, true);
    }

    DiscChanges Find(const std::vector<std::string>& masks = {"*.*"}, bool nested = true,
                     std::string folder = {}, ObjectNode* folderObject = nullptr) {
        const DiscUpdateScope scope{DataDir(), std::move(folder), folderObject, masks, nested};
        return FindDiscChanges(catalogue, scope, ProcessCodec(), silent, silent);
    }

    ObjectNode* ByPath(const std::string& path) const {
        for (ObjectNode* node = catalogue.First(); node; node = catalogue.NextDepthFirst(node))
            if (node->Data.PathFileName == path)
                return node;
        return nullptr;
    }

    TempFolder data;
    ObjectTree catalogue;
    SilentProgress silent;
};

TEST_F(DiscUpdateTest, AddsWhatIsNewAndDeletesWhatIsGoneKeepingEveryAnnotation) {
    data.WriteFile("setup.exe");
    data.WriteFile("readme.txt");
    data.WriteFile("Docs/manual.txt");
    data.WriteFile("Docs/old.txt");
    data.WriteFile("Drivers/v1/driver.inf");
    data.WriteFile("Папка/файл.txt");
    ScanCatalogue();

    // The author annotates every object, groups a note in a virtual folder, moves the manual to
    // the end and refers to a file beside the data directory.
    catalogue.ForEachDepthFirst([](ObjectNode& node, int) {
        node.Data.Hint = "hint of " + node.Data.Caption;
        node.Data.Comments = "about " + node.Data.Caption + "\r\n";
        node.Data.Parameters = "/quiet";
    });
    ObjectNode* first = catalogue.First();
    ObjectNode* start = catalogue.Append(nullptr, Record("Start here", otVirtualFolder));
    catalogue.MoveBefore(start, first);
    catalogue.Append(start, Record("Note", otTextFile));
    catalogue.MoveToLastChild(ByPath("Docs\\manual.txt"), nullptr);
    catalogue.Append(nullptr, WithPath("Outside", "..\\outside.txt", otTextFile));
    std::map<std::string, TNodeData> written;
    catalogue.ForEachDepthFirst(
        [&](ObjectNode& node, int) { written[node.Data.Caption] = node.Data; });

    fs::remove(data / "Docs/old.txt");
    fs::rename(data / "readme.txt", data / "readme-2.txt");
    data.WriteFile("new.exe");
    data.WriteFile("Extras/tools/tool.exe");
    fs::remove_all(data / "Drivers/v1");

    DiscChanges changes = Find();
    // New objects carry the scan's field values.
    EXPECT_EQ(
        RecordOutline(changes.New.TopLevel()),
        "Extras[1,1]:Extras (tools[1,1]:Extras\\tools (tool.exe[3,2]:Extras\\tools\\tool.exe)) "
        "new.exe[3,2]:new.exe readme-2.txt[8,4]:readme-2.txt");
    EXPECT_EQ(Paths(changes.Missing),
              "Docs\\old.txt Drivers\\v1 Drivers\\v1\\driver.inf readme.txt");
    EXPECT_EQ(changes.Kept, 6);

    ApplyDiscChanges(catalogue, std::move(changes));
    // New objects follow their nearest kept sibling; the moved manual stays where it was put.
    EXPECT_EQ(Outline(catalogue),
              "Start here0 Note1 Docs0 Drivers0 Extras0 tools1 tool.exe2 Папка0 файл.txt1 "
              "new.exe0 readme-2.txt0 setup.exe0 manual.txt0 Outside0");
    int unchanged = 0;
    catalogue.ForEachDepthFirst([&](ObjectNode& node, int) {
        if (const auto before = written.find(node.Data.Caption); before != written.end()) {
            EXPECT_EQ(node.Data, before->second) << node.Data.Caption;
            ++unchanged;
        }
    });
    EXPECT_EQ(unchanged, 9);
    EXPECT_TRUE(Find().IsEmpty());
}

// A folder that became a file, and a file that became a folder, keep their objects' texts and
// take the type and action a scan gives what is there now.
TEST_F(DiscUpdateTest, AFolderReplacedByAFileAndBackTakesTheTypeOfWhatIsThere) {
    data.WriteFile("Docs/manual.txt");
    data.WriteFile("notes.txt");
    ScanCatalogue();
    catalogue.ForEachDepthFirst([](ObjectNode& node, int) { node.Data.Hint = "kept"; });
    fs::remove_all(data / "Docs");
    data.WriteFile("Docs");
    fs::remove(data / "notes.txt");
    data.WriteFile("notes.txt/today.txt");

    DiscChanges changes = Find();
    EXPECT_EQ(Paths(changes.Missing), "Docs\\manual.txt");
    ApplyDiscChanges(catalogue, std::move(changes));
    EXPECT_EQ(RecordOutline(catalogue.TopLevel()),
              "Docs[0,4]:Docs notes.txt[1,1]:notes.txt (today.txt[8,4]:notes.txt\\today.txt)");
    EXPECT_EQ(ByPath("Docs")->Data.Hint, "kept");
    EXPECT_EQ(ByPath("notes.txt")->Data.Hint, "kept");
    EXPECT_TRUE(Find().IsEmpty());
}

TEST_F(DiscUpdateTest, AFileTwoMasksMatchStaysAsManyObjectsAsTheScanMakes) {
    data.WriteFile("a.exe");
    data.WriteFile("b.txt");
    const std::vector<std::string> masks{"*.exe", "*.*"};
    ScanCatalogue(masks);
    ASSERT_EQ(Outline(catalogue), "a.exe0 a.exe0 b.txt0");
    const DiscChanges unchanged = Find(masks);
    EXPECT_TRUE(unchanged.IsEmpty());
    EXPECT_EQ(unchanged.Kept, 3);
    // Fewer masks list the file once: the second object still names a file on disc.
    EXPECT_TRUE(Find({"*.*"}).IsEmpty());

    catalogue.DeleteObjectTree(catalogue.TopLevel()[1]);
    catalogue.TopLevel()[0]->Data.Hint = "the installer";
    ApplyDiscChanges(catalogue, Find(masks));
    EXPECT_EQ(Outline(catalogue), "a.exe0 a.exe0 b.txt0");
    EXPECT_EQ(catalogue.TopLevel()[0]->Data.Hint, "the installer");
    EXPECT_TRUE(Find(masks).IsEmpty());
}

TEST_F(DiscUpdateTest, StoredPathsMatchExactlyFirstThenIgnoringCase) {
    data.WriteFile("Docs/Manual.TXT");
    data.WriteFile("Папка/Файл.txt");
    ObjectNode* docs = catalogue.Append(nullptr, WithPath("docs", "DOCS", otFolder));
    catalogue.Append(docs, WithPath("manual", "docs\\manual.txt"));
    ObjectNode* folder = catalogue.Append(nullptr, WithPath("папка", "ПАПКА", otFolder));
    catalogue.Append(folder, WithPath("файл", "папка\\ФАЙЛ.TXT"));
    EXPECT_TRUE(Find().IsEmpty());

    // Where the disc holds both spellings, the object keeps the one it names exactly.
    data.WriteFile("x.txt");
    data.WriteFile("X.TXT");
    DirectoryListing listing;
    ASSERT_TRUE(ListDirectory(DataDir(), listing));
    if (listing.Entries.size() == 4) {  // a file system that tells case apart
        catalogue.Append(nullptr, WithPath("x", "x.txt"));
        EXPECT_EQ(Paths(Find().New.TopLevel()), "X.TXT");
    }
}

TEST_F(DiscUpdateTest, OnlyObjectsWhoseFolderListsWithoutThemAreMissing) {
    data.WriteFile("a.txt");
    data.WriteFile("Sub/deep/d.txt");
    data.WriteFile(".hidden/h.txt");
    data.WriteFile("locked/l.txt");
    ScanCatalogue();
    catalogue.Append(nullptr, WithPath("hidden", ".hidden\\h.txt"));

    // What the masks or the nesting leave unlisted is still on disc.
    EXPECT_TRUE(Find({"*.exe"}, false).IsEmpty());

    fs::remove(data / "a.txt");
    fs::permissions(data / "locked", fs::perms::none);
    // A folder that cannot be read loses nothing, and is named among what the scan left out.
    const testing::ScopedOrdinaryUser ordinaryUser;
    const DiscChanges changes = Find();
    EXPECT_EQ(Paths(changes.Missing), "a.txt");
    if (!testing::OnWindows) {  // whose read-only attribute keeps no one out of a folder
        EXPECT_EQ(changes.Skipped,
                  (std::vector<SkippedEntry>{{data / "locked", SkipReason::Unlistable, true, false,
                                              std::generic_category().message(EACCES)}}));
    }
}

TEST_F(DiscUpdateTest, AFolderUpdateChangesOnlyThatFolderWhereverItsObjectWasMoved) {
    data.WriteFile("Docs/a.txt");
    data.WriteFile("Docs/Sub/b.txt");
    data.WriteFile("top.txt");
    ScanCatalogue();
    ObjectNode* docs = ByPath("Docs");
    catalogue.MoveToLastChild(docs, catalogue.Append(nullptr, Record("Manuals", otVirtualFolder)));

    data.WriteFile("Docs/c.txt");
    data.WriteFile("Docs/Sub/new.txt");
    fs::remove(data / "Docs/a.txt");
    fs::remove(data / "top.txt");
    DiscChanges changes = Find({"*.*"}, true, "Docs", docs);
    EXPECT_EQ(Paths(changes.New.TopLevel()), "Docs\\Sub\\new.txt Docs\\c.txt");
    EXPECT_EQ(Paths(changes.Missing), "Docs\\a.txt");
    ApplyDiscChanges(catalogue, std::move(changes));
    EXPECT_EQ(Outline(catalogue), "top.txt0 Manuals0 Docs1 Sub2 b.txt3 new.txt3 c.txt2");

    // A folder that is gone, or is a file, is refused rather than taken as empty.
    const DiscUpdateScope gone{data / "gone", {}, nullptr, {"*.*"}, true};
    EXPECT_THROW(FindDiscChanges(catalogue, gone, ProcessCodec(), silent, silent),
                 std::runtime_error);
    EXPECT_THROW(Find({"*.*"}, true, "Docs\\Gone", docs), std::runtime_error);
    EXPECT_THROW(Find({"*.*"}, true, "Docs\\c.txt", docs), std::runtime_error);
}

// Each mask takes every file again: 2,000 files under 2,500 masks make MaxObjects objects,
// which with the one object the update may not touch are one too many. Refused before anything
// is built, as a scan is.
TEST_F(DiscUpdateTest, TheObjectLimitCountsTheCataloguesObjects) {
    constexpr int Files = 2'000;
    for (int i = 0; i < Files; ++i)
        data.WriteFile(std::to_string(i) + ".txt");
    catalogue.Append(nullptr, testing::Record("notes", otVirtualFolder));
    const std::vector<std::string> masks(MaxObjects / Files, "*.txt");
    try {
        Find(masks);
        ADD_FAILURE() << "an update beyond " << MaxObjects << " objects was found";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), TooManyObjectsText());
    }
}

TEST_F(DiscUpdateTest, LeftOutChangesStayUndoneAndSurvivorsTakeADeletedFoldersPlace) {
    data.WriteFile("Old/x.txt");
    data.WriteFile("keep.txt");
    ScanCatalogue();
    catalogue.Append(ByPath("Old"), Record("Notes", otVirtualFolder));

    fs::remove_all(data / "Old");
    data.WriteFile("n1.txt");
    data.WriteFile("n2.txt");
    data.WriteFile("New/a.txt");
    data.WriteFile("New/b.txt");
    DiscChanges changes = Find();
    ASSERT_EQ(Paths(changes.New.TopLevel()), "New n1.txt n2.txt");
    ASSERT_EQ(Paths(changes.Missing), "Old Old\\x.txt");
    const std::unordered_set<const ObjectNode*> leftOut{
        changes.New.TopLevel()[1], changes.New.TopLevel()[0]->Child(0), changes.Missing[1]};
    ApplyDiscChanges(catalogue, std::move(changes), leftOut);
    EXPECT_EQ(Outline(catalogue), "New0 b.txt1 x.txt0 Notes0 keep.txt0 n2.txt0");
    EXPECT_EQ(catalogue.Count(), 6);
}

// What a renaming update found: "old>new" per pair, "=twin" per further file of the same content.
std::string Pairs(const DiscChanges& changes) {
    std::string pairs;
    for (const DiscChanges::Renaming& renaming : changes.Renamed) {
        pairs += (pairs.empty() ? "" : " ") + renaming.Object->Data.PathFileName + ">" +
                 renaming.File->Data.PathFileName;
        for (const ObjectNode* twin : renaming.SameContent)
            pairs += "=" + twin->Data.PathFileName;
    }
    return pairs;
}

class RenameTest : public DiscUpdateTest {
protected:
    // A disc of logo.bmp, readme.txt, an empty file and an empty folder, catalogued with the
    // record of its files: as its scan records files written long ago, by their stamps alone;
    // or as an update records files written a moment ago, by their content.
    void Catalogue(bool settled) {
        catalogue.ClearObjectTree();
        fingerprints = {};
        fs::remove_all(data.Path());
        for (const auto& [path, content] :
             {std::pair{"logo.bmp", "LOGO"}, {"readme.txt", "READ ME"}, {"empty.txt", ""}}) {
            data.WriteFile(path, content);
            if (settled)
                fs::last_write_time(data.Path() / path,
                                    fs::file_time_type::clock::now() - std::chrono::hours(1));
        }
        data.MakeFolder("Pics");
        if (settled) {
            ScanCatalogue({"*.*"}, &fingerprints);
        } else {
            ScanCatalogue();
            ASSERT_TRUE(FindRenames().IsEmpty());
        }
        ASSERT_EQ(fingerprints.size(), 3u);
        fingerprints.ForEach([settled](std::uint64_t, const FileFingerprint& fingerprint) {
            EXPECT_EQ(fingerprint.Hash == 0, settled);
        });
    }
    DiscChanges FindRenames() {
        const DiscUpdateScope scope{DataDir(), {}, nullptr, {"*.*"}, true};
        return FindDiscChanges(catalogue, scope, ProcessCodec(), silent, silent, &fingerprints);
    }
    void Rename(const std::string& from, const std::string& to) const {
        fs::create_directories(fs::path(data / to).parent_path());
        fs::rename(data / from, data / to);
    }

    FingerprintMap fingerprints;
};

TEST_F(RenameTest, AGoneFilePairsOnceWithANewFileThatIsIt) {
    const struct {
        const char* Case;
        std::vector<std::pair<std::string, std::string>> Renames;
        std::vector<std::pair<std::string, std::string>> Written;
        std::string Pairs;
        std::string Missing;
    } cases[] = {
        {"renamed", {{"logo.bmp", "logo2.bmp"}}, {}, "logo.bmp>logo2.bmp", ""},
        {"moved", {{"logo.bmp", "Pics/logo.bmp"}}, {}, "logo.bmp>Pics\\logo.bmp", ""},
        {"moved into a new folder",
         {{"logo.bmp", "New/Deep/logo.bmp"}},
         {},
         "logo.bmp>New\\Deep\\logo.bmp",
         ""},
        {"renamed and changed",
         {{"logo.bmp", "logo2.bmp"}},
         {{"logo2.bmp", "LOGO!"}},
         "",
         "logo.bmp"},
        {"renamed and changed to the same size",
         {{"logo.bmp", "logo2.bmp"}},
         {{"logo2.bmp", "LOGA"}},
         "",
         "logo.bmp"},
        {"another file of the same size",
         {},
         {{"logo.bmp", ""}, {"logo2.bmp", "LOGA"}},
         "",
         "logo.bmp"},
        {"two files of the same content",
         {{"logo.bmp", "a.bmp"}},
         {{"b.bmp", "LOGO"}},
         "logo.bmp>a.bmp=b.bmp",
         ""},
        {"an empty file has no content to know it by",
         {{"empty.txt", "empty2.txt"}},
         {},
         "",
         "empty.txt"},
    };
    for (const bool settled : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.Case) + (settled ? ", known by stamps" : ", by content"));
            Catalogue(settled);
            for (const auto& [from, to] : c.Renames)
                Rename(from, to);
            for (const auto& [path, content] : c.Written) {
                if (content.empty())
                    fs::remove(data / path);
                else
                    data.WriteFile(path, content);
            }
            const DiscChanges changes = FindRenames();
            EXPECT_EQ(Pairs(changes), c.Pairs);
            EXPECT_EQ(Paths(changes.Missing), c.Missing);
        }
    }
}

// The record follows the catalogue: what an update applied, the next one keeps, and it lets the
// old paths go.
TEST_F(RenameTest, ARenamedObjectKeepsItsTextsAndPlaceUnlessLeftOut) {
    Catalogue(false);
    ObjectNode* logo = ByPath("logo.bmp");
    logo->Data.Hint = "the logo";
    logo->Data.Comments = "drawn by hand";
    logo->Data.Parameters = "/show";
    ASSERT_TRUE(catalogue.MoveToLastChild(logo, nullptr));
    Rename("logo.bmp", "Pics/logo2.bmp");
    Rename("readme.txt", "read.me");

    DiscChanges changes = FindRenames();
    EXPECT_TRUE(changes.FingerprintsChanged);
    ASSERT_EQ(Pairs(changes), "readme.txt>read.me logo.bmp>Pics\\logo2.bmp");
    const std::unordered_set<const ObjectNode*> leftOut{changes.Renamed[0].Object};
    ApplyDiscChanges(catalogue, std::move(changes), leftOut);
    // The logo keeps its place at the end; the read-me left out is deleted and its file added.
    EXPECT_EQ(testing::NestedOutline(catalogue.TopLevel(),
                                     [](const TNodeData& record) {
                                         return record.PathFileName +
                                                (record.Hint.empty() ? "" : "/" + record.Hint);
                                     }),
              "Pics empty.txt read.me Pics\\logo2.bmp/the logo");
    EXPECT_EQ(logo->Data.Comments + logo->Data.Parameters, "drawn by hand/show");
    EXPECT_TRUE(FindRenames().IsEmpty());
    EXPECT_EQ(fingerprints.size(), 3u);
    EXPECT_NE(fingerprints.Find(FingerprintKey("Pics\\logo2.bmp")), nullptr);
    EXPECT_FALSE(FindRenames().FingerprintsChanged);
}

TEST(FingerprintRecordTest, ARecordReadsBackAndADamagedOneAsEmpty) {
    const TempFolder folder;
    const std::string file = (folder.Path() / "deep" / "record.dat").string();
    FingerprintMap record;
    for (std::uint64_t key = 1; key <= 40; ++key)  // more than a table begins with
        record.Set(FingerprintKey(std::to_string(key)), {key, ~key, -1, key << 40});
    ASSERT_TRUE(SaveFingerprints(file, record));
    EXPECT_EQ(LoadFingerprints(file), record);
    const std::string bytes = testing::ReadWholeFile(file);
    folder.WriteFile("deep/record.dat", bytes.substr(0, bytes.size() - 3));
    EXPECT_TRUE(LoadFingerprints(file).empty());
    EXPECT_TRUE(LoadFingerprints((folder.Path() / "none.dat").string()).empty());
    EXPECT_NE(FingerprintFileOf("a.tml"), FingerprintFileOf("b.tml"));
}

}  // namespace
}  // namespace tomlet
