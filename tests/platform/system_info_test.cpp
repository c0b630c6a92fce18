#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <string>

namespace tomlet {
namespace {

std::string Line(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                 std::uint32_t build, std::string servicePack = {}) {
    return WindowsVersionLine({platform, major, minor, build, std::move(servicePack)});
}

TEST(WindowsVersionLineTest, NamesTheClassicSystems) {
    EXPECT_EQ(Line(PlatformWin32s, 3, 10, 0), "Windows 3.11");
    EXPECT_EQ(Line(PlatformWin32Windows, 4, 0, 950), "Windows 95  4.0 (Build 950) ");
    EXPECT_EQ(Line(PlatformWin32Windows, 4, 10, 1998, " "), "Windows 98  4.10 (Build 1998)  ");
    EXPECT_EQ(Line(PlatformWin32Windows, 4, 10, 2222, " A "), "Windows 98  4.10 SE (Build 2222)");
    EXPECT_EQ(Line(PlatformWin32Windows, 4, 90, 3000, " A"), "Windows ME  4.90 (Build 3000)  A");
    EXPECT_EQ(Line(PlatformWin32NT, 4, 0, 1381, "Service Pack 6"),
              "Windows NT  4.0 (Build 1381) Service Pack 6");
    EXPECT_EQ(Line(PlatformWin32NT, 5, 0, 2195, "Service Pack 4"),
              "Windows 2000  5.0 (Build 2195) Service Pack 4");
    EXPECT_EQ(Line(PlatformWin32NT, 5, 1, 2600, "Service Pack 3"),
              "Windows XP  5.1 (Build 2600) Service Pack 3");
}

TEST(WindowsVersionLineTest, NamesTheSystemsAfterXpByVersionAndBuild) {
    EXPECT_EQ(Line(PlatformWin32NT, 6, 0, 6002, "Service Pack 2"),
              "Windows Vista  6.0 (Build 6002) Service Pack 2");
    EXPECT_EQ(Line(PlatformWin32NT, 6, 1, 7601, "Service Pack 1"),
              "Windows 7  6.1 (Build 7601) Service Pack 1");
    EXPECT_EQ(Line(PlatformWin32NT, 6, 2, 9200), "Windows 8  6.2 (Build 9200) ");
    EXPECT_EQ(Line(PlatformWin32NT, 6, 3, 9600), "Windows 8.1  6.3 (Build 9600) ");
    EXPECT_EQ(Line(PlatformWin32NT, 10, 0, 19045), "Windows 10  10.0 (Build 19045) ");
    EXPECT_EQ(Line(PlatformWin32NT, 10, 0, 21999), "Windows 10  10.0 (Build 21999) ");
    EXPECT_EQ(Line(PlatformWin32NT, 10, 0, 22000), "Windows 11  10.0 (Build 22000) ");
}

TEST(WindowsVersionLineTest, AnythingNoRuleNamesIsUnknown) {
    EXPECT_EQ(Line(PlatformWin32Windows, 3, 95, 100), "Windows ??");
    EXPECT_EQ(Line(PlatformWin32NT, 6, 4, 9800), "Windows ??");
    EXPECT_EQ(Line(PlatformWin32NT, 11, 0, 30000), "Windows ??");
    EXPECT_EQ(Line(3, 5, 0, 1), "Windows ??");
}

TEST(WindowsVersionLineTest, KeepsTheWholeBuildAndCutsALongServicePack) {
    EXPECT_EQ(Line(PlatformWin32NT, 5, 1, 4294967295u), "Windows XP  5.1 (Build 4294967295) ");
    const std::string line = Line(PlatformWin32NT, 5, 1, 1, std::string(200, 'x'));
    EXPECT_EQ(line, "Windows XP  5.1 (Build 1) " + std::string(128, 'x'));
}

TEST(UnixVersionLineTest, PutsTheKernelAfterTheDistribution) {
    EXPECT_EQ(UnixVersionLine("Debian GNU/Linux 12 (bookworm)", "Linux", "6.1.0-18-amd64"),
              "Debian GNU/Linux 12 (bookworm)  (Linux 6.1.0-18-amd64)");
    EXPECT_EQ(UnixVersionLine("", "Linux", "6.1.0-18-amd64"), "Linux 6.1.0-18-amd64");
}

TEST(UnixVersionLineTest, ReadsThePrettyNameOfOsRelease) {
    EXPECT_EQ(OsReleasePrettyName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                                  "(bookworm)\"\nVERSION_ID=\"12\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME='Tiny \"Linux\"'"), "Tiny \"Linux\"");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=\"Say \\\"hi\\\"\""), "Say \"hi\"");
    EXPECT_EQ(OsReleasePrettyName("PRETTY_NAME=Plain\r\n"), "Plain");
    EXPECT_EQ(OsReleasePrettyName("NAME=Nameless\n"), "");
}

TEST(MemoryStatusTest, ReadsTotalAndLoadFromMeminfo) {
    const auto status = MemoryStatusFromMeminfo(
        "MemTotal:         523744 kB\nMemFree:           10000 kB\nMemAvailable:     225210 kB\n");
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->TotalPhysicalBytes, 523744ull * 1024);
    EXPECT_EQ(status->LoadPercent, 57u);
}

TEST(MemoryStatusTest, OlderKernelsCountFreeMemoryAndCaches) {
    const auto status = MemoryStatusFromMeminfo(
        "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 100 kB\nSwapCached: 999 kB\n");
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->LoadPercent, 75u);
    EXPECT_FALSE(MemoryStatusFromMeminfo("MemFree: 100 kB\n").has_value());
    EXPECT_FALSE(MemoryStatusFromMeminfo("").has_value());
}

TEST(MemoryStatusTest, ThisMachineHasMemory) {
    const auto status = QueryMemoryStatus();
    ASSERT_TRUE(status.has_value());
    EXPECT_GT(status->TotalPhysicalBytes, 16ull * 1024 * 1024);
    EXPECT_LE(status->LoadPercent, 100u);
    EXPECT_EQ(MemoryLoadText(57), "57 %");
}

TEST(DescriptionTest, FourLinesAndOneMorePerBuildFlag) {
    const auto plain = DescriptionLines(0);
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0], "Beta-version");
    EXPECT_EQ(plain[1], "");

    const auto flagged = DescriptionLines(vfSpecialBuild | vfDebug | vfPrivateBuild | vfPreRelease);
    ASSERT_EQ(flagged.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(flagged.begin() + 4, flagged.end()),
              (std::vector<std::string>{"Debug version", "PRE RELEASE", "Private build",
                                        "Special build"}));
    EXPECT_EQ(DescriptionLines(0x10 | 0x04).size(), 4u);  // flags without a line of their own
}

TEST(ExecutableVersionTest, IsTheVersionTheBuildSet) {
    const auto version = ExecutableFileVersion();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->Major, TOMLET_VERSION_MAJOR);
    EXPECT_EQ(version->Minor, TOMLET_VERSION_MINOR);
    EXPECT_EQ(version->Release, TOMLET_VERSION_RELEASE);
    EXPECT_EQ(version->Build, TOMLET_VERSION_BUILD);
#ifdef NDEBUG
    EXPECT_EQ(version->Flags & vfDebug, 0u);
#else
    EXPECT_EQ(version->Flags & vfDebug, vfDebug);
#endif
}

TEST(OperatingSystemLineTest, NamesThisSystem) {
    const std::string line = OperatingSystemLine();
#ifdef _WIN32
    EXPECT_EQ(line.rfind("Windows ", 0), 0u);
    EXPECT_NE(line, "Windows ??");
#else
    EXPECT_NE(line.find("Linux"), std::string::npos) << line;
#endif
}

}  // namespace
}  // namespace tomlet
