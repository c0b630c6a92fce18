#include "core/wildcard.h"

#include <gtest/gtest.h>

namespace tomlet {
namespace {

bool Match(std::string_view mask, std::string_view name) {
    return Wildcard(mask).Matches(name);
}

TEST(WildcardTest, StarTakesAnyRunAndQuestionMarkExactlyOne) {
    EXPECT_TRUE(Match("*.exe", "setup.exe"));
    EXPECT_TRUE(Match("*.exe", ".exe"));
    EXPECT_FALSE(Match("*.exe", "setup.exe.bak"));
    EXPECT_FALSE(Match("*.htm", "index.html"));
    EXPECT_TRUE(Match("s*p*.e?e", "setup.exe"));
    EXPECT_TRUE(Match("*a*b", "xaxbxab"));
    EXPECT_FALSE(Match("*a*b", "xaxbxa"));
    EXPECT_TRUE(Match("disk?.rar", "disk1.rar"));
    EXPECT_FALSE(Match("disk?.rar", "disk.rar"));
    EXPECT_FALSE(Match("disk?.rar", "disk12.rar"));
    EXPECT_TRUE(Match("**.txt", "a.txt"));
    EXPECT_TRUE(Match("a*", "a"));
}

TEST(WildcardTest, LettersMatchEitherCase) {
    EXPECT_TRUE(Match("*.exe", "SETUP.EXE"));
    EXPECT_TRUE(Match("*.EXE", "setup.Exe"));
    EXPECT_TRUE(Match("ReadMe.*", "README.TXT"));
    EXPECT_FALSE(Match("*.ex_", "setup.exe"));
    // Only A to Z fold: '[' and '{' lie just after 'Z' and 'z'.
    EXPECT_FALSE(Match("[", "{"));
}

TEST(WildcardTest, LettersBeyondAsciiMatchEitherCaseAsSearchFoldsThem) {
    // "отчёт.*" finds "Отчёт.txt" and "ОТЧЁТ.TXT"; "я*" does not find "а".
    EXPECT_TRUE(Match("\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.*",
                      "\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82.txt"));
    EXPECT_TRUE(Match("\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.*",
                      "\xD0\x9E\xD0\xA2\xD0\xA7\xD0\x81\xD0\xA2.TXT"));
    EXPECT_FALSE(Match("\xD1\x8F*", "\xD0\xB0"));
    // "п*.txt" finds "Проект.txt" in code page 1251 too, through its own table.
    const TextCodec windows1251(1251);
    EXPECT_TRUE(Wildcard("\xEF*.txt", windows1251).Matches("\xCF\xF0\xEE\xE5\xEA\xF2.txt"));
    EXPECT_FALSE(Wildcard("\xEF*.txt", windows1251).Matches("\xD0\xF0.txt"));
}

TEST(WildcardTest, StarDotStarMatchesEveryNameAndStarDotOnlyNamesWithoutExtension) {
    for (const char* name : {"readme", "a.txt", ".hidden", "archive.tar.gz", "x."}) {
        EXPECT_TRUE(Match("*.*", name)) << name;
        EXPECT_TRUE(Match("*", name)) << name;
    }
    EXPECT_TRUE(Match("*.", "readme"));
    EXPECT_TRUE(Match("*.", "Makefile"));
    EXPECT_FALSE(Match("*.", "a.txt"));
    EXPECT_FALSE(Match("*.", ".profile"));
    EXPECT_TRUE(Match("read*.", "readme"));
    EXPECT_FALSE(Match("read*.", "notes"));
}

TEST(WildcardTest, TrailingDotStarAlsoMatchesTheBareName) {
    EXPECT_TRUE(Match("readme.*", "readme"));
    EXPECT_TRUE(Match("readme.*", "readme.txt"));
    EXPECT_TRUE(Match("readme.*", "readme.1st.txt"));
    EXPECT_FALSE(Match("readme.*", "readme2"));
    EXPECT_FALSE(Match("readme.*", "readmetxt"));
}

TEST(WildcardTest, EmptyOrUnmatchableMasksFindNothing) {
    EXPECT_FALSE(Match("", "a.txt"));
    EXPECT_FALSE(Match(".", "a"));
    EXPECT_FALSE(Match("sub\\*.txt", "a.txt"));
}

TEST(WildcardTest, QuestionMarkTakesOneWholeUtf8Character) {
    // "Я.txt" and "日.txt": one character of two and of three bytes.
    EXPECT_TRUE(Match("?.txt", "\xD0\xAF.txt"));
    EXPECT_TRUE(Match("?.txt", "\xE6\x97\xA5.txt"));
    EXPECT_FALSE(Match("??.txt", "\xD0\xAF.txt"));
    EXPECT_TRUE(Match("*\xD0\xAF*",
                      "a\xD0\xAF"
                      "b"));
    // In a single-byte code page every byte is a character: "ЯЖ" in Windows-1251.
    const TextCodec windows1251(1251);
    EXPECT_TRUE(Wildcard("??.txt", windows1251).Matches("\xDF\xC6.txt"));
    EXPECT_FALSE(Wildcard("?.txt", windows1251).Matches("\xD0\xAF.txt"));
    // A broken sequence is taken byte by byte.
    EXPECT_TRUE(Match("??.txt",
                      "\xD0"
                      "a.txt"));
}

}  // namespace
}  // namespace tomlet
