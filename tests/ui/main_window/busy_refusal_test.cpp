// While a load, save or scan walks the tree, no command may run, by any route: every command the
// window wires refuses, even where a shortcut or a queued event reaches it with its action on.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include "core/language_file.h"
#include "main_window_test_support.h"
#include "support/tree_records.h"
#include "ui/main_window/object_fields_editor.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::Record;

// Closes every modal window that opens and remembers its name: none may open here.
class ModalCloser final : public QObject {
public:
    ModalCloser() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                Opened << modal->objectName();
                modal->close();
            }
        });
        m_timer.start(10);
    }
    QStringList Opened;

private:
    QTimer m_timer;
};

// An editor on the data page of a modified project with a splash picture and a data directory
// on disc: Docs (a folder with "Read me" and the virtual folder Sub, which holds b) and Setup.
// The recent projects hold it, a language is offered, and the object fields hold an edit not yet
// committed. Every command would change or ask something here.
class BusyRefusalTest : public ::testing::Test, public testing::MainWindowFixture {
public:
    void SetUp() override {
        folder.WriteFile("data/Docs/readme.txt", "hello");
        folder.WriteFile("data/setup.exe", "MZ");
        folder.WriteFile("Test.lng", "[frm_Main]\r\nmenu_File.Caption=Datei\r\n");
        TProjectRec project;
        project.ProjectDataDir = folder / "data";
        project.SplashFileName = "splash.jpg";
        ObjectTree tree;
        ObjectNode* docs = tree.Append(nullptr, Record("Docs", otFolder, oaOpen, "Docs"));
        tree.Append(docs, Record("Read me", otTextFile, oaOpenByAssociation, "Docs\\readme.txt"));
        ObjectNode* sub = tree.Append(docs, Record("Sub", otVirtualFolder));
        tree.Append(sub, Record("b"));
        tree.Append(nullptr, Record("Setup", otExecuteFile, oaExecute, "setup.exe"));
        testing::SaveProject(folder / "catalogue.tml", project, tree);

        Start();
        Ui().a_view_item_Editor->trigger();
        Open(folder / "catalogue.tml");
        ShowPage(Ui().tabsheet_Data);
        TreeView().expand(Model().IndexFromNode(Node("Docs")));
        TNodeData renamed = Node("Setup")->Data;
        renamed.Caption = "Setup program";
        Model().SetRecord(Node("Setup"), renamed);
        Select(Node("Docs"));
    }
    void TearDown() override { SetCurrentLanguageFile({}); }

    ObjectNode* Node(const std::string& caption) {
        ObjectNode* found = nullptr;
        Model().Tree().ForEachDepthFirst([&](const ObjectNode& node, int) {
            if (node.Data.Caption.starts_with(caption))
                found = const_cast<ObjectNode*>(&node);
        });
        return found;
    }
    // What a command that ran would have changed.
    std::string State() {
        std::ostringstream state;
        Model().Tree().ForEachDepthFirst([&](const ObjectNode& node, int level) {
            state << level << node.Data.Caption << '[' << int(node.Data.ObjectType) << ','
                  << int(node.Data.ObjectAction) << "]:" << node.Data.PathFileName << ','
                  << node.Data.Hint
                  << (TreeView().isExpanded(Model().IndexFromNode(&node)) ? "+" : "") << ' ';
        });
        const ProjectSession& session = Window().Session();
        const TProjectRec& project = session.Project();
        state << "| " << session.CurrentFileName() << (session.IsModified() ? "*" : "") << ' '
              << project.ProjectDataDir << ' ' << project.SplashFileName << ' '
              << project.AbsolutePath << Ui().a_options_item_AbsolutePath->isChecked()
              << Ui().checkbox_AbsoluteLink->isChecked() << " | view " << Window().IsEditorView()
              << Ui().a_view_item_Editor->isChecked() << Ui().a_view_item_Browser->isChecked()
              << Ui().EditPageControl->currentIndex() << " | fields "
              << Ui().edit_Hint->text().toStdString() << Window().Fields().HasEdits() << " | menu "
              << Ui().menuitem_NoAction->isVisible() << " | language " << CurrentLanguageFile()
              << std::filesystem::exists(folder / "tomlet.ini") << " | windows shown "
              << std::ranges::count_if(QApplication::topLevelWidgets(),
                                       [](const QWidget* window) { return window->isVisible(); });
        return state.str();
    }
    static void Trigger(QAction* action) {
        action->setEnabled(true);  // as a shortcut or a queued event finds it
        action->trigger();
    }
};

struct Route {
    const char* Name;
    std::function<void(BusyRefusalTest&)> Run;
    // Sets the scene the command would act in; the default scene suits most.
    std::function<void(BusyRefusalTest&)> Prepare = {};
};

void PrintTo(const Route& route, std::ostream* out) {
    *out << route.Name;
}

// Runs a menu command (or a toolbar button's, which is the same action).
Route Command(const char* name, QAction* MainWindowUi::*action, const char* selected = nullptr) {
    return {name, [action](BusyRefusalTest& f) { BusyRefusalTest::Trigger(f.Ui().*action); },
            [selected](BusyRefusalTest& f) {
                if (selected != nullptr)
                    f.Select(f.Node(selected));
            }};
}

const Route Routes[] = {
    Command("New", &MainWindowUi::a_files_item_New),
    Command("Open", &MainWindowUi::a_files_item_Open),
    Command("OpenDefault", &MainWindowUi::a_files_item_OpenDefault),
    Command("CloseFile", &MainWindowUi::a_files_item_CloseFile),
    Command("Save", &MainWindowUi::a_files_item_Save),
    Command("SaveAs", &MainWindowUi::a_files_item_SaveAS),
    Command("Exit", &MainWindowUi::a_files_item_Exit),
    Command("Shelf", &MainWindowUi::a_files_item_Shelf),
    {"ShelfHit",
     [](BusyRefusalTest& f) {
         Q_EMIT f.ShelfWindow()->OpenRequested(QString::fromStdString(f.folder / "catalogue.tml"),
                                               1);
     },
     [](BusyRefusalTest& f) { f.Ui().a_files_item_Shelf->trigger(); }},
    Command("ExportWebPage", &MainWindowUi::a_files_item_ExportWebPage),
    Command("Browser", &MainWindowUi::a_view_item_Browser),
    {"Editor", [](BusyRefusalTest& f) { BusyRefusalTest::Trigger(f.Ui().a_view_item_Editor); },
     [](BusyRefusalTest& f) {
         f.prompts.QuestionAnswers = {Answer::No};
         f.Ui().a_view_item_Browser->trigger();
     }},
    Command("SaveAndBrowser", &MainWindowUi::a_view_item_SaveNBrowser),
    Command("About", &MainWindowUi::a_about_item_AboutProgram),
    Command("Find", &MainWindowUi::a_search_item_Find),
    Command("FindForward", &MainWindowUi::a_search_item_FindForward),
    Command("DataDirectory", &MainWindowUi::edit_ProjectDataDirButton),
    Command("SplashPicture", &MainWindowUi::edit_SplashFileNameButton),
    {"NoSplash", [](BusyRefusalTest& f) { f.Ui().button_DontShowSplahScreen->click(); }},
    Command("AbsolutePaths", &MainWindowUi::a_options_item_AbsolutePath),
    {"AbsolutePathsBox",
     [](BusyRefusalTest& f) {
         f.Ui().a_options_item_AbsolutePath->setEnabled(true);  // and so the box
         f.Ui().checkbox_AbsoluteLink->click();
     }},
    Command("Commit", &MainWindowUi::a_button_Commit),
    Command("ObjectPath", &MainWindowUi::edit_PathFileNameButton),
    Command("AddObject", &MainWindowUi::a_operation_item_AddObject),
    Command("AddChildObject", &MainWindowUi::a_operation_item_AddChildObject),
    Command("DeleteObject", &MainWindowUi::a_operation_item_DeleteObject),
    Command("DeleteAll", &MainWindowUi::a_operation_item_DeleteAll),
    Command("CollapseTree", &MainWindowUi::a_operation_item_CollapseTree),
    Command("ExpandTree", &MainWindowUi::a_operation_item_ExpandTree),
    Command("ScanDataDirectory", &MainWindowUi::a_operation_item_ScanProjectDirectory),
    Command("ScanCurrentFolder", &MainWindowUi::a_operation_item_ScanCurrentFolder),
    Command("UpdateFromDisc", &MainWindowUi::a_operation_item_UpdateFromDisc),
    Command("OwnAction", &MainWindowUi::a_action_item_Action),
    Command("Open", &MainWindowUi::a_action_item_OpenAction),
    Command("Execute", &MainWindowUi::a_action_item_ExecuteAction, "Setup"),
    Command("OpenByNotepad", &MainWindowUi::a_action_item_NotePadAction, "Read me"),
    Command("OpenByAssociation", &MainWindowUi::a_action_item_AssociationAction, "Read me"),
    Command("OpenContainingFolder", &MainWindowUi::a_action_item_OpenFolderContainingObject),
    {"ContextMenusOwnAction", [](BusyRefusalTest& f) { f.Ui().menuitem_NoAction->trigger(); },
     [](BusyRefusalTest& f) {
         f.Select(f.Node("Read me"));
         Q_EMIT f.Ui().RxPopupMenu->aboutToShow();
     }},
    {"ContextMenuOpening", [](BusyRefusalTest& f) { Q_EMIT f.Ui().RxPopupMenu->aboutToShow(); },
     [](BusyRefusalTest& f) {
         f.Select(f.Node("Sub"));  // no action of its own: the first item is hidden
         Q_EMIT f.Ui().RxPopupMenu->aboutToShow();
         f.Select(f.Node("Read me"));
     }},
    {"DoubleClick", [](BusyRefusalTest& f) { Q_EMIT f.TreeView().DoubleClicked(); },
     [](BusyRefusalTest& f) { f.Select(f.Node("Read me")); }},
    {"Drop",
     [](BusyRefusalTest& f) {
         const QPoint onDocs =
             f.TreeView().visualRect(f.Model().IndexFromNode(f.Node("Docs"))).center();
         f.TreeView().DropAt(&f.TreeView(), onDocs, Qt::ControlModifier);
     },
     [](BusyRefusalTest& f) { f.Select(f.Node("Setup")); }},
    {"Language", [](BusyRefusalTest& f) { f.Ui().menu_Language->actions().at(0)->trigger(); }},
    {"RecentProject",
     [](BusyRefusalTest& f) { f.Ui().menu_RecentProjects->actions().at(0)->trigger(); }},
    {"CloseWindow", [](BusyRefusalTest& f) { f.Window().close(); }},
};

class BusyRefusalRouteTest : public BusyRefusalTest, public ::testing::WithParamInterface<Route> {};

INSTANTIATE_TEST_SUITE_P(Routes, BusyRefusalRouteTest, ::testing::ValuesIn(Routes),
                         [](const ::testing::TestParamInfo<Route>& route) {
                             return std::string(route.param.Name) + std::to_string(route.index);
                         });

TEST_P(BusyRefusalRouteTest, NothingHappensWhileTheWindowIsBusy) {
    if (GetParam().Prepare)
        GetParam().Prepare(*this);
    Ui().edit_Hint->setText(u"typed"_s);
    prompts = {};
    const std::string before = State();
    const ModalCloser modals;
    {
        const BusyState::Scope busy(Window().Busy());
        GetParam().Run(*this);
    }
    Idle();
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(modals.Opened.isEmpty()) << modals.Opened.join(u' ').toStdString();
    EXPECT_TRUE(prompts.Messages.empty() && prompts.Confirmations.isEmpty() &&
                prompts.Questions.isEmpty() && prompts.DefaultNoConfirmations.isEmpty() &&
                prompts.FolderRequests.empty() && prompts.FileDialogTitles.isEmpty());
    EXPECT_TRUE(shell.Untouched());
}

}  // namespace
}  // namespace tomlet
