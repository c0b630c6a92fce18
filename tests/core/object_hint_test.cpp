#include "core/object_hint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "platform/text_codec.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

TEST(ObjectHintText, DescribesTheObjectAndItsFile) {
    testing::TempFolder data;
    const std::string path = data.WriteFile("readme.txt", std::string(1536, 'x'));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    TNodeData record;
    record.Caption = "Read me";
    record.Hint = "first steps";
    record.Comments = "line one\r\nline two\r\n";
    record.Parameters = "/s";

    EXPECT_EQ(ObjectHintText(record, path),
              " - - -  Read me  - - - \r"
              "  *  Hint:   first steps\r"
              "  *  Comments:   line one\r      | line two\r\r"
              "  *  Path, filename:   " +
                  path +
                  "\r"
                  "  *  Size:      1.500 \xD0\x9A\xD0\x91\r"
                  "  *  Attributes:   read only" +
                  (testing::OnWindows ? ", archive" : "") +
                  "\r"
                  "  *  Parameters:   /s");
}

// A catalogue from an untrusted disc must not make the hint show a path other than the real one.
TEST(ObjectHintText, NoTextOfTheObjectCanForgeALabelledLine) {
    TNodeData record;
    record.Caption = "Setup\r  *  Path, filename:   D:\\setup.exe";
    record.Hint = "fine\n  *  Size:   1 KB";
    record.Comments =
        "Safe.\r\n  *  Path, filename:   D:\\setup.exe\r\n\xE2\x80\xA8  *  Attributes:   none\r\n";
    record.Parameters = "/s\r  *  Hint:   x";
    const std::string real = "/media/disc/evil.sh";

    const std::string hint = ObjectHintText(record, real);
    std::vector<std::string> labelled;
    for (size_t start = 0; start <= hint.size();) {
        const size_t end = std::min(hint.find_first_of("\r\n", start), hint.size());
        if (hint.compare(start, 3, "  *") == 0)
            labelled.push_back(hint.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(labelled.size(), 6u) << hint;
    EXPECT_EQ(labelled[2], "  *  Path, filename:   " + real);
    EXPECT_NE(hint.find("\r      |   *  Path, filename:   D:\\setup.exe"), std::string::npos)
        << hint;
}

// Nor can it reverse what the hint shows, or break a line where a rich-text view would: every
// other control character and the bidirectional controls show escaped.
TEST(ObjectHintText, BidirectionalAndOtherControlsShowEscaped) {
    TNodeData record;
    record.Caption = "run\u202Etxt.exe";
    record.Hint = "a\u2066b\u2069\u200E\tc";
    record.Comments = "one\xC2\x85two\u2029three";
    const std::string hint = ObjectHintText(record, "/media/disc/run\u202Etxt.exe");
    for (const char* shown :
         {" - - -  run\\u202Etxt.exe  - - - \r", "  *  Hint:   a\\u2066b\\u2069\\u200E\\tc\r",
          "  *  Comments:   one\r      | two\r      | three\r\r",
          "  *  Path, filename:   /media/disc/run\\u202Etxt.exe\r"})
        EXPECT_NE(hint.find(shown), std::string::npos) << shown << "\n" << hint;
}

// In a code page that holds them (1255 has U+200E and U+200F) they show escaped all the same.
TEST(ObjectHintText, ControlsOfTheCodePageShowEscaped) {
    const ScopedProcessCodePage hebrew(1255);
    TNodeData record;
    record.Caption = "\xF9\xFE\xEC";
    EXPECT_TRUE(ObjectHintText(record, "").starts_with(" - - -  \xF9\\u200F\xEC  - - - \r"));
}

TEST(ObjectHintText, EmptyValuesKeepTheirLabelsAndAVirtualObjectHasNoFile) {
    ResetCatalogue();
    SetText(TextId::hint_Hint, "Note: ");
    TNodeData record;
    record.Caption = "Group";
    record.ObjectType = otVirtualFolder;

    EXPECT_EQ(ObjectHintText(record, ""),
              " - - -  Group  - - - \r"
              "  Note:   \r"
              "  *  Comments:   \r\r"
              "  *  Path, filename:   \r"
              "  *  Size:   \r"
              "  *  Attributes:   virtual object\r"
              "  *  Parameters:   ");
    ResetCatalogue();
}

}  // namespace
}  // namespace tomlet
