#include <gtest/gtest.h>

#include <string>

#include "core/version.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace tomlet {
namespace {

// --help and --version are answered before the window system is reached: over SSH and in
// scripts there is no display to connect to.
TEST(CommandLineTest, HelpAndVersionNeedNoDisplay) {
    const testing::TempFolder folder;
    const std::string output = folder / "output.txt";
    std::string version = GetVersionText();
    version.erase(version.find_last_not_of(" \t\r\n") + 1);
    version.erase(0, version.find_first_not_of(" \t\r\n"));
    const struct {
        const char* Option;
        std::string Expected;
    } cases[] = {
        {"--version", "Tomlet " + version},
        {"--help", "Usage: "},
    };
    for (const auto& [option, expected] : cases) {
        const int code = testing::RunProgram(
            "/bin/sh", {"-c",
                        R"(exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$0" "$1" )"
                        R"(> "$2" 2>&1)",
                        testing::BuiltProgram("tomlet"), option, output});
        const std::string said = testing::ReadWholeFile(output);
        EXPECT_EQ(code, 0) << option << ": " << said;
        EXPECT_NE(said.find(expected), std::string::npos) << option << ": " << said;
    }
}

}  // namespace
}  // namespace tomlet
