#include "core/search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/object_tree.h"
#include "platform/case_fold.h"
#include "platform/text_codec.h"
#include "support/test_system.h"
#include "support/tree_records.h"

namespace tomlet {
namespace {

TFindRec Settings(std::string text, std::uint8_t fields = ffCaption, bool caseSensitive = false) {
    TFindRec settings;
    settings.Text = std::move(text);
    settings.Fields = fields;
    settings.CaseSensitive = caseSensitive;
    return settings;
}

bool Finds(const TFindRec& settings, std::string_view field) {
    return FindMatcher(settings).Contains(field);
}

// Runs each case in UTF-8 unless it names another code page, and puts the process's code page
// back.
class SearchTest : public ::testing::Test {
protected:
    const ScopedProcessCodePage codePage{TextCodec::Utf8};
};

TEST_F(SearchTest, CaseFoldsOnlyWithoutCaseSensitivity) {
    EXPECT_TRUE(Finds(Settings("SETUP"), "Setup"));
    EXPECT_TRUE(Finds(Settings("setup"), "SETUP.EXE"));
    EXPECT_FALSE(Finds(Settings("SETUP", ffCaption, true), "Setup"));
    EXPECT_TRUE(Finds(Settings("Setup", ffCaption, true), "Setup"));
    EXPECT_TRUE(Finds(Settings("tup"), "Setup"));
    EXPECT_TRUE(Finds(Settings("tup", ffCaption, true), "Setup"));
    EXPECT_TRUE(Finds(Settings("p"), "Setup"));
    EXPECT_FALSE(Finds(Settings("Setupx"), "Setup"));
    EXPECT_FALSE(Finds(Settings("stup"), "Setup"));
    EXPECT_TRUE(Finds(Settings("a b"), "x A B y"));
    // A partial match just before the real one must not hide it.
    EXPECT_TRUE(Finds(Settings("aab"), "aaab"));
}

TEST_F(SearchTest, LooksOnlyInTheChosenFields) {
    TNodeData data;
    data.Caption = "caption";
    data.Hint = "hint";
    data.PathFileName = "dir\\file.txt";
    data.Parameters = "-quiet";
    data.Comments = "first line\r\nsecond line\r\n";
    const struct {
        const char* Text;
        std::uint8_t Field;
    } cases[] = {{"CAPTION", ffCaption},
                 {"HINT", ffHint},
                 {"FILE.TXT", ffPathFileName},
                 {"QUIET", ffParameters},
                 {"SECOND", ffComments}};
    for (const auto& c : cases) {
        EXPECT_TRUE(FindMatcher(Settings(c.Text, c.Field)).Matches(data)) << c.Text;
        EXPECT_FALSE(FindMatcher(Settings(c.Text, AllFindFields & ~c.Field)).Matches(data))
            << c.Text;
        EXPECT_TRUE(FindMatcher(Settings(c.Text, AllFindFields)).Matches(data)) << c.Text;
    }
}

TEST_F(SearchTest, FoldsCyrillicInUtf8) {
    EXPECT_TRUE(Finds(Settings("УСТАНОВКА"), "Программа: установка"));
    EXPECT_TRUE(Finds(Settings("установка"), "УСТАНОВКА ПРОГРАММЫ"));
    EXPECT_TRUE(Finds(Settings("ёж"), "Ёжик"));
    EXPECT_FALSE(Finds(Settings("УСТАНОВКА", ffCaption, true), "установка"));
    EXPECT_FALSE(Finds(Settings("установки"), "установка"));
    // Other scripts and letters that lower-case to ASCII fold as well.
    EXPECT_TRUE(Finds(Settings("ÄRGER"), "ärger"));
    if (!testing::OnWindows) {  // the lower-case table of Windows keeps the Kelvin sign
        EXPECT_TRUE(Finds(Settings("kelvin"), "\u212Aelvin"));
    }
}

TEST_F(SearchTest, KeepsStrayBytesInUtf8) {
    // A text in another code page read as UTF-8: bytes that are no character match themselves.
    EXPECT_TRUE(Finds(Settings("\xF1"), "\xD3\xF1"));
    EXPECT_FALSE(Finds(Settings("\xD1"), "\xD3\xF1"));
    EXPECT_TRUE(Finds(Settings("\xD0"), "abc\xD0"));
    EXPECT_FALSE(Finds(Settings("\xD0\x9F"), "abc\xD0"));
}

TEST_F(SearchTest, FoldsCyrillicInCodePage1251) {
    SetProcessCodePage(1251);
    const std::string lower = "\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0";  // установка
    const std::string upper = "\xD3\xD1\xD2\xC0\xCD\xCE\xC2\xCA\xC0";  // УСТАНОВКА
    EXPECT_TRUE(Finds(Settings(upper), "Program " + lower));
    EXPECT_TRUE(Finds(Settings(lower), upper + " 1"));
    EXPECT_TRUE(Finds(Settings("\xA8\xE6"), "\xB8\xE6\xE8\xEA"));  // Ёж in ёжик
    EXPECT_TRUE(Finds(Settings("SETUP"), "Setup"));
    EXPECT_FALSE(Finds(Settings(upper, ffCaption, true), lower));
    EXPECT_FALSE(Finds(Settings("\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8"), lower));  // установки
}

// The plain way: lower-case both texts character by character, then look for one in the other.
std::string LowerUtf8(const std::string& text) {
    std::u32string wide;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        wide += LowerCase(c);
        i += length;
    }
    std::string lower;
    for (char32_t c : wide) {
        if (c < 0x80) {
            lower += static_cast<char>(c);
        } else if (c < 0x800) {
            lower += static_cast<char>(0xC0 | (c >> 6));
            lower += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            lower += static_cast<char>(0xE0 | (c >> 12));
            lower += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            lower += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return lower;
}

TEST_F(SearchTest, AgreesWithLowerCasingBothTexts) {
    // Letters whose cases differ in length or fold from beyond ASCII into it, among others.
    const std::vector<std::string> letters{"a",      "x",      " ",      "k",      "K",
                                           "\u212A", "i",      "\u0130", "\u0451", "\u0401",
                                           "\u0436", "\u0416", "\u023A", "\u2C65"};
    std::mt19937 random(7);
    const auto make = [&](size_t maxLength) {
        std::string text;
        for (size_t n = random() % (maxLength + 1); n > 0; --n)
            text += letters[random() % letters.size()];
        return text;
    };
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string needle = make(3);
        const std::string field = make(14);
        if (needle.empty())
            needle = "a";
        const bool expected = LowerUtf8(field).find(LowerUtf8(needle)) != std::string::npos;
        found += expected;
        ASSERT_EQ(Finds(Settings(needle), field), expected) << needle << " in " << field;
        ASSERT_EQ(Finds(Settings(needle, ffCaption, true), field),
                  field.find(needle) != std::string::npos)
            << needle << " in " << field;
    }
    // Both outcomes are well represented (a few less with the case tables of Windows).
    EXPECT_GT(found, 4000);
    EXPECT_LT(found, 15000);
}

class FindObjectTest : public SearchTest {
protected:
    // Depth-first: 0 Setup, 1 Docs, 2 readme, 3 SETUP.INI, 4 Tools, 5 setup.exe
    void SetUp() override {
        setup = Add(nullptr, "Setup");
        ObjectNode* docs = Add(nullptr, "Docs");
        Add(docs, "readme");
        setupIni = Add(docs, "SETUP.INI");
        ObjectNode* tools = Add(nullptr, "Tools");
        setupExe = Add(tools, "setup.exe");
    }

    ObjectNode* Add(ObjectNode* parent, std::string caption) {
        return tree.Append(parent, testing::Record(std::move(caption)));
    }

    ObjectTree tree;
    ObjectNode *setup{}, *setupIni{}, *setupExe{};
};

TEST_F(FindObjectTest, StartsAtTheSelectedNodeOrTheFirst) {
    TFindRec settings = Settings("setup");
    EXPECT_EQ(FindObject(settings, tree, false, 3), setupIni);
    EXPECT_EQ(settings.NextIndex, 4);
    settings.FromCurrent = false;
    EXPECT_EQ(FindObject(settings, tree, false, 3), setup);
    EXPECT_EQ(settings.NextIndex, 1);
}

TEST_F(FindObjectTest, ForwardWalksEveryMatchThenStartsOver) {
    TFindRec settings = Settings("SETUP");
    settings.FromCurrent = false;
    EXPECT_EQ(FindObject(settings, tree, false, -1), setup);
    EXPECT_EQ(FindObject(settings, tree, true, -1), setupIni);  // inside a branch
    EXPECT_EQ(FindObject(settings, tree, true, -1), setupExe);
    EXPECT_EQ(settings.NextIndex, 6);
    EXPECT_EQ(FindObject(settings, tree, true, -1), nullptr);
    EXPECT_EQ(settings.NextIndex, 0);
    EXPECT_EQ(FindObject(settings, tree, true, -1), setup);
    EXPECT_EQ(settings.NextIndex, 1);
}

TEST_F(FindObjectTest, IndexBeyondTheLastNodeTestsNothing) {
    TFindRec settings = Settings("setup");
    settings.NextIndex = 40;
    EXPECT_EQ(FindObject(settings, tree, true, 0), nullptr);
    EXPECT_EQ(settings.NextIndex, 0);
    // A search that is not forward and finds nothing leaves the position alone.
    settings.Text = "nowhere";
    settings.NextIndex = 2;
    EXPECT_EQ(FindObject(settings, tree, false, 0), nullptr);
    EXPECT_EQ(settings.NextIndex, 2);
}

TEST_F(FindObjectTest, EmptyTextOrNoFieldsFindNothing) {
    TFindRec settings = Settings("");
    settings.NextIndex = 3;
    EXPECT_EQ(FindObject(settings, tree, true, 0), nullptr);
    EXPECT_EQ(settings.NextIndex, 0);
    settings = Settings("Setup", 0);
    EXPECT_EQ(FindObject(settings, tree, false, 0), nullptr);
}

}  // namespace
}  // namespace tomlet
