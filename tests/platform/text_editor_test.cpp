#include "platform/text_editor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "support/temp_folder.h"

namespace tomlet {
namespace {

#ifndef _WIN32

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnvironment final {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

std::string Program(const testing::TempFolder& folder, std::string_view name, bool executable) {
    const std::string path = folder.WriteFile(name, "#!/bin/sh\n");
    fs::permissions(path, executable ? fs::perms::owner_all : fs::perms::owner_read);
    return path;
}

class TextEditorChoice : public ::testing::Test {
protected:
    void SetUp() override {
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

#endif

}  // namespace
}  // namespace tomlet
