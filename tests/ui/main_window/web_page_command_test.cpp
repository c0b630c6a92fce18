#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <filesystem>

#include "main_window_test_support.h"
#include "support/progress_cancel.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::ReadWholeFile;

// File > Export as web page... on the open project.
class WebPageCommandTest : public ::testing::Test, public testing::MainWindowFixture {
protected:
    // Exports into `out`, answering the question to open the page with `open`.
    void Export(const std::string& out, bool open = false) {
        prompts.FolderAnswers.push_back(QString::fromStdString(out));
        prompts.ConfirmAnswers.push_back(open);
        Ui().a_files_item_ExportWebPage->trigger();
        Idle();
    }
    // Whether a file of the page in `out` holds `text`.
    static bool PageHolds(const std::string& out, const std::string& text) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(out))
            if (entry.is_regular_file() &&
                ReadWholeFile(entry.path().string()).find(text) != std::string::npos)
                return true;
        return false;
    }
};

TEST_F(WebPageCommandTest, WritesThePageWhereTheUserChoseAndOpensItOnYesInBothViews) {
    Start();
    EXPECT_FALSE(Ui().a_files_item_ExportWebPage->isEnabled());  // no project open
    for (QAction* view : {Ui().a_view_item_Browser, Ui().a_view_item_Editor}) {
        SCOPED_TRACE(view->objectName().toStdString());
        view->trigger();
        OpenProjectIn(folder / "", 3);
        const std::string out = folder.MakeFolder(view->objectName().toStdString());
        prompts = {};
        Export(out, true);

        ASSERT_EQ(prompts.FolderRequests.size(), 1u);
        EXPECT_EQ(QFileInfo(prompts.FolderRequests[0].InitialSelection),
                  QFileInfo(QString::fromStdString(folder / "")));  // the project's folder
        EXPECT_TRUE(PageHolds(out, "object 2"));
        ASSERT_EQ(prompts.Confirmations.size(), 1);
        EXPECT_EQ(QFileInfo(shell.Opened.value(0)),
                  QFileInfo(QString::fromStdString(out + "/index.html")));
        shell.Opened.clear();
        EXPECT_TRUE(prompts.Messages.empty()) << prompts.MessageTexts().join(u'\n').toStdString();
    }
    Ui().a_files_item_CloseFile->trigger();
    Idle();
    EXPECT_FALSE(Ui().a_files_item_ExportWebPage->isEnabled());
}

TEST_F(WebPageCommandTest, ChangesNotYetSavedAreAskedAboutAndYesWritesThemFirst) {
    Start();
    Ui().a_view_item_Editor->trigger();
    const std::string project = OpenProjectIn(folder / "", 1);
    Select(Model().Tree().First());
    Ui().edit_Caption->setText(u"edited"_s);
    const std::string out = folder.MakeFolder("out");

    prompts.QuestionAnswers = {Answer::Cancel};
    Export(out);
    EXPECT_EQ(prompts.Questions.size(), 1);
    EXPECT_TRUE(prompts.FolderRequests.empty());
    EXPECT_TRUE(Window().Fields().HasEdits());

    prompts.QuestionAnswers = {Answer::Yes};
    Export(out);
    EXPECT_EQ(testing::LoadProject(project).Tree.First()->Data.Caption, "edited");
    EXPECT_TRUE(PageHolds(out, "edited"));
    EXPECT_FALSE(Window().isWindowModified());
}

TEST_F(WebPageCommandTest, CancelInTheProgressWindowLeavesNoPageAndTheWindowBusyMeanwhile) {
    Start();
    OpenProjectIn(folder / "", 100'000);
    const std::string out = folder.MakeFolder("out");
    bool busyMeanwhile = false;
    testing::CancelProgressWhenShown(Window(), [&] { busyMeanwhile = Window().Busy().IsBusy(); });
    Export(out);
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_TRUE(folder.Entries("out").empty());
    EXPECT_TRUE(prompts.Confirmations.isEmpty());
    EXPECT_TRUE(prompts.Messages.empty());
    EXPECT_TRUE(Ui().a_files_item_ExportWebPage->isEnabled());
}

}  // namespace
}  // namespace tomlet
