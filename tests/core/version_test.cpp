#include "core/version.h"

#include <gtest/gtest.h>

namespace tomlet {
namespace {

TEST(VersionTextTest, CaptionAndAboutLinesOfAVersion) {
    const ProgramVersion version{0, 9, 0, 109};
    EXPECT_EQ(VersionLine(version), "ver. 0.9.0  build 109");
    EXPECT_EQ(VersionText(version), "ver. 0.9.0  build 109  beta");
    EXPECT_EQ(VersionText(ProgramVersion{12, 3, 45, 6789}), "ver. 12.3.45  build 6789  beta");
    EXPECT_EQ(VersionText(std::nullopt), "  beta");
}

TEST(VersionTextTest, TheRunningProgramCarriesTheBuildsVersion) {
    const auto built = BuiltVersion();
    ASSERT_TRUE(built.has_value());
    EXPECT_EQ(built->Build, TOMLET_VERSION_BUILD);
    EXPECT_EQ(GetVersionText(), VersionText(built));
}

}  // namespace
}  // namespace tomlet
