#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <filesystem>

#include "core/catalogue.h"
#include "core/paths.h"
#include "main_window_test_support.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {
namespace {

using testing::OnlyMessage;
using testing::QText;

class PropertiesPageTest : public ::testing::Test, public testing::MainWindowFixture {
protected:
    void SetUp() override {
        dataDir = folder.MakeFolder("data");
        Start();
        Ui().a_view_item_Editor->trigger();
    }
    void OpenProject(const TProjectRec& project) { Open(WriteProject("catalogue.tml", project)); }
    static TProjectRec ProjectIn(const std::string& dir) {
        TProjectRec project;
        project.ProjectDataDir = dir;
        return project;
    }
    std::string SavedFile() { return Window().Session().CurrentFileName(); }

    std::string dataDir;
};

TEST_F(PropertiesPageTest, TheDataDirectoryOfAFilledProjectChangesOnlyWhileItIsMissing) {
    OpenProject(ProjectIn(dataDir));
    Ui().edit_ProjectDataDirButton->trigger();
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Warning, QText(TextId::message_CantChangeProjectDataDir)));
    EXPECT_TRUE(prompts.FolderRequests.empty());

    std::filesystem::remove_all(dataDir);
    const std::string other = folder.MakeFolder("other");
    prompts.FolderAnswers.push_back(QString::fromStdString(other));
    Ui().edit_ProjectDataDirButton->trigger();
    ASSERT_EQ(prompts.FolderRequests.size(), 1u);
    EXPECT_EQ(prompts.FolderRequests[0].InitialSelection, QString::fromStdString(dataDir));
    EXPECT_TRUE(prompts.FolderRequests[0].RootFolder.isEmpty());
    EXPECT_EQ(Ui().edit_ProjectDataDir->text(), QString::fromStdString(other));
    EXPECT_EQ(Window().Session().DataDir(), other);
}

TEST_F(PropertiesPageTest, CancellingTheDataDirectoryPickerKeepsEverything) {
    OpenProject(ProjectIn(folder / "missing"));
    prompts.Messages.clear();
    Ui().edit_ProjectDataDirButton->trigger();
    ASSERT_EQ(prompts.FolderRequests.size(), 1u);
    EXPECT_EQ(prompts.FolderRequests[0].Title,
              QStringLiteral("Project data dir: ") + QString::fromStdString(folder / "missing"));
    EXPECT_EQ(Ui().edit_ProjectDataDir->text(), QString::fromStdString(folder / "missing"));
    EXPECT_EQ(Window().Session().DataDir(), folder / "missing");
}

TEST_F(PropertiesPageTest, AnEmptyDataDirectoryStartsThePickerInTheProgramFolder) {
    Ui().edit_ProjectDataDirButton->trigger();
    ASSERT_EQ(prompts.FolderRequests.size(), 1u);
    EXPECT_EQ(prompts.FolderRequests[0].InitialSelection,
              QString::fromStdString(folder.Path().string() + PathRules::Native().Separator));
}

TEST_F(PropertiesPageTest, ASplashPictureInsideTheDataDirectoryIsStoredRelative) {
    const std::string picture = folder.WriteFile("data/img/s.jpg", "picture");
    OpenProject(ProjectIn(dataDir));
    prompts.FolderAnswers.push_back(QString::fromStdString(picture));
    Ui().edit_SplashFileNameButton->trigger();
    ASSERT_EQ(prompts.FolderRequests.size(), 1u);
    EXPECT_TRUE(prompts.FolderRequests[0].IncludeFiles);
    EXPECT_EQ(prompts.FolderRequests[0].RootFolder, QString::fromStdString(dataDir));
    EXPECT_EQ(prompts.FolderRequests[0].Title,
              QStringLiteral("Project data dir:  ") + QString::fromStdString(dataDir));
    EXPECT_EQ(Ui().edit_SplashFileName->text(), QStringLiteral("img\\s.jpg"));

    // The next pick starts at the stored picture.
    prompts.FolderAnswers.push_back(QString::fromStdString(folder.WriteFile("outside.jpg", "x")));
    Ui().edit_SplashFileNameButton->trigger();
    EXPECT_EQ(prompts.FolderRequests[1].InitialSelection,
              QString::fromStdString(folder / "data/img/s.jpg"));
    EXPECT_EQ(prompts.MessageTexts(),
              QStringList{QText(TextId::message_FileNotExistOrNotContainInProjectDir)});
    EXPECT_EQ(Ui().edit_SplashFileName->text(), QStringLiteral("img\\s.jpg"));
}

TEST_F(PropertiesPageTest, TheSplashPictureNeedsAnExistingDataDirectory) {
    Ui().edit_SplashFileNameButton->trigger();
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Error, QText(TextId::message_ProjectDataDirNotExist)));
    EXPECT_TRUE(prompts.FolderRequests.empty());
}

TEST_F(PropertiesPageTest, NoProjectSplashEmptiesThePictureName) {
    TProjectRec project = ProjectIn(dataDir);
    project.SplashFileName = "img\\s.jpg";
    project.SplashShowTime = 2000;
    OpenProject(project);
    EXPECT_EQ(Ui().edit_SplashFileName->text(), QStringLiteral("img\\s.jpg"));
    EXPECT_EQ(Ui().spinedit_SplashShowTime->value(), 2000);
    Ui().button_DontShowSplahScreen->click();
    EXPECT_TRUE(Ui().edit_SplashFileName->text().isEmpty());
    Ui().a_files_item_Save->trigger();
    const TProjectRec saved = ReadProject(SavedFile());
    EXPECT_TRUE(saved.SplashFileName.empty());
    EXPECT_EQ(saved.SplashShowTime, 2000);
}

TEST_F(PropertiesPageTest, AShowTimeAboveTheRangeIsShownAndSavedAsItsBound) {
    TProjectRec project = ProjectIn(dataDir);
    project.SplashShowTime = 20000;
    OpenProject(project);
    EXPECT_EQ(Ui().spinedit_SplashShowTime->value(), 15000);
    Ui().a_files_item_Save->trigger();
    EXPECT_EQ(ReadProject(SavedFile()).SplashShowTime, 15000);
}

TEST_F(PropertiesPageTest, TheCheckBoxAndTheMenuCommandShowOneFlag) {
    QAction* command = Ui().a_options_item_AbsolutePath;
    QCheckBox* box = Ui().checkbox_AbsoluteLink;
    EXPECT_TRUE(command->isChecked());
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(box->text(), WithoutAccessLetter(command->text()));  // the letter is the menu's

    command->trigger();
    EXPECT_FALSE(command->isChecked());
    EXPECT_FALSE(box->isChecked());
    box->click();
    EXPECT_TRUE(command->isChecked());
    EXPECT_TRUE(box->isChecked());

    TProjectRec relative = ProjectIn(dataDir);
    relative.AbsolutePath = false;
    prompts.QuestionAnswers = {Answer::No};  // the flag was changed
    OpenProject(relative);
    EXPECT_FALSE(command->isChecked());
    EXPECT_FALSE(box->isChecked());
    box->click();
    Ui().a_files_item_Save->trigger();
    EXPECT_TRUE(ReadProject(SavedFile()).AbsolutePath);
}

}  // namespace
}  // namespace tomlet
