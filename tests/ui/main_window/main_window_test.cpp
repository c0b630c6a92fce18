#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <filesystem>

#include "core/catalogue.h"
#include "core/limits.h"
#include "main_window_test_support.h"
#include "platform/text_codec.h"
#include "support/held_ctrl.h"
#include "support/project_bytes.h"
#include "support/project_files.h"
#include "support/tree_records.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {
namespace {

using testing::OnlyMessage;
using testing::QText;
using testing::VersionText;

TProjectRec SampleProject(const std::string& dataDir) {
    TProjectRec project;
    project.ProjectDataDir = dataDir;
    project.ProjectName = "<b>Demo</b> & disc";
    project.ProjectName2 = "second line";
    project.ProjectDescription = "About\r\nthe disc\r\n";
    return project;
}

class MainWindowTest : public ::testing::Test, public testing::MainWindowFixture {
protected:
    int Objects() { return Model().Tree().Count(); }
    std::string DataDir() const { return folder.MakeFolder("data"); }
    // Starts the window and opens catalogue.tml, the sample project with three objects.
    std::string OpenCatalogueInBrowser() {
        const std::string path = WriteProject("catalogue.tml", SampleProject(DataDir()));
        Start();
        Open(path);
        return path;
    }
    std::string OpenCatalogueInEditor() {
        const std::string path = WriteProject("catalogue.tml", SampleProject(DataDir()));
        Start();
        Ui().a_view_item_Editor->trigger();
        Open(path);
        return path;
    }
};

TEST_F(MainWindowTest, StartsInTheBrowserWithAnEmptyProjectWhenNoFilesExist) {
    Start();
    EXPECT_TRUE(Window().IsBrowserView());
    EXPECT_TRUE(Ui().a_view_item_Browser->isChecked());
    EXPECT_FALSE(Ui().a_view_item_Editor->isChecked());
    EXPECT_EQ(Objects(), 0);
    EXPECT_EQ(ShownTitle(), QStringLiteral("Tomlet   ") + VersionText());
    EXPECT_TRUE(prompts.Messages.empty());
    EXPECT_FALSE(Ui().a_files_item_Save->isEnabled());
    EXPECT_FALSE(Ui().menu_Operations->menuAction()->isVisible());
    EXPECT_FALSE(Ui().a_files_item_New->isVisible());
    EXPECT_EQ(Window().focusWidget(), Ui().TreeView);
}

// The title lines show the names as they are, markup and all.
TEST_F(MainWindowTest,
       ShowsTheDefaultProjectOfTheCurrentDirectoryWithoutNamingItUntilTheFirstCommand) {
    WriteProject("default.tml", SampleProject(DataDir()));
    Start();
    EXPECT_EQ(Objects(), 3);
    EXPECT_EQ(Ui().TreeView->model()->index(0, 0).data().toString(), QStringLiteral("object 0"));
    EXPECT_EQ(Ui().label_BrowserProjectName->text(), QStringLiteral("<b>Demo</b> & disc"));
    EXPECT_EQ(Ui().label_BrowserProjectName->textFormat(), Qt::PlainText);
    EXPECT_EQ(Ui().label_BrowserProjectName2->text(), QStringLiteral("second line"));
    EXPECT_EQ(Ui().memo_BrowserProjectDescription->toPlainText(),
              QStringLiteral("About\nthe disc"));
    EXPECT_EQ(ShownTitle(), QStringLiteral("Tomlet   ") + VersionText());
    EXPECT_TRUE(prompts.Messages.empty());

    Ui().a_view_item_Editor->trigger();
    EXPECT_EQ(ShownTitle(), QStringLiteral("Tomlet EDITOR  ") + VersionText() +
                                QStringLiteral("    -   default.tml"));
    EXPECT_EQ(Objects(), 3);
    EXPECT_EQ(Ui().EditPageControl->currentWidget(), Ui().tabsheet_ProjectProperties);
    EXPECT_TRUE(Ui().menu_Operations->menuAction()->isVisible());
    EXPECT_TRUE(Ui().a_files_item_Save->isVisible());
    EXPECT_TRUE(Ui().mSeparator1->isVisible());
}

TEST_F(MainWindowTest, SelectingAnObjectShowsItsCommentsInTheBrowser) {
    WriteProject("default.tml", SampleProject(DataDir()));
    Start();
    TreeView().SelectNode(Model().Tree().TopLevel()[1]);
    EXPECT_EQ(Ui().memo_BrowserComments->toPlainText(), QStringLiteral("comments of object 1"));
    EXPECT_EQ(TreeView().SelectedNode(), Model().Tree().TopLevel()[1]);
}

TEST_F(MainWindowTest, ASwitchWithCtrlEmptiesTheProjectAndForgetsItsFile) {
    OpenCatalogueInBrowser();
    ASSERT_EQ(Objects(), 3);
    {
        const testing::HeldCtrl ctrl(Window());
        Ui().a_view_item_Editor->trigger();
    }
    Idle();

    EXPECT_TRUE(Window().IsEditorView());
    EXPECT_EQ(Objects(), 0);
    EXPECT_TRUE(Window().Session().CurrentFileName().empty());
    EXPECT_TRUE(Window().Session().DataDir().empty());
    EXPECT_TRUE(Ui().edit_ProjectName->text().isEmpty());
    EXPECT_TRUE(Ui().checkbox_AbsoluteLink->isChecked());
    EXPECT_EQ(Ui().spinedit_SplashShowTime->value(), 500);
    EXPECT_FALSE(Ui().a_files_item_Save->isEnabled());
    EXPECT_EQ(ShownTitle(), QStringLiteral("Tomlet EDITOR  ") + VersionText() +
                                QStringLiteral("    -   new project"));
}

TEST_F(MainWindowTest, ClosingInTheEditorShowsTheBrowserAndASecondCloseEnds) {
    Start();
    Window().show();
    Ui().a_view_item_Editor->trigger();
    EXPECT_FALSE(Window().close());
    EXPECT_TRUE(Window().IsBrowserView());
    EXPECT_TRUE(Window().isVisible());
    Ui().a_files_item_Exit->trigger();
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(MainWindowTest, NewWithTheFolderPickerCancelledLeavesAnEmptyUnsavableProject) {
    OpenCatalogueInEditor();
    ShowPage(Ui().tabsheet_Data);
    Ui().a_files_item_New->trigger();
    Idle();

    ASSERT_EQ(prompts.FolderRequests.size(), 1u);
    EXPECT_EQ(prompts.FolderRequests[0].Title, QStringLiteral("Project data dir: "));
    EXPECT_FALSE(prompts.FolderRequests[0].IncludeFiles);
    EXPECT_EQ(Ui().EditPageControl->currentWidget(), Ui().tabsheet_ProjectProperties);
    EXPECT_EQ(Objects(), 0);
    EXPECT_TRUE(Ui().edit_ProjectDataDir->text().isEmpty());
    EXPECT_TRUE(Window().Session().DataDir().empty());
    EXPECT_TRUE(Ui().a_options_item_AbsolutePath->isChecked());
    EXPECT_EQ(Ui().spinedit_SplashShowTime->value(), 500);
    EXPECT_FALSE(Ui().a_files_item_Save->isEnabled());
    EXPECT_FALSE(Ui().a_files_item_SaveAS->isEnabled());
    EXPECT_TRUE(ShownTitle().endsWith(QStringLiteral("    -   new project")));

    // What the question before replacing it would offer to save, Save and Save as can save.
    QTest::keyClicks(Ui().edit_ProjectName, QStringLiteral("Named"));
    Idle();
    EXPECT_TRUE(Ui().a_files_item_Save->isEnabled());
    EXPECT_TRUE(Ui().a_files_item_SaveAS->isEnabled());
}

TEST_F(MainWindowTest, SaveOfAFileDeletedMeanwhileAsksForANewName) {
    std::filesystem::remove(OpenCatalogueInEditor());
    const std::string renamed = folder / "renamed.tml";
    prompts.SaveAnswers.push_back(QString::fromStdString(renamed));
    Ui().a_files_item_Save->trigger();

    EXPECT_EQ(prompts.FileDialogTitles,
              (QStringList{QStringLiteral("Open project"), QStringLiteral("Save project")}));
    EXPECT_EQ(Window().Session().CurrentFileName(), renamed);
    EXPECT_EQ(ReadProject(renamed).ProjectName, "<b>Demo</b> & disc");
    EXPECT_TRUE(ShownTitle().endsWith(QStringLiteral("    -   renamed.tml")));
}

TEST_F(MainWindowTest, SaveWritesTheControlsAndTheTreeToTheOpenFile) {
    const std::string path = OpenCatalogueInEditor();
    Ui().edit_ProjectName2->setText(QStringLiteral("Вторая строка"));
    Ui().memo_ProjectDescription->setPlainText(QStringLiteral("one\ntwo"));
    Model().DeleteObjectTree(Model().Tree().TopLevel()[0]);

    Idle();
    Ui().a_files_item_Save->trigger();

    const TProjectRec saved = ReadProject(path);
    EXPECT_EQ(saved.ProjectName, "<b>Demo</b> & disc");
    EXPECT_EQ(saved.ProjectName2, "Вторая строка");
    EXPECT_EQ(saved.ProjectDescription, "one\r\ntwo\r\n");
    EXPECT_TRUE(prompts.FileDialogTitles.count() == 1);
    Ui().a_view_item_Browser->trigger();
    EXPECT_EQ(Objects(), 2);
    EXPECT_EQ(Model().Tree().First()->Data.Caption, "object 1");
}

TEST_F(MainWindowTest, AFailedSaveAsSaysSoAndKeepsTheFileNameCaptionAndMark) {
    const std::string path = OpenCatalogueInEditor();
    Ui().edit_ProjectName->setText(QStringLiteral("renamed"));
    const QString caption = ShownTitle();
    const std::string unreachable = folder / "missing-folder/new.tml";
    prompts.SaveAnswers.push_back(QString::fromStdString(unreachable));
    Idle();
    Ui().a_files_item_SaveAS->trigger();

    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Kind, MessageKind::Error);
    EXPECT_TRUE(prompts.Messages[0].Text.startsWith(QStringLiteral("Cant save file!")));
    EXPECT_FALSE(std::filesystem::exists(unreachable));
    EXPECT_EQ(Window().Session().CurrentFileName(), path);
    EXPECT_TRUE(caption.endsWith(QStringLiteral("    -   catalogue.tml*")));
    EXPECT_EQ(ShownTitle(), caption);
    EXPECT_TRUE(Window().Session().IsModified());
}

// A text file, a project of a newer version and one nested too deep are refused with the reason,
// and the project that was open gives way to an empty one that names no file.
TEST_F(MainWindowTest, AFileThatCannotBeReadIsRefusedSayingWhyAndLeavesAnEmptyProject) {
    const std::string project = WriteProject("default.tml", SampleProject(DataDir()));
    std::string newer = testing::ReadWholeFile(project);
    newer[9] = 1;  // version 1.3
    newer[10] = 3;
    // The message names the file.
    const QString wrongFormat =
        QText(TextId::message_IncorrectFormatFile) + u'\n' + ToQString(folder / "refused.tml");
    const std::pair<std::string, std::vector<testing::FakePrompts::Message>> cases[] = {
        {"just some text\r\n", {{MessageKind::Error, wrongFormat}}},
        {newer,
         {{MessageKind::Warning, QText(TextId::message_FileVersionHigherUseNewerTomlet)},
          {MessageKind::Error, wrongFormat}}},
        {testing::NestedProjectBytes(30000),
         {{MessageKind::Error, wrongFormat + u'\n' + ToQString(TreeTooDeepText())}}},
    };
    Start();
    Ui().a_view_item_Editor->trigger();
    for (const auto& [bytes, messages] : cases) {
        Open(project);
        ASSERT_EQ(Objects(), 3);
        prompts.Messages.clear();
        Open(folder.WriteFile("refused.tml", bytes));
        EXPECT_EQ(prompts.Messages, messages);
        EXPECT_EQ(Objects(), 0);
        EXPECT_TRUE(Window().Session().CurrentFileName().empty());
        EXPECT_EQ(ShownTitle(), QStringLiteral("Tomlet EDITOR  ") + VersionText() +
                                    QStringLiteral("    -   new project"));
    }
}

// Qt lays trees out recursively: the deepest project allowed must open whole without a crash.
TEST_F(MainWindowTest, ExpandTreeLaysOutTheDeepestProjectAllowed) {
    folder.WriteFile("default.tml", testing::NestedProjectBytes(MaxTreeLevels));
    Start();
    Idle();
    ASSERT_EQ(Objects(), MaxTreeLevels);
    Ui().a_operation_item_ExpandTree->trigger();
    Window().grab();

    QTreeView* view = Ui().TreeView;
    QModelIndex deepest = view->model()->index(0, 0);
    while (view->model()->hasChildren(deepest)) {
        ASSERT_TRUE(view->isExpanded(deepest));
        deepest = view->model()->index(0, 0, deepest);
    }
    EXPECT_EQ(deepest.data().toString(), QStringLiteral("level 999"));
    // Its row is laid out in the viewport; the label lies far to the right.
    view->scrollTo(deepest);
    const QRect row = view->visualRect(deepest);
    EXPECT_GE(row.top(), 0);
    EXPECT_LE(row.bottom(), view->viewport()->height());
    EXPECT_EQ(row.left(), MaxTreeLevels * view->indentation());  // 999 indents and the root's
}

TEST_F(MainWindowTest, AnAbsoluteProjectWithAMissingDataDirectoryOpensWithANotice) {
    const std::string missing = folder / "gone";
    const std::string path = WriteProject("catalogue.tml", SampleProject(missing));
    Start();
    Open(path);
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Information, QText(TextId::message_ProjectDataDirNotExist) +
                                                        u'\n' + QString::fromStdString(missing)));
    EXPECT_EQ(Objects(), 3);

    TProjectRec relative = SampleProject(missing);
    relative.AbsolutePath = false;
    Open(WriteProject("relative.tml", relative));
    EXPECT_EQ(prompts.Messages.size(), 1u);
}

// A catalogue written in another code page says so once as it opens, however many of its texts
// do not decode, and offers the code page it guesses; in its own code page it opens silently.
TEST_F(MainWindowTest, ACatalogueOfAnotherCodePageSaysSoOnceAsItOpens) {
    const std::string path = folder / "cyrillic.tml";
    {
        const ScopedProjectCodePage written(1251);
        ObjectTree tree;
        for (const char* caption : {"Отчёт.txt", "Письмо.txt"})
            tree.Append(nullptr, testing::Record(caption));
        testing::SaveProject(path, SampleProject(DataDir()), tree);
    }
    Start();
    for (const int codePage : {1252, 1251}) {
        const ScopedProjectCodePage reading(codePage);
        prompts.Messages.clear();
        Open(path);
        EXPECT_EQ(Objects(), 2);
        if (codePage == 1251) {
            EXPECT_TRUE(prompts.Messages.empty());
            continue;
        }
        ASSERT_EQ(prompts.Messages.size(), 1u);
        EXPECT_EQ(prompts.Messages.front().Kind, MessageKind::Warning);
        EXPECT_TRUE(prompts.Messages.front().Text.contains(QStringLiteral("code page 1252")) &&
                    prompts.Messages.front().Text.contains(QStringLiteral("_CodePage=1251")))
            << prompts.Messages.front().Text.toStdString();
    }
}

TEST_F(MainWindowTest, OpenDefaultFileUsesTheProgramFolderOrWarnsAndKeepsTheProject) {
    OpenCatalogueInBrowser();
    Ui().a_files_item_OpenDefault->trigger();
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Warning, QText(TextId::message_DefaultFileNotFound)));
    EXPECT_EQ(Objects(), 3);

    TProjectRec other = SampleProject(DataDir());
    other.ProjectName = "the default";
    WriteProject("default.tml", other, 1);
    Ui().a_files_item_OpenDefault->trigger();
    EXPECT_EQ(Objects(), 1);
    EXPECT_EQ(Ui().label_BrowserProjectName->text(), QStringLiteral("the default"));
    EXPECT_TRUE(ShownTitle().endsWith(QStringLiteral("    -   default.tml")));
}

TEST_F(MainWindowTest, ViewsAfterTheFileWasDeletedLeaveAnEmptyProjectThatStillNamesIt) {
    std::filesystem::remove(OpenCatalogueInBrowser());
    Ui().a_view_item_Editor->trigger();
    EXPECT_EQ(Objects(), 0);
    EXPECT_TRUE(ShownTitle().endsWith(QStringLiteral("    -   catalogue.tml")));
    Model().Append(nullptr, testing::Record("added"));
    Idle();
    Ui().a_files_item_Save->trigger();
    EXPECT_EQ(prompts.FileDialogTitles.last(), QStringLiteral("Save project"));
}

TEST_F(MainWindowTest, FileDialogsStartInTheProgramFolderWithTheProjectFilter) {
    Start();
    Ui().a_files_item_Open->trigger();
    Model().Append(nullptr, testing::Record("added"));
    Window().UpdateActions();
    Ui().a_files_item_SaveAS->trigger();
    const QString filter = QStringLiteral("Tomlet files (*.tml)|*.tml|Any files|*.*");
    const QString programFolder = QString::fromStdString(folder.Path().string());
    EXPECT_EQ(prompts.FileDialogTitles,
              (QStringList{QStringLiteral("Open project"), QStringLiteral("Save project")}));
    EXPECT_EQ(prompts.FileDialogFilters, (QStringList{filter, filter}));
    EXPECT_EQ(prompts.FileDialogFolders, (QStringList{programFolder, programFolder}));
}

TEST_F(MainWindowTest, AnErrorEscapingACommandIsShownOrDroppedAsItsWiringSays) {
    Start();
    const CommandRunner& commands = Window().Commands();
    commands.Run([] { throw std::runtime_error("disc not ready"); });
    commands.Run([] { throw 42; });
    commands.Run([] { throw std::runtime_error("not reported"); }, OnError::Ignore);
    EXPECT_EQ(prompts.Messages, (std::vector<testing::FakePrompts::Message>{
                                    {MessageKind::Error, QStringLiteral("disc not ready")},
                                    {MessageKind::Error, QStringLiteral("Unknown error")}}));
}

// A load and a save let window messages through; meanwhile the window is busy, and the tree takes
// no keys.
TEST_F(MainWindowTest, TheWindowIsBusyWhileALoadOrASaveWalksTheTree) {
    // Large enough that the reader and the writer let window messages through several times.
    const std::string path = WriteProject("large.tml", SampleProject(DataDir()), 200000);
    Start();
    Ui().a_view_item_Editor->trigger();
    const auto whileWalking = [&](const std::function<void()>& walk) {
        bool busyThen = false;
        const ObjectNode* selectedThen = nullptr;
        QTimer::singleShot(0, &Window(), [&] {
            busyThen = Window().Busy().IsBusy();
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QCoreApplication::sendEvent(Ui().TreeView, &down);
            selectedThen = TreeView().SelectedNode();
        });
        walk();
        EXPECT_TRUE(busyThen);
        EXPECT_FALSE(Window().Busy().IsBusy());
        return selectedThen;
    };
    EXPECT_EQ(whileWalking([&] { Window().Session().LoadProject(path); }), nullptr);
    ASSERT_EQ(Objects(), 200000);
    const ObjectNode* first = Window().Model().Tree().TopLevel()[0];
    TreeView().SelectNode(first);
    EXPECT_EQ(whileWalking([&] { Window().Session().SaveProject(path); }), first);

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(Ui().TreeView, &down);
    EXPECT_EQ(TreeView().SelectedNode(), Window().Model().Tree().TopLevel()[1]);
}

// A disc's tomlet.ini may hide the menu bar: the keys still reach their commands, in either view.
TEST_F(MainWindowTest, ShortcutsWorkWithoutTheMenuBar) {
    folder.WriteFile("tomlet.ini", "[Main]\r\n_Menu=0\r\n");
    Start();
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    ASSERT_FALSE(Ui().MainMenu1->isVisible());
    QTest::keyClick(&Window(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&Window(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(prompts.FileDialogTitles, QStringList{QStringLiteral("Open project")});
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Warning, QText(TextId::message_DefaultFileNotFound)));

    Ui().a_view_item_Editor->trigger();
    QTest::keyClick(&Window(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(prompts.FolderRequests.size(), 1u);  // New asks for the data directory
    // The check of objects' properties was never written: it is shown, never offered.
    EXPECT_FALSE(Ui().a_utility_item_CorrectObjectDir->isEnabled());
}

TEST_F(MainWindowTest, WhileBusyTheMenusAndTheEditorToolbarAreOff) {
    Start();
    {
        BusyState::Scope busy(Window().Busy());
        EXPECT_FALSE(Ui().toolbar_Editor->isEnabled());
        EXPECT_FALSE(Ui().menu_File->menuAction()->isEnabled());
        EXPECT_FALSE(Ui().a_operation_item_AddObject->isEnabled());
        EXPECT_FALSE(Ui().a_files_item_Open->isEnabled());
    }
    EXPECT_TRUE(Ui().toolbar_Editor->isEnabled());
    EXPECT_TRUE(Ui().menu_File->menuAction()->isEnabled());
    EXPECT_TRUE(Ui().a_files_item_Open->isEnabled());
}

}  // namespace
}  // namespace tomlet
