#include "core/object_hint.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalogue.h"
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
              "  *  Comments:   line one\r\nline two\r\n\r\r"
              "  *  Path, filename:   " +
                  path +
                  "\r"
                  "  *  Size:      1.500 \xD0\x9A\xD0\x91\r"
                  "  *  Attributes:   read only" +
                  (testing::OnWindows ? ", archive" : "") +
                  "\r"
                  "  *  Parameters:   /s");
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
