#include "core/visible_text.h"

#include <gtest/gtest.h>

#include "platform/text_codec.h"

namespace tomlet {
namespace {

TEST(VisibleTextTest, EscapesWhatCouldForgeALineOrReorderText) {
    const struct {
        std::string Text;
        std::string Shown;
    } cases[] = {
        {"plain Ärger.txt", "plain Ärger.txt"},
        {"a\r\nb\tc\x1B[2K\x7F", "a\\r\\nb\\tc\\x1B[2K\\x7F"},
        {"next\xC2\x85line\xC2\x9B", "next\\u0085line\\u009B"},
        {"line\u2028para\u2029", "line\\u2028para\\u2029"},
        {"run\u202Etxt.exe", "run\\u202Etxt.exe"},
        {"\u200E\u200F\u061C\u202A\u202B\u202C\u202D",
         "\\u200E\\u200F\\u061C\\u202A\\u202B\\u202C\\u202D"},
        {"\u2066\u2067\u2068\u2069", "\\u2066\\u2067\\u2068\\u2069"},
        {"\u200D\u2060\u202F", "\u200D\u2060\u202F"},  // joiners and spaces stay
        {"stray \xFF byte", "stray \xFF byte"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(EscapeControls(text), shown) << text;
}

// In a code page that holds them (1255 has U+200E and U+200F) they are escaped as well.
TEST(VisibleTextTest, EscapesInTheCodePageOfTheText) {
    const TextCodec hebrew(1255);
    EXPECT_EQ(EscapeControls("a\xFD"
                             "b\xFE\r",
                             hebrew),
              "a\\u200Eb\\u200F\\r");
    EXPECT_EQ(EscapeControls("\xE0\xE1", hebrew), "\xE0\xE1");
}

}  // namespace
}  // namespace tomlet
