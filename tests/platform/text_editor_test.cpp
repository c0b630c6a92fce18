#include "platform/text_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

namespace fs = std::filesystem;

using testing::ScopedEnvironment;

std::string Program(const testing::TempFolder& folder, std::string_view name, bool executable) {
    const std::string path = folder.WriteFile(name, "#!/bin/sh\n");
    fs::permissions(path, executable ? fs::perms::owner_all : fs::perms::owner_read);
    return path;
}

class TextEditorChoice : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_ON_WINDOWS("Windows opens texts with notepad.exe; no editor is chosen from the PATH");
        Program(first, "gedit", false);
        Program(second, "mousepad", true);
        Program(second, "gedit", true);
    }

    std::string SearchPath() const { return first.Path().string() + "::" + second.Path().string(); }

    testing::TempFolder first;
    testing::TempFolder second;
};

TEST_F(TextEditorChoice, FirstExecutableProgramInListOrder) {
    EXPECT_EQ(FirstProgramOnPath(SearchPath(), {"kate", "gedit", "mousepad"}), "gedit");
    EXPECT_EQ(FirstProgramOnPath(first.Path().string(), {"gedit", "mousepad"}), "");
    EXPECT_EQ(FirstProgramOnPath("", {"sh"}), "");
}

TEST_F(TextEditorChoice, VisualUnlessItNeedsATerminal) {
    const ScopedEnvironment path("PATH", SearchPath());
    {
        const ScopedEnvironment visual("VISUAL", "code --wait");
        EXPECT_EQ(TextEditorCommand(), "code --wait");
    }
    {
        const ScopedEnvironment visual("VISUAL", " /usr/bin/vim -p");
        EXPECT_EQ(TextEditorCommand(), "gedit");
    }
    const ScopedEnvironment visual("VISUAL", "");
    EXPECT_EQ(TextEditorCommand(), "gedit");
}

TEST_F(TextEditorChoice, DesktopOpenerWhenNoEditorIsInstalled) {
    const ScopedEnvironment path("PATH", first.Path().string());
    const ScopedEnvironment visual("VISUAL", "nano");
    EXPECT_EQ(TextEditorCommand(), "xdg-open");
}

}  // namespace
}  // namespace tomlet
