#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "main_window_test_support.h"
#include "support/held_ctrl.h"
#include "support/project_bytes.h"
#include "support/tree_records.h"
#include "ui/progress/progress_sink.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::Outline;

// An editor on catalogue.tml ("object 0" to "object 2"); other.tml and default.tml hold one
// object each.
struct UnsavedChangesFixture : testing::MainWindowFixture {
    void StartEditing() {
        dataDir = folder.MakeFolder("data");
        TProjectRec project;
        project.ProjectDataDir = dataDir;
        project.SplashFileName = "splash.jpg";
        path = WriteProject("catalogue.tml", project);
        other = WriteProject("other.tml", project, 1);
        WriteProject("default.tml", project, 1);
        Start();
        Window().show();
        Ui().a_view_item_Editor->trigger();
        Open(other);  // so that it is the second of the recent projects
        Open(path);
        ShowPage(Ui().tabsheet_Data);
        QObject::connect(&Model(), &QAbstractItemModel::modelReset, &Window(),
                         [this] { ++treeReplaced; });
    }
    ObjectNode* Object(int row) { return Model().Tree().TopLevel().at(static_cast<size_t>(row)); }
    // The author renames the first object and commits it, then types a hint not yet committed.
    void Edit() {
        Select(Object(0));
        Ui().edit_Caption->setText(u"edited"_s);
        Ui().a_button_Commit->trigger();
        Ui().edit_Hint->setText(u"typed"_s);
    }
    TNodeData StoredFirstObject() const {
        return testing::LoadProject(path).Tree.TopLevel().at(0)->Data;
    }
    void ExpectUntouched() {
        EXPECT_EQ(treeReplaced, 0);
        EXPECT_TRUE(Window().IsEditorView());
        EXPECT_TRUE(Ui().a_view_item_Editor->isChecked());
        EXPECT_TRUE(Window().isVisible());
        EXPECT_EQ(Window().Session().CurrentFileName(), path);
        EXPECT_EQ(Outline(Model().Tree()), "edited0 object 10 object 20");
        EXPECT_EQ(Ui().edit_Caption->text(), u"edited"_s);
        EXPECT_EQ(Ui().edit_Hint->text(), u"typed"_s);
        EXPECT_TRUE(ShownTitle().endsWith(u"    -   catalogue.tml*"_s));
    }

    std::string dataDir, path, other;
    int treeReplaced = 0;
};

// A command that replaces or reloads the tree, run from the editor.
struct Route {
    const char* Name;
    std::function<void(UnsavedChangesFixture&)> Run;
};

void PrintTo(const Route& route, std::ostream* out) {
    *out << route.Name;
}

const Route Routes[] = {
    {"New", [](UnsavedChangesFixture& f) { f.Ui().a_files_item_New->trigger(); }},
    {"Open", [](UnsavedChangesFixture& f) { f.Open(f.other); }},
    {"RecentProject",
     [](UnsavedChangesFixture& f) { f.Ui().menu_RecentProjects->actions().at(1)->trigger(); }},
    {"OpenDefault", [](UnsavedChangesFixture& f) { f.Ui().a_files_item_OpenDefault->trigger(); }},
    {"ShelfHit", [](UnsavedChangesFixture& f) { f.OpenFromShelf(f.other, u"object"_s); }},
    {"CloseFile", [](UnsavedChangesFixture& f) { f.Ui().a_files_item_CloseFile->trigger(); }},
    {"Browser", [](UnsavedChangesFixture& f) { f.Ui().a_view_item_Browser->trigger(); }},
    {"BrowserWithCtrl",
     [](UnsavedChangesFixture& f) {
         const testing::HeldCtrl ctrl(f.Window());
         f.Ui().a_view_item_Browser->trigger();
     }},
    {"CloseWindow", [](UnsavedChangesFixture& f) { f.Window().close(); }},
    {"Exit", [](UnsavedChangesFixture& f) { f.Ui().a_files_item_Exit->trigger(); }},
};

class UnsavedChangesRouteTest : public ::testing::TestWithParam<Route>,
                                public UnsavedChangesFixture {
protected:
    void SetUp() override { StartEditing(); }
    void RunRoute() {
        GetParam().Run(*this);
        Idle();
    }
};

INSTANTIATE_TEST_SUITE_P(Routes, UnsavedChangesRouteTest, ::testing::ValuesIn(Routes),
                         [](const ::testing::TestParamInfo<Route>& route) {
                             return std::string(route.param.Name);
                         });

TEST_P(UnsavedChangesRouteTest, YesSavesTheChangesThenGoesOn) {
    Edit();
    prompts.QuestionAnswers = {Answer::Yes};
    RunRoute();
    EXPECT_EQ(prompts.Questions,
              QStringList{u"Save the changes to the project < \"catalogue.tml\" > ?"_s});
    EXPECT_EQ(StoredFirstObject().Caption, "edited");
    EXPECT_EQ(StoredFirstObject().Hint, "typed");
    EXPECT_GT(treeReplaced, 0);
}

TEST_P(UnsavedChangesRouteTest, YesWithAFailingSaveStops) {
    Edit();
    std::filesystem::remove(path);  // Save goes through Save as, which cannot write there
    prompts.SaveAnswers.push_back(QString::fromStdString(folder / "missing/catalogue.tml"));
    prompts.QuestionAnswers = {Answer::Yes};
    RunRoute();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_TRUE(prompts.Messages[0].Text.startsWith(u"Cant save file!"_s));
    ExpectUntouched();
}

TEST_P(UnsavedChangesRouteTest, NoDiscardsTheChangesAndGoesOn) {
    Edit();
    prompts.QuestionAnswers = {Answer::No};
    RunRoute();
    EXPECT_EQ(prompts.Questions.size(), 1);
    EXPECT_GT(treeReplaced, 0);
    EXPECT_EQ(StoredFirstObject().Caption, "object 0");
    EXPECT_FALSE(Window().isWindowModified());
}

TEST_P(UnsavedChangesRouteTest, CancelLeavesTheTreeTheViewAndTheFieldsAsTheyWere) {
    Edit();
    prompts.QuestionAnswers = {Answer::Cancel};
    RunRoute();
    EXPECT_EQ(prompts.Questions.size(), 1);
    ExpectUntouched();
    EXPECT_TRUE(Ui().a_button_Commit->isEnabled());  // the hint is still to be committed
}

TEST_P(UnsavedChangesRouteTest, NothingIsAskedOnceTheChangesAreSaved) {
    Edit();
    Ui().a_button_Commit->trigger();
    Ui().a_files_item_Save->trigger();
    // Looking around and a keyword, which is never stored, change nothing.
    Select(Object(2));
    Ui().a_operation_item_ExpandTree->trigger();
    Ui().combobox_Keywords->setEditText(u"driver"_s);
    ShowPage(Ui().tabsheet_ProjectProperties);
    RunRoute();
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_GT(treeReplaced, 0);
    EXPECT_EQ(StoredFirstObject().Hint, "typed");
}

class UnsavedChangesTest : public ::testing::Test, public UnsavedChangesFixture {};

TEST_F(UnsavedChangesTest, TheMarkFollowsEveryChangeASaveWouldWriteAndClearsOnLoadAndSave) {
    StartEditing();
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"Commit", [&] { Edit(); }},
        {"Add object", [&] { Ui().a_operation_item_AddObject->trigger(); }},
        {"Delete object",
         [&] {
             Select(Object(1));
             prompts.ConfirmAnswers = {true};
             Ui().a_operation_item_DeleteObject->trigger();
         }},
        {"Delete all",
         [&] {
             prompts.ConfirmAnswers = {true};
             Ui().a_operation_item_DeleteAll->trigger();
         }},
        {"Move",
         [&] {
             Select(Object(2));
             const QPoint onFirst =
                 TreeView().visualRect(Model().IndexFromNode(Object(0))).center();
             TreeView().DropAt(&TreeView(), onFirst, Qt::NoModifier);
         }},
        {"Project name", [&] { Ui().edit_ProjectName->setText(u"name"_s); }},
        {"Second name", [&] { Ui().edit_ProjectName2->setText(u"name"_s); }},
        {"Description", [&] { Ui().memo_ProjectDescription->setPlainText(u"about"_s); }},
        {"Data directory", [&] { Ui().edit_ProjectDataDir->setText(u"elsewhere"_s); }},
        {"No splash", [&] { Ui().button_DontShowSplahScreen->click(); }},
        {"Show time", [&] { Ui().spinedit_SplashShowTime->setValue(1000); }},
        {"Path mode", [&] { Ui().a_options_item_AbsolutePath->trigger(); }},
    };
    EXPECT_FALSE(Window().isWindowModified());
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        change();
        Idle();
        EXPECT_TRUE(Window().isWindowModified());
        EXPECT_TRUE(ShownTitle().endsWith(u"catalogue.tml*"_s));
        prompts.QuestionAnswers = {Answer::No};
        Open(path);
        EXPECT_FALSE(Window().isWindowModified());
        EXPECT_TRUE(ShownTitle().endsWith(u"catalogue.tml"_s));
    }

    Ui().edit_ProjectName->setText(u"saved name"_s);
    Ui().a_files_item_Save->trigger();
    EXPECT_FALSE(Window().isWindowModified());
    EXPECT_EQ(ReadProject(path).ProjectName, "saved name");
}

TEST_F(UnsavedChangesTest, EditsNotYetCommittedGoWithTheObjectTheyWereTypedFor) {
    StartEditing();
    Select(Object(0));
    Ui().edit_Hint->setText(u"first hint"_s);
    Select(Object(1));
    EXPECT_EQ(Object(0)->Data.Hint, "first hint");
    EXPECT_TRUE(Ui().edit_Hint->text().isEmpty());
    EXPECT_FALSE(Ui().a_button_Commit->isEnabled());

    // Adding an object moves the selection to it; deleting one takes its edits along.
    Ui().edit_Caption->setText(u"renamed"_s);
    Ui().a_operation_item_AddObject->trigger();
    Idle();
    EXPECT_EQ(Outline(Model().Tree()), "object 00 renamed0 New object0 object 20");
    Ui().edit_Hint->setText(u"gone with it"_s);
    prompts.ConfirmAnswers = {true};
    Ui().a_operation_item_DeleteObject->trigger();
    Idle();
    EXPECT_EQ(Outline(Model().Tree()), "object 00 renamed0 object 20");
    for (const ObjectNode* node : Model().Tree().TopLevel())
        EXPECT_NE(node->Data.Hint, "gone with it");
}

// The browser is the reader's: what is done there (a disc may be read-only) marks nothing and
// leads to no question; its path mode lasts while the project is open there.
TEST_F(UnsavedChangesTest, TheBrowserNeverAsks) {
    StartEditing();
    Ui().a_view_item_Browser->trigger();
    const std::string stored = testing::ReadWholeFile(path);
    Ui().a_options_item_AbsolutePath->trigger();
    EXPECT_EQ(Window().Session().ObjectActionContext().Mode, PathMode::Relative);
    Model().Append(nullptr, testing::Record("added"));  // as a command of the browser would
    Idle();
    EXPECT_FALSE(Window().isWindowModified());
    Ui().a_files_item_Exit->trigger();
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(testing::ReadWholeFile(path), stored);
}

TEST_F(UnsavedChangesTest, SaveAndSwitchAsksOnlyWhenItsSaveFailed) {
    StartEditing();
    prompts.FolderAnswers.push_back(QString::fromStdString(dataDir));
    Ui().a_files_item_New->trigger();
    EXPECT_FALSE(Window().isWindowModified());  // the new project's data directory is no change
    ShowPage(Ui().tabsheet_Data);
    Ui().a_operation_item_AddObject->trigger();

    Ui().a_view_item_SaveNBrowser->trigger();  // Save as is cancelled, and so is the question
    EXPECT_EQ(prompts.Questions,
              QStringList{u"Save the changes to the project < \"new project\" > ?"_s});
    EXPECT_TRUE(Window().IsEditorView());
    EXPECT_EQ(Outline(Model().Tree()), "New object0");

    const std::string saved = folder / "new.tml";
    prompts.SaveAnswers.push_back(QString::fromStdString(saved));
    Ui().a_view_item_SaveNBrowser->trigger();
    EXPECT_EQ(prompts.Questions.size(), 1);
    EXPECT_TRUE(Window().IsBrowserView());
    EXPECT_EQ(Outline(Model().Tree()), "New object0");
    EXPECT_EQ(Window().Session().CurrentFileName(), saved);
}

TEST_F(UnsavedChangesTest, MultiLineTextsKeepTheirLastLineEndAndShowNoEmptyLine) {
    TProjectRec project;
    project.ProjectDescription = "About\r\nthe disc\r\n";
    ObjectTree tree;
    TNodeData record = testing::Record("object");
    record.Comments = "a\r\nb\r\n";
    tree.Append(nullptr, record);
    const std::string file = folder / "texts.tml";
    testing::SaveProject(file, project, tree);
    const std::string bytes = testing::ReadWholeFile(file);

    Start();
    Ui().a_view_item_Editor->trigger();
    Open(file);
    Select(Object(0));
    EXPECT_EQ(Ui().memo_Comments->toPlainText(), u"a\nb"_s);
    EXPECT_EQ(Ui().memo_ProjectDescription->toPlainText(), u"About\nthe disc"_s);
    // Commit writes back what the box shows; unchanged, it changes nothing.
    Ui().memo_Comments->setPlainText(Ui().memo_Comments->toPlainText());
    Ui().a_button_Commit->trigger();
    EXPECT_FALSE(Window().isWindowModified());
    Ui().a_files_item_Save->trigger();
    EXPECT_EQ(testing::ReadWholeFile(file), bytes);
}

}  // namespace
}  // namespace tomlet
