#include "ui/export/web_page_export.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>

#include "core/catalogue.h"
#include "support/fake_prompts.h"
#include "support/fake_shell.h"
#include "support/project_files.h"
#include "support/temp_folder.h"
#include "support/tree_records.h"
#include "ui/base/qt_text.h"

namespace tomlet {
namespace {

using testing::FakePrompts;
using testing::FakeShell;

class WebPageExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ObjectTree tree;
        tree.Append(nullptr, testing::Record("A"));
        testing::SaveProject(disc / "default.tml", {}, tree);
        request.ProjectFile = disc / "default.tml";
        request.DiscFolder = disc / "";
        request.OutputFolder = disc / "";
        request.Codec = ProcessCodec();
    }

    void Export(const std::function<bool()>& cancelled = {}) {
        ExportWebPage(window, request, prompts, shell, [&](const WebPageRequest& chosen) {
            SilentProgress silent;
            return WriteWebPage(chosen, silent, silent, cancelled);
        });
    }
    bool Written() const { return std::filesystem::exists(disc.Path() / "index.html"); }

    testing::TempFolder disc;
    WebPageRequest request;
    QWidget window;
    FakePrompts prompts;
    FakeShell shell;
};

TEST_F(WebPageExportTest, ProposesTheProjectsFolderAndOpensThePageOnYes) {
    prompts.FolderAnswers = {ToQString(disc / "")};
    prompts.ConfirmAnswers = {true};
    Export();
    ASSERT_EQ(prompts.FolderRequests.size(), 1u);
    EXPECT_EQ(prompts.FolderRequests[0].InitialSelection, ToQString(disc / ""));
    EXPECT_TRUE(Written());
    EXPECT_EQ(shell.Opened, QStringList{ToQString(disc / "index.html")});
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(WebPageExportTest, WritesNothingWhenThePickerOrTheProgressIsCancelled) {
    Export();  // no folder chosen
    prompts.FolderAnswers = {ToQString(disc / "")};
    Export([] { return true; });
    EXPECT_FALSE(Written());
    EXPECT_TRUE(prompts.Confirmations.isEmpty());
    EXPECT_TRUE(prompts.Messages.empty());
    EXPECT_TRUE(shell.Untouched());
}

TEST_F(WebPageExportTest, SaysWhyNothingWasWritten) {
    disc.WriteFile("index.html", "someone's page");
    prompts.FolderAnswers = {ToQString(disc / "")};
    Export();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Kind, MessageKind::Error);
    EXPECT_TRUE(prompts.Messages[0].Text.startsWith(ToQString(Text(TextId::SaveFailure))));
    EXPECT_TRUE(prompts.Messages[0].Text.contains(QStringLiteral("was not written by Tomlet")));
    EXPECT_EQ(testing::ReadWholeFile(disc / "index.html"), "someone's page");
    EXPECT_TRUE(shell.Untouched());
}

}  // namespace
}  // namespace tomlet
