#include "ui/seams/shell.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <filesystem>

#include "core/object_actions.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

using testing::TempFolder;

// The real shell starts a real program, which writes down how it was started.
TEST(SystemShellTest, ExecuteStartsTheProgramWithItsQuotedPathAndTheParameters) {
    const TempFolder folder;
    const std::string dataDir = folder / "My Tools";
    const std::string program = folder / "My Tools/record args.exe";
    std::filesystem::create_directories(NativePath(dataDir));
    std::filesystem::copy_file(NativePath(ExecutableFolder() + TOMLET_RECORD_COMMAND_LINE),
                               NativePath(program));
    const std::string record = folder / "record.txt";
    const testing::ScopedEnvironment recordFile("TOMLET_RECORD_FILE", record);

    TNodeData object;
    object.ObjectType = otExecuteFile;
    object.ObjectAction = oaExecute;
    object.PathFileName = "record args.exe";
    object.Parameters = "-x \"two words\" /s";
    ActionContext context;
    context.DataDir = dataDir;
    SystemShell shell;
    EXPECT_EQ(Perform(shell, PlanObjectAction(object, OwnAction, context)), ShellOutcome{});

    QElapsedTimer waited;
    waited.start();
    while (!FileExists(record) && waited.elapsed() < 30000)
        QTest::qWait(50);
    if (testing::OnWindows)
        EXPECT_EQ(testing::ReadWholeFile(record), '"' + program + "\" -x \"two words\" /s");
    else
        EXPECT_EQ(testing::ReadWholeFile(record), "-x\ntwo words\n/s\n");
}

// A program that is not there, or no program at all, fails with the system's reason.
TEST(SystemShellTest, AProgramThatCannotStartSaysWhy) {
    const TempFolder folder;
    const QString text = QString::fromStdString(folder.WriteFile("text.exe", "not a program"));
    SystemShell shell;
    const ShellOutcome outcomes[] = {
        shell.StartProgram(QString::fromStdString(folder / "missing.exe"), {}),
        shell.StartProgram(text, {}),
        shell.StartCommandLine(u'"' + text + u'"'),
    };
    for (const ShellOutcome& outcome : outcomes) {
        EXPECT_EQ(outcome.What, ShellOutcome::Kind::Failed);
        EXPECT_FALSE(outcome.Reason.isEmpty());
    }
}

}  // namespace
}  // namespace tomlet
