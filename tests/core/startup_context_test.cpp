#include "core/startup_context.h"

#include <gtest/gtest.h>

#include "core/paths.h"

namespace tomlet {
namespace {

// Tomlet started on its own shows the program folder's disc; started on a named project, that
// project is the default project of a disc in its own folder. The program's files stay with it.
TEST(StartupContextTest, TheDiscIsTheProgramFolderOrTheNamedProjectsFolder) {
    const std::string sep(1, PathRules::Native().Separator);
    const std::string program = sep + "opt" + sep + "disc" + sep;
    const StartupContext alone = MakeStartupContext(sep + "opt" + sep + "disc");
    EXPECT_EQ(alone.ProgramFolder, program);
    EXPECT_EQ(alone.DataFolder, program);
    EXPECT_EQ(alone.DiscFolder, program);
    EXPECT_EQ(alone.DefaultProjectPath(), program + "default.tml");

    const std::string named = sep + "home" + sep + "discs" + sep + "suite.tml";
    const StartupContext onProject = MakeStartupContext(program, named);
    EXPECT_EQ(onProject.DataFolder, program);
    EXPECT_EQ(onProject.DiscFolder, sep + "home" + sep + "discs" + sep);
    EXPECT_EQ(onProject.DefaultProjectPath(), named);
    EXPECT_EQ(MakeStartupContext(program, sep + "suite.tml").DiscFolder, sep);
}

}  // namespace
}  // namespace tomlet
