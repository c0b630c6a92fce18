#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli_run.h"
#include "core/progress.h"
#include "core/shelf.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"
#include "support/run_program.h"
#include "support/shelf_catalogues.h"
#include "support/tree_records.h"

namespace tomlet::cli {
namespace {

namespace fs = std::filesystem;
using testing::Placed;
using testing::Record;
using testing::WithPath;
using testing::WriteCatalogue;
using Lines = std::vector<std::string>;

Lines LinesOf(const std::string& text) {
    Lines lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

class ShelfCommandTest : public ::testing::Test {
protected:
    // tomlet-cli shelf with this test's shelf.
    CliRun Shelf(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "shelf");
        arguments.insert(arguments.end(), {"--shelf", shelfPath});
        return Cli(arguments);
    }

    // "Drivers disc" on a disc that is there: 0 Setup, 1 net.inf (a line break in its caption).
    std::string DriversDisc() {
        return WriteCatalogue(folder, "drivers.tml", "Drivers disc",
                              {{0, WithPath("Setup", "Setup", otFolder)},
                               {1, WithPath("net\r\n.inf", "Setup\\net.inf")}},
                              folder.MakeFolder("data"));
    }

    testing::TempFolder folder;
    std::string shelfPath = folder / "shelf.sqlite";
};

TEST_F(ShelfCommandTest, SearchPrintsOneLinePerHitThenTheCount) {
    ASSERT_EQ(Shelf({"add", DriversDisc()}).Code, ExitOk);
    const std::string resolved = folder / "data/Setup/net.inf";
    EXPECT_EQ(LinesOf(Shelf({"search", "NET"}).Out),
              (Lines{"Drivers disc\tSetup / net\\r\\n.inf\tSetup\\net.inf\t" + resolved,
                     "1 objects found"}));
    EXPECT_EQ(LinesOf(Shelf({"search", "e", "--limit", "1"}).Out),
              (Lines{"Drivers disc\tSetup\tSetup\t" + (folder / "data/Setup"),
                     "2 objects found, the first 1 shown"}));
    const CliRun none = Shelf({"search", "setup", "--type", "text file"});
    EXPECT_EQ(none.Code, ExitFailure);
    EXPECT_EQ(none.Out, "0 objects found\n");
}

TEST_F(ShelfCommandTest, ListShowsEachCataloguesState) {
    const std::string drivers = DriversDisc();
    const std::string elsewhere =
        WriteCatalogue(folder, "elsewhere.tml", "", {{0, Record("A")}}, folder / "not-here");
    const std::string gone = WriteCatalogue(folder, "gone.tml", "Gone", {{0, Record("B")}});
    const std::string damaged = WriteCatalogue(folder, "damaged.tml", "Damaged", {});
    Shelf({"add", drivers, elsewhere, gone, damaged});
    fs::remove(NativePath(gone));
    folder.WriteFile("damaged.tml", "no catalogue");
    EXPECT_EQ(Shelf({"refresh"}).Code, ExitFailure);

    std::vector<std::string> states;
    for (const std::string& line : LinesOf(Shelf({"list"}).Out)) {
        std::istringstream fields(line);
        std::string state, objects, date, time, zone, name;
        fields >> state >> objects >> date >> time >> zone;
        std::getline(fields >> std::ws, name, '\t');
        states.push_back(state + " " + objects + " " + name);
    }
    EXPECT_EQ(states, (Lines{"online 2 Drivers disc", "offline 1 elsewhere.tml", "missing 1 Gone",
                             "damaged 0 Damaged"}));
}

TEST_F(ShelfCommandTest, RefusesAWrongCommandLine) {
    for (const Lines& arguments :
         {Lines{}, Lines{"shelve"}, Lines{"search"}, Lines{"search", "a", "b"},
          Lines{"list", "--limit", "3"}, Lines{"add", "x", "--json"},
          Lines{"search", "a", "--type", "Sound"}, Lines{"search", "a", "--limit", "0"},
          Lines{"search", "a", "--fields", "name"}}) {
        const CliRun run = Shelf(arguments);
        EXPECT_EQ(run.Code, ExitUsage) << ::testing::PrintToString(arguments);
        EXPECT_NE(run.Err.find("Usage: tomlet-cli shelf"), std::string::npos);
    }
}

// Random catalogues whose texts mix cases, Cyrillic and the characters the text index's query
// syntax gives a meaning to.
class RandomCatalogues final {
public:
    explicit RandomCatalogues(unsigned initialState) : m_random(initialState) {}

    std::vector<Placed> Objects(int count) {
        std::vector<Placed> objects;
        int level = 0;
        for (int i = 0; i < count; ++i) {
            level = i == 0 ? 0 : std::uniform_int_distribution(0, level + 1)(m_random);
            TNodeData data = Record(Text(1, 12), static_cast<std::uint8_t>(Pick(12)));
            for (std::string* field :
                 {&data.Hint, &data.PathFileName, &data.Parameters, &data.Comments})
                if (Pick(3) == 0)
                    *field = Text(1, 20);
            objects.push_back({level, data});
            Texts.push_back(data.Caption);
        }
        return objects;
    }

    // A piece of a text met before, its letters' case changed at random, or a new text.
    std::string Term() {
        if (Pick(5) == 0)
            return Text(1, 4);
        const std::u32string text = Characters(Texts[Pick(static_cast<int>(Texts.size()))]);
        const int length = std::min(1 + Pick(5), static_cast<int>(text.size()));
        const int start = Pick(static_cast<int>(text.size()) - length + 1);
        std::string term;
        for (int i = start; i < start + length; ++i) {
            const std::size_t at = m_alphabet.find(text[i]);
            term += Utf8Of(at != std::u32string::npos && Pick(2) == 0 ? m_swapped[at] : text[i]);
        }
        return term;
    }

    int Pick(int count) { return std::uniform_int_distribution(0, count - 1)(m_random); }

    std::vector<std::string> Texts;

private:
    std::string Text(int shortest, int longest) {
        std::string text;
        for (int n = std::uniform_int_distribution(shortest, longest)(m_random); n > 0; --n)
            text += Utf8Of(m_alphabet[Pick(static_cast<int>(m_alphabet.size()))]);
        return text;
    }
    static std::u32string Characters(const std::string& utf8) {
        std::u32string characters;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
            char32_t c = length == 1 ? lead : lead & (length == 2 ? 0x1F : 0x0F);
            for (std::size_t k = 1; k < length; ++k)
                c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            characters += c;
            i += length;
        }
        return characters;
    }
    static std::string Utf8Of(char32_t c) {
        std::string bytes;
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else {
            bytes += static_cast<char>(0xC0 | (c >> 6));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
        return bytes;
    }

    std::mt19937 m_random;
    // Each letter has its other case at the same place in m_swapped.
    std::u32string m_alphabet = U"abcABCxyXYабвАБВёЁ \"*:(-)^\\._0";
    std::u32string m_swapped = U"ABCabcXYxyАБВабвЁё \"*:(-)^\\._0";
};

// find prints "index<TAB>caption<TAB>path" per hit.
std::vector<std::string> FoundIndexes(const std::string& output) {
    std::vector<std::string> indexes;
    for (const std::string& line : LinesOf(output))
        indexes.push_back(line.substr(0, line.find('\t')));
    return indexes;
}

TEST_F(ShelfCommandTest, FindsWhatFindFindsInEachCatalogue) {
    RandomCatalogues random(20240601);
    std::vector<std::string> catalogues;
    for (int i = 0; i < 4; ++i)
        catalogues.push_back(WriteCatalogue(folder, "random" + std::to_string(i) + ".tml",
                                            "Random " + std::to_string(i), random.Objects(150)));
    tomlet::Shelf shelf(ProcessCodec().ToUtf8(shelfPath));
    SilentProgress silent;
    std::vector<std::string> added;
    for (const std::string& catalogue : catalogues)
        added.push_back(ProcessCodec().ToUtf8(catalogue));
    shelf.Add(added, TextCodec::Utf8, silent, silent);

    const char* fieldLists[] = {"caption", "caption,path", "hint,parameters,comments",
                                "caption,hint,path,parameters,comments"};
    for (int round = 0; round < 150; ++round) {
        const std::string term = random.Term();
        const char* fields = fieldLists[random.Pick(4)];
        const bool caseSensitive = random.Pick(3) == 0;
        std::vector<std::string> expected;
        for (const std::string& catalogue : catalogues) {
            std::vector<std::string> find{"find", "--fields", fields, "--code-page", "65001"};
            if (caseSensitive)
                find.push_back("--case-sensitive");
            find.insert(find.end(), {"--", catalogue, term});
            for (const std::string& index : FoundIndexes(Cli(find).Out))
                expected.push_back(ProcessCodec().ToUtf8(catalogue) + ":" + index);
        }
        ShelfQuery query;
        query.Text = term;
        query.Fields = ParseFindFields(std::string(fields), 0);
        query.CaseSensitive = caseSensitive;
        std::vector<std::string> found;
        for (const ShelfHit& hit : shelf.Search(query).Hits)
            found.push_back(hit.CataloguePath + ":" + std::to_string(hit.Index));
        EXPECT_EQ(found, expected)
            << "\"" << term << "\" in " << fields << (caseSensitive ? ", case-sensitive" : "");
    }
}

// While one process rewrites a catalogue's entries, another searches the shelf and finds the
// entries as they were: it neither waits for the writer nor fails.
class SearchingProcess final : public ProgressSink {
public:
    SearchingProcess(std::string shelf, std::string text)
        : m_shelf(std::move(shelf)), m_text(std::move(text)) {}

    bool Begin() override { return true; }
    bool SetMaximum(int) override { return true; }
    bool Step() override {
        if (Code == -2)
            Code = testing::RunProgram(testing::BuiltProgram("tomlet-cli"),
                                       {"shelf", "search", m_text, "--shelf", m_shelf});
        return true;
    }
    bool IncreaseMaximum() override { return true; }
    bool SetText(const std::string&) override { return true; }
    bool End() override { return true; }

    int Code = -2;  // not run yet

private:
    std::string m_shelf;
    std::string m_text;
};

TEST_F(ShelfCommandTest, AnotherProcessSearchesWhileTheShelfIsRefreshed) {
    const std::string disc = DriversDisc();
    Shelf({"add", disc});
    WriteCatalogue(folder, "drivers.tml", "Drivers disc", {{0, Record("Printer")}});

    tomlet::Shelf shelf(ProcessCodec().ToUtf8(shelfPath));
    SearchingProcess searching(shelfPath, "setup");
    SilentProgress silent;
    EXPECT_EQ(shelf.Refresh(searching, silent).Indexed, 1);
    EXPECT_EQ(searching.Code, ExitOk);
    EXPECT_EQ(Shelf({"search", "setup"}).Code, ExitFailure);
    EXPECT_EQ(Shelf({"search", "printer"}).Code, ExitOk);
}

}  // namespace
}  // namespace tomlet::cli
