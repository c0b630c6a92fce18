#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/scoped_environment.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

const std::string FFFD = "\xEF\xBF\xBD";

TEST(TextCodecTest, CyrillicRoundTripsThrough1251) {
    const TextCodec codec(1251);
    const std::string utf8 = "Привет, Ёж!";
    const std::string bytes = codec.FromUtf8(utf8);
    EXPECT_EQ(bytes, "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xE6!");
    EXPECT_EQ(codec.ToUtf8(bytes), utf8);
}

TEST(TextCodecTest, WesternAccentsAndEuroIn1252) {
    const TextCodec codec(1252);
    EXPECT_EQ(codec.FromUtf8("café €5 Ünïcödé"),
              "caf\xE9 \x80"
              "5 \xDCn\xEF"
              "c\xF6"
              "d\xE9");
    EXPECT_EQ(codec.ToUtf8("na\xEFve \x80"), "naïve €");
}

TEST(TextCodecTest, OtherCodePagesByTheirWindowsNumbers) {
    EXPECT_EQ(TextCodec(28591).FromUtf8("é"), "\xE9");
    EXPECT_EQ(TextCodec(20866).FromUtf8("Да"), "\xE4\xC1");
    EXPECT_EQ(TextCodec(866).ToUtf8("\x8F\xE0\xA8"), "При");
    // Converters that hold a letter back for a combining mark that may follow still give it.
    EXPECT_EQ(TextCodec(1255).ToUtf8("\xF9\xEC\xE5\xED"), "שלום");
    EXPECT_EQ(TextCodec(1255).ToUtf8("\xE0\xFF\xE1"), "א" + FFFD + "ב");
}

TEST(TextCodecTest, UnmappableTextIsReplacedNotDropped) {
    const TextCodec cyrillic(1251);
    // 0x98 is the one byte CP1251 leaves unassigned.
    EXPECT_EQ(cyrillic.ToUtf8("a\x98z"), "a" + FFFD + "z");
    // A character the code page lacks becomes one '?', however many bytes it takes in UTF-8.
    EXPECT_EQ(cyrillic.FromUtf8("x日本y"), "x??y");
    EXPECT_EQ(cyrillic.FromUtf8("a\xFF\xD0"), "a??");
    EXPECT_EQ(TextCodec(1252).FromUtf8("Щ"), "?");
    // No look-alike letter: "Arger" would name another file.
    EXPECT_EQ(cyrillic.FromUtf8("Ärger"), "?rger");
    EXPECT_EQ(TextCodec(1252).ToUtf8("\x81"), FFFD);
}

TEST(TextCodecTest, ExactConversionRefusesWhatTheCodePageLacks) {
    EXPECT_EQ(TextCodec(1251).FromUtf8Exactly("Отчёт"), "\xCE\xF2\xF7\xB8\xF2");
    EXPECT_EQ(TextCodec(1251).FromUtf8Exactly("Ärger"), std::nullopt);
    EXPECT_EQ(TextCodec(1252).FromUtf8Exactly("€uro"), "\x80uro");
    EXPECT_EQ(TextCodec(1252).FromUtf8Exactly("a?b"), "a?b");
    EXPECT_EQ(TextCodec().FromUtf8Exactly("Отчёт €"), "Отчёт €");
    EXPECT_EQ(TextCodec().FromUtf8Exactly("a\xFF"), std::nullopt);
    EXPECT_EQ(TextCodec(49999).FromUtf8Exactly("abc"), "abc");
    EXPECT_EQ(TextCodec(49999).FromUtf8Exactly("abé"), std::nullopt);
}

TEST(TextCodecTest, Utf8PassesWellFormedTextAndReplacesMalformedBytes) {
    const TextCodec utf8;
    ASSERT_TRUE(utf8.IsUtf8());
    EXPECT_EQ(utf8.ToUtf8("Grüße, Мир, 日本, 😀"), "Grüße, Мир, 日本, 😀");
    EXPECT_EQ(utf8.ToUtf8("a\xFF"
                          "b"),
              "a" + FFFD + "b");
    EXPECT_EQ(utf8.ToUtf8("\xC0\xAF"), FFFD + FFFD);             // overlong '/'
    EXPECT_EQ(utf8.ToUtf8("\xED\xA0\x80"), FFFD + FFFD + FFFD);  // surrogate
    EXPECT_EQ(utf8.ToUtf8("end\xD0"), "end" + FFFD);             // cut short
    EXPECT_EQ(utf8.FromUtf8("Мир"), "Мир");
}

TEST(TextCodecTest, UnknownCodePageKeepsAsciiAndReplacesTheRest) {
    const TextCodec unknown(49999);
    EXPECT_EQ(unknown.ToUtf8("ab\xE9"), "ab" + FFFD);
    EXPECT_EQ(unknown.FromUtf8("abé"), "ab?");
}

TEST(CodePageOfCharsetTest, MapsTheCLibraryNames) {
    EXPECT_EQ(CodePageOfCharset("UTF-8"), 65001);
    EXPECT_EQ(CodePageOfCharset("utf8"), 65001);
    EXPECT_EQ(CodePageOfCharset("ANSI_X3.4-1968"), 65001);
    EXPECT_EQ(CodePageOfCharset("CP1251"), 1251);
    EXPECT_EQ(CodePageOfCharset("WINDOWS-1252"), 1252);
    EXPECT_EQ(CodePageOfCharset("IBM866"), 866);
    EXPECT_EQ(CodePageOfCharset("ISO-8859-1"), 28591);
    EXPECT_EQ(CodePageOfCharset("ISO-8859-15"), 28605);
    EXPECT_EQ(CodePageOfCharset("KOI8-R"), 20866);
    EXPECT_EQ(CodePageOfCharset("GB18030"), 54936);
    EXPECT_EQ(CodePageOfCharset("CP"), 65001);
    EXPECT_EQ(CodePageOfCharset("CP12x"), 65001);
    EXPECT_EQ(CodePageOfCharset("no such set"), 65001);
}

TEST(SystemCodePageTest, PlainAndUtf8LocalesCountAsUtf8) {
    SKIP_ON_WINDOWS("the ANSI code page does not follow the C library's locale");
    for (const char* name : {"C", "C.UTF-8"}) {
        const testing::ScopedEnvironment locale("LC_ALL", name);
        EXPECT_EQ(SystemCodePage(), 65001) << name;
    }
}

TEST(ProcessCodecTest, FollowsTheOverrideForItsScope) {
    const int before = ProcessCodec().CodePage();
    {
        const ScopedProcessCodePage cyrillic(1251);
        EXPECT_EQ(ProcessCodec().CodePage(), 1251);
        EXPECT_EQ(ProcessCodec().FromUtf8("Я"), "\xDF");
    }
    EXPECT_EQ(ProcessCodec().CodePage(), before);
}

}  // namespace
}  // namespace tomlet
