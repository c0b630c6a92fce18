#include "core/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tomlet {
namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void TearDown() override { ResetCatalogue(); }
};

std::size_t Count(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(CatalogueTest, KeysSectionsAndPlaceholdersAgree) {
    const auto entries = CatalogueEntries();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(TextId::SaveFailure) + 1);
    std::set<std::string_view> keys;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        const auto& entry = entries[i];
        SCOPED_TRACE(std::string(entry.Key));
        EXPECT_EQ(static_cast<std::size_t>(entry.Id), i);
        EXPECT_TRUE(keys.insert(entry.Key).second);
        const auto prefix = entry.Key.substr(0, entry.Key.find('_'));
        const std::string expectedSection = prefix == "text"   ? "Text"
                                            : prefix == "hint" ? "Hint"
                                                               : "Message";
        EXPECT_EQ(entry.Section, expectedSection);
        const bool count = entry.Key.ends_with("_D");
        const bool string = entry.Key.ends_with("_S");
        EXPECT_EQ(Count(entry.Default, "%d"), count ? 1u : 0u);
        EXPECT_EQ(Count(entry.Default, "%s"), string ? 1u : 0u);
        EXPECT_EQ(Count(entry.Default, "%"), count || string ? 1u : 0u);
    }
    EXPECT_EQ(entries.back().Id, TextId::SaveFailure);
    EXPECT_TRUE(entries.back().Key.empty());
    EXPECT_TRUE(entries.back().Section.empty());
}

TEST_F(CatalogueTest, SetTextReplacesKeyedEntriesOnlyAndResetRestores) {
    SetText(TextId::message_IncorrectPath, "Falscher Pfad!");
    SetText(TextId::SaveFailure, "Speichern fehlgeschlagen");
    EXPECT_EQ(Text(TextId::message_IncorrectPath), "Falscher Pfad!");
    EXPECT_EQ(Text(TextId::SaveFailure), "Cant save file!");
    EXPECT_EQ(Text(TextId::message_RecordNotFound), "Record not found!");

    ResetCatalogue();
    EXPECT_EQ(Text(TextId::message_IncorrectPath), "Incorrect path!");
}

TEST(ExpandLineBreaksTest, ReplacesPairsLeftToRightWithoutRescanning) {
    EXPECT_EQ(ExpandLineBreaks("a##b"), "a\r\nb");
    EXPECT_EQ(ExpandLineBreaks("###"), "\r\n#");
    EXPECT_EQ(ExpandLineBreaks("####"), "\r\n\r\n");
    EXPECT_EQ(ExpandLineBreaks("x#####y"), "x\r\n\r\n#y");
    EXPECT_EQ(ExpandLineBreaks("#a#"), "#a#");
    EXPECT_EQ(ExpandLineBreaks("no breaks"), "no breaks");
    EXPECT_EQ(ExpandLineBreaks(""), "");
}

TEST(FormatTest, SubstitutesOnlyTheFirstPlaceholder) {
    EXPECT_EQ(FormatCount("Search of files:  %d files found...", 12),
              "Search of files:  12 files found...");
    EXPECT_EQ(FormatCount("%d", -3), "-3");
    EXPECT_EQ(FormatCount("100% done, %d left, %d more", 4), "100% done, 4 left, %d more");
    EXPECT_EQ(FormatCount("%s %x %n", 4), "%s %x %n");
    EXPECT_EQ(FormatString("Delete object < \"%s\" > ?", "50% off %d %s"),
              "Delete object < \"50% off %d %s\" > ?");
    EXPECT_EQ(FormatString("%d %s %s", "x"), "%d x %s");
    EXPECT_EQ(FormatString("no placeholder", "x"), "no placeholder");
}

}  // namespace
}  // namespace tomlet
