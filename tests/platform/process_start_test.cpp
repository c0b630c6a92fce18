#include "platform/process_start.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

// A real program, in a folder whose name holds a blank, writes down how it was started.
TEST(ProcessStartTest, ACommandLineStartsItsProgramWithTheParametersAsWritten) {
    const testing::TempFolder folder;
    const std::string program = folder / "My Tools/record args.exe";
    std::filesystem::create_directories(NativePath(folder / "My Tools"));
    std::filesystem::copy_file(NativePath(ExecutableFolder() + TOMLET_RECORD_COMMAND_LINE),
                               NativePath(program));
    const std::string record = folder / "record.txt";
    const testing::ScopedEnvironment recordFile("TOMLET_RECORD_FILE", record);

    const std::string line = '"' + program + "\" -x \"two words\"  \"\"\"quoted\"\"\" /s";
    EXPECT_EQ(StartDetachedCommandLine(line), "");

    for (int waited = 0; !FileExists(record) && waited < 30000; waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (testing::OnWindows)
        EXPECT_EQ(testing::ReadWholeFile(record), line);
    else
        EXPECT_EQ(testing::ReadWholeFile(record), "-x\ntwo words\n\"quoted\"\n/s\n");
}

// A program that cannot be started says why, in the system's words.
TEST(ProcessStartTest, AProgramThatCannotStartGivesTheSystemsReason) {
    const testing::TempFolder folder;
    const std::string text = folder.WriteFile("not a program.exe", "text");
    for (const std::string& program : {folder / "missing.exe", text})
        EXPECT_NE(StartDetachedCommandLine('"' + program + '"'), "") << program;
}

}  // namespace
}  // namespace tomlet
