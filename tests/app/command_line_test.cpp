#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/version.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace tomlet {
namespace {

// --help and --version are answered before the window system is reached: over SSH and in
// scripts there is no display to connect to. Qt's own options of every window program pass.
TEST(CommandLineTest, HelpAndVersionNeedNoDisplay) {
    const testing::TempFolder folder;
    const std::string output = folder / "output.txt";
    std::string version = GetVersionText();
    version.erase(version.find_last_not_of(" \t\r\n") + 1);
    version.erase(0, version.find_first_not_of(" \t\r\n"));
    const struct {
        std::vector<std::string> Options;
        std::string Expected;
    } cases[] = {
        {{"--version"}, "Tomlet " + version},
        {{"--help"}, "Usage: "},
        {{"-h"}, "Usage: "},
        {{"-platform", "offscreen", "-style=fusion", "-reverse", "--version"}, "Tomlet " + version},
    };
    for (const auto& [options, expected] : cases) {
        std::vector<std::string> arguments = {
            "-c",
            R"(out=$1; shift; exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$0" "$@" )"
            R"(> "$out" 2>&1)",
            testing::BuiltProgram("tomlet"), output};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const int code = testing::RunProgram("/bin/sh", arguments);
        const std::string said = testing::ReadWholeFile(output);
        EXPECT_EQ(code, 0) << options.front() << ": " << said;
        EXPECT_NE(said.find(expected), std::string::npos) << options.front() << ": " << said;
    }
}

}  // namespace
}  // namespace tomlet
