// The main window as a desktop program: a project named on the command line, what it keeps for
// the user between runs, and its menus reached from the keyboard.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/catalogue.h"
#include "core/language_file.h"
#include "core/paths.h"
#include "core/project_file.h"
#include "main_window_test_support.h"
#include "support/test_system.h"
#include "support/file_system_faults.h"
#include "support/tree_records.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::MainWindowFixture;
using testing::Pick;
using testing::QText;
using testing::ReadWholeFile;

QString NotFound(const std::string& path) {
    return ToQString(NoProjectFileText(path));
}

class MainWindowDesktopTest : public ::testing::Test, public MainWindowFixture {
protected:
    void TearDown() override { SetCurrentLanguageFile({}); }

    // A relative-mode project whose one object names `objectPath` below the project's folder.
    std::string WriteDiscProject(const std::string& name, const std::string& objectPath) const {
        TProjectRec project;
        project.AbsolutePath = false;
        project.ProjectDataDir = ".";
        project.ProjectName = "Suite";
        ObjectTree tree;
        tree.Append(nullptr,
                    testing::Record("read me", otTextFile, oaOpenByAssociation, objectPath));
        testing::SaveProject(folder / name, project, tree);
        return folder / name;
    }
};

// ---- A project named on the command line

TEST_F(MainWindowDesktopTest, ANamedProjectIsShownAsTheDefaultProjectOfADiscInItsFolder) {
    WriteProject("default.tml", TProjectRec{});
    folder.WriteFile("tomlet.ini", "[Default]\r\n_DefaultFile=default.tml\r\n");
    folder.WriteFile("discs/suite/Docs/readme.txt", "read me");
    const std::string project = WriteDiscProject("discs/suite/suite.tml", "Docs\\readme.txt");
    namedProject = project;
    Start();

    EXPECT_TRUE(Window().IsBrowserView());
    EXPECT_EQ(Window().Session().CurrentFileName(), project);
    EXPECT_EQ(Window().Session().DataDir(), folder / "discs/suite");
    Select(Model().Tree().TopLevel().front());
    Ui().a_action_item_Action->trigger();
    EXPECT_EQ(shell.Opened, QStringList{ToQString(folder / "discs/suite/Docs/readme.txt")});
    EXPECT_TRUE(prompts.Messages.empty());

    // The disc's default project is the named one, and its folder is where the dialogs start.
    Ui().a_files_item_CloseFile->trigger();
    Ui().a_files_item_OpenDefault->trigger();
    EXPECT_EQ(Window().Session().CurrentFileName(), project);
    Ui().a_files_item_Open->trigger();
    EXPECT_EQ(prompts.FileDialogFolders, QStringList{ToQString(folder / "discs/suite")});
    EXPECT_EQ(RecentItems(), QStringList{ToQString(project)});
}

// The message names the file and what was wrong with it.
TEST_F(MainWindowDesktopTest, ANamedProjectThatCannotBeReadLeavesAnEmptyBrowserSayingWhy) {
    struct Case {
        std::string Path;
        MessageKind Kind;
        QString Text;
    };
    const auto said = [](TextId text, const std::string& path) {
        return ToQString(FormatString(Text(text), path));
    };
    const std::string missing = folder / "missing.tml";
    const std::string pipe = folder / "pipe.tml";
    const std::string damaged = folder.WriteFile("damaged.tml", "not a project");
    std::vector<Case> cases = {
        {damaged, MessageKind::Error,
         QText(TextId::message_IncorrectFormatFile) + u'\n' + ToQString(damaged)},
        {missing, MessageKind::Warning, NotFound(missing)},
        {folder.MakeFolder("folder.tml"), MessageKind::Warning,
         said(TextId::message_ProjectPathIsFolder_S, folder / "folder.tml")},
    };
    if (testing::MakeNamedPipe(pipe))  // no pipes on Windows
        cases.push_back(
            {pipe, MessageKind::Warning, said(TextId::message_ProjectPathIsSpecial_S, pipe)});
    if (!testing::OnWindows && !testing::RunsAsSuperuser()) {  // who may read everything
        const std::string unreadable = folder.WriteFile("unreadable.tml", "TML");
        std::filesystem::permissions(unreadable, std::filesystem::perms::none);
        cases.push_back({unreadable, MessageKind::Error,
                         ToQString(Text(TextId::message_CantOpenDefaultFile) + '\n' + unreadable +
                                   ": " + std::generic_category().message(EACCES))});
    }
    for (const Case& named : cases) {
        namedProject = named.Path;
        prompts.Messages.clear();
        Start();
        EXPECT_TRUE(Window().IsBrowserView());
        EXPECT_EQ(Model().Tree().Count(), 0);
        EXPECT_EQ(Window().Session().CurrentFileName(), "");
        EXPECT_EQ(prompts.Messages, testing::OnlyMessage(named.Kind, named.Text));
        EXPECT_TRUE(RecentItems().isEmpty());
    }
}

// ---- What the user's preferences keep

TEST_F(MainWindowDesktopTest, TheWindowsPlaceTheRecentProjectsAndTheLastFolderSurviveARestart) {
    Start();
    const QRect place(40, 30, 700, 520);
    Window().setGeometry(place);
    folder.MakeFolder("projects");
    for (int i = 0; i < 9; ++i)
        Open(WriteProject("projects/p" + std::to_string(i) + ".tml", TProjectRec{}));
    Open(folder / "projects/p3.tml");  // once, first again
    Close();

    Start();
    EXPECT_EQ(Window().geometry(), place);
    QStringList expected;
    for (const int i : {3, 8, 7, 6, 5, 4, 2, 1})
        expected.append(ToQString(folder / ("projects/p" + std::to_string(i) + ".tml")));
    EXPECT_EQ(RecentItems(), expected);
    Ui().a_files_item_Open->trigger();
    EXPECT_EQ(prompts.FileDialogFolders.last(), ToQString(folder / "projects"));

    // A recent project opens as through Open; one that is gone leaves the list with a warning.
    Ui().menu_RecentProjects->actions().at(2)->trigger();
    EXPECT_EQ(Window().Session().CurrentFileName(), folder / "projects/p7.tml");
    std::filesystem::remove(folder / "projects/p6.tml");
    prompts.Messages.clear();  // the projects name no data directory: each load said so
    Ui().menu_RecentProjects->actions().at(3)->trigger();
    EXPECT_EQ(Window().Session().CurrentFileName(), folder / "projects/p7.tml");
    EXPECT_EQ(prompts.MessageTexts(), QStringList{NotFound(folder / "projects/p6.tml")});
    EXPECT_EQ(RecentItems().size(), 7);
    EXPECT_FALSE(RecentItems().join(u'|').contains(u"p6.tml"_s));
}

TEST_F(MainWindowDesktopTest, AWindowTheSettingsShapeLeavesTheRememberedPlaceAlone) {
    Start();
    const QRect place(40, 30, 700, 520);
    Window().setGeometry(place);
    Close();
    folder.WriteFile("tomlet.ini", "[Main]\r\n_Maximized=1\r\n");
    Start();
    EXPECT_TRUE(Window().windowState().testFlag(Qt::WindowMaximized));
    Close();
    std::filesystem::remove(folder / "tomlet.ini");
    Start();
    EXPECT_EQ(Window().geometry(), place);
}

// An installed program's tomlet.ini is the system's, and a disc's may be read-only: the user's
// choice survives all the same. Where tomlet.ini can be written it keeps the choice, as before.
TEST_F(MainWindowDesktopTest, ALanguageChoiceTomletIniCannotKeepSurvivesARestart) {
    for (const std::string language : {"Russian", "English"})
        folder.WriteFile(language + ".lng",
                         ReadWholeFile(TOMLET_LANGUAGES_DIR "/" + language + ".lng"));
    const std::string ini = folder.WriteFile("tomlet.ini", "[Main]\r\n_Caption=1\r\n");
    std::filesystem::permissions(ini, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    Start();
    Pick(Window(), u"Russian"_s);
    Close();
    EXPECT_EQ(ReadWholeFile(ini), "[Main]\r\n_Caption=1\r\n");

    Start();
    EXPECT_EQ(WithoutAccessLetter(Ui().menu_File->title()), u"Файл"_s);
    std::filesystem::permissions(ini, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    Pick(Window(), u"English"_s);
    Close();
    EXPECT_EQ(ReadWholeFile(ini), "[Main]\r\n_Caption=1\r\n_Language=English\r\n");

    Start();
    EXPECT_EQ(WithoutAccessLetter(Ui().menu_File->title()), u"File"_s);
    std::filesystem::remove(ini);
    Close();
    Start();  // tomlet.ini gone: untranslated, the user's old choice forgotten
    EXPECT_EQ(CurrentLanguageFile(), folder / ".lng");
}

// A preferences file that is no file is never opened (on a pipe QSettings would wait for good):
// the window starts with the defaults, says so once and keeps nothing.
TEST_F(MainWindowDesktopTest, APreferencesFileThatIsNoFileIsNamedOnceAndKeepsNothing) {
    const std::string path = preferences / "Tomlet/preferences.ini";
    for (const bool pipe : {false, true}) {
        std::filesystem::remove_all(path);
        if (pipe && !testing::MakeNamedPipe(path))
            continue;  // no pipes on Windows
        if (!pipe)
            preferences.MakeFolder("Tomlet/preferences.ini");
        prompts.Messages.clear();
        Start();
        ASSERT_EQ(prompts.Messages.size(), 1u);
        EXPECT_EQ(prompts.Messages.front().Kind, MessageKind::Warning);
        EXPECT_TRUE(prompts.MessageTexts().front().endsWith(
            u"preferences.ini\r\nTomlet starts with its defaults and keeps none of them."_s));
        Open(WriteProject("p.tml", TProjectRec{}));
        Close();
        Start();
        EXPECT_TRUE(RecentItems().isEmpty());
        Close();
    }
}

// ---- Menus from the keyboard

TEST_F(MainWindowDesktopTest, F10AndAltWithALetterOpenTheMenus) {
    Tfrm_Main& window = Start();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F10);
    EXPECT_EQ(Ui().MainMenu1->activeAction(), Ui().menu_File->menuAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Ui().menu_File->isVisible(); }));
    QTest::keyClick(Ui().menu_File, Qt::Key_Escape);
    QTest::keyClick(Ui().MainMenu1, Qt::Key_Escape);

    const QKeySequence options = QKeySequence::mnemonic(Ui().menu_Options->title());
    ASSERT_FALSE(options.isEmpty());
    QTest::keyClick(&window, options[0].key(), options[0].keyboardModifiers());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Ui().menu_Options->isVisible(); }));
    QTest::keyClick(Ui().menu_Options, Qt::Key_Escape);
}

}  // namespace
}  // namespace tomlet
