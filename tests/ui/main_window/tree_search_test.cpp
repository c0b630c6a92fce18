#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <functional>

#include "main_window_test_support.h"
#include "support/modal_answers.h"
#include "support/tree_records.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {
namespace {

using testing::ModalAnswers;
using testing::Record;

// What a test does with the find dialog when it comes up.
struct DialogAnswer {
    QString Text;
    bool FromBeginning = false;
    bool Confirm = true;
};

class SearchCommandsTest : public ::testing::Test, public testing::MainWindowFixture {
protected:
    // Depth-first: Setup A, Docs, (readme, setup B), setup C, then `filler` plain objects.
    void OpenProject(int filler = 0) {
        ObjectTree tree;
        tree.Append(nullptr, Record("Setup A"));
        ObjectNode* docs = tree.Append(nullptr, Record("Docs"));
        tree.Append(docs, Record("readme"));
        tree.Append(docs, Record("setup B"));
        tree.Append(nullptr, Record("setup C"));
        for (int i = 0; i < filler; ++i)
            tree.Append(nullptr, Record("item " + std::to_string(i)));
        TProjectRec project;
        project.ProjectDataDir = folder.Path().string();
        const std::string path = folder / "find.tml";
        testing::SaveProject(path, project, tree);
        Start();
        Window().show();
        Window().Session().LoadProject(path);
        Idle();
        // The load's progress window took the activation.
        ActivateWindow();
    }

    ObjectNode* Node(const std::string& caption) {
        ObjectNode* found = nullptr;
        Model().Tree().ForEachDepthFirst([&](ObjectNode& node, int) {
            if (node.Data.Caption == caption && found == nullptr)
                found = &node;
        });
        return found;
    }
    std::string Selected() {
        const ObjectNode* node = TreeView().SelectedNode();
        return node != nullptr ? node->Data.Caption : "(none)";
    }

    // Fills in the find dialog as the user would.
    static std::function<void(QWidget&)> Fill(const DialogAnswer& answer) {
        return [answer](QWidget& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("edit_Text"))->setText(answer.Text);
            if (answer.FromBeginning)
                dialog.findChild<QRadioButton*>(QStringLiteral("radiobutton_FromBeginning"))
                    ->setChecked(true);
            const auto button =
                answer.Confirm ? QStringLiteral("button_Ok") : QStringLiteral("button_Cancel");
            dialog.findChild<QPushButton*>(button)->click();
        };
    }
    // Runs "Find..." and fills in the dialog.
    void Find(const DialogAnswer& answer) {
        ModalAnswers answers({Fill(answer)});
        Ui().a_search_item_Find->trigger();
        EXPECT_TRUE(answers.AllAnswered());
    }
    // The offscreen platform gives the activation back to no window when a dialog closes.
    void ActivateWindow() {
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }
    void FindForward() { Ui().a_search_item_FindForward->trigger(); }
    int NotFoundMessages() {
        return static_cast<int>(prompts.MessageTexts().count(QStringLiteral("Record not found!")));
    }
};

TEST_F(SearchCommandsTest, FromCurrentPositionFindsTheSelectedNodeThenMovesOn) {
    OpenProject();
    TreeView().SelectNode(Node("Setup A"));
    Find({QStringLiteral("SETUP")});
    EXPECT_EQ(Selected(), "Setup A");
    FindForward();
    EXPECT_EQ(Selected(), "setup B");
    EXPECT_TRUE(TreeView().isExpanded(Window().Model().IndexFromNode(Node("Docs"))));
    FindForward();
    EXPECT_EQ(Selected(), "setup C");
    EXPECT_EQ(NotFoundMessages(), 0);

    // After the last match: the warning, the selection kept, then the first match again.
    FindForward();
    EXPECT_EQ(NotFoundMessages(), 1);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages.front().Kind, MessageKind::Warning);
    EXPECT_EQ(Selected(), "setup C");
    FindForward();
    EXPECT_EQ(Selected(), "Setup A");
    EXPECT_EQ(NotFoundMessages(), 1);
}

TEST_F(SearchCommandsTest, FromBeginningOpensACollapsedBranchAndFocusesTheTree) {
    OpenProject(300);
    const QModelIndex docs = Window().Model().IndexFromNode(Node("Docs"));
    ASSERT_FALSE(TreeView().isExpanded(docs));
    TreeView().SelectNode(Node("item 299"));
    Ui().memo_BrowserComments->setFocus();
    Find({QStringLiteral("tup b"), true});
    EXPECT_EQ(Selected(), "setup B");
    EXPECT_TRUE(TreeView().isExpanded(docs));
    ActivateWindow();
    EXPECT_TRUE(TreeView().hasFocus());
    const QRect shown = TreeView().visualRect(Window().Model().IndexFromNode(Node("setup B")));
    EXPECT_TRUE(TreeView().viewport()->rect().contains(shown.center()));
    EXPECT_EQ(NotFoundMessages(), 0);
}

TEST_F(SearchCommandsTest, AFreshFindForwardOpensTheDialogWithTheStartingSettings) {
    OpenProject();
    bool shown = false;
    ModalAnswers answers({[&shown](QWidget& dialog) {
        shown = true;
        const auto box = [&](const char* name) {
            return dialog.findChild<QCheckBox*>(QLatin1String(name))->checkState();
        };
        EXPECT_EQ(dialog.objectName(), QStringLiteral("frm_Find"));
        EXPECT_EQ(box("checkbox_FindCaption"), Qt::Checked);
        EXPECT_EQ(box("checkbox_FindHint"), Qt::Unchecked);
        EXPECT_EQ(box("checkbox_FindEveryWhere"), Qt::PartiallyChecked);
        EXPECT_TRUE(
            dialog.findChild<QRadioButton*>(QStringLiteral("radiobutton_FromCurrentPosition"))
                ->isChecked());
        EXPECT_TRUE(dialog.findChild<QLineEdit*>(QStringLiteral("edit_Text"))->text().isEmpty());
        dialog.findChild<QPushButton*>(QStringLiteral("button_Cancel"))->click();
    }});
    TreeView().SelectNode(Node("Docs"));
    FindForward();
    EXPECT_TRUE(shown);
    // Cancelled: nothing searched, nothing said, nothing kept.
    EXPECT_EQ(Selected(), "Docs");
    EXPECT_TRUE(prompts.Messages.empty());
    EXPECT_EQ(Window().Search().FindState(), TFindRec{});
}

TEST_F(SearchCommandsTest, NothingSelectedStartsAtTheTopmostVisibleNode) {
    OpenProject(300);
    TreeView().scrollTo(Window().Model().IndexFromNode(Node("item 100")),
                        QAbstractItemView::PositionAtTop);
    TreeView().selectionModel()->clear();
    ASSERT_EQ(TreeView().SelectedNode(), nullptr);
    const std::string top =
        ObjectTreeModel::NodeFromIndex(TreeView().indexAt({0, 0}))->Data.Caption;
    ASSERT_EQ(top, "item 100");

    Find({QStringLiteral("item")});
    EXPECT_EQ(Selected(), top);
    EXPECT_EQ(Window().Search().FindState().NextIndex, 5 + 100 + 1);

    // With no match the selection stays on that node.
    TreeView().selectionModel()->clear();
    Find({QStringLiteral("nowhere")});
    EXPECT_EQ(Selected(), top);
    EXPECT_EQ(NotFoundMessages(), 1);
}

TEST_F(SearchCommandsTest, EmptyTextSearchesNothingAndForwardAsksAgain) {
    OpenProject();
    TreeView().SelectNode(Node("Docs"));
    Find({QString()});
    EXPECT_EQ(NotFoundMessages(), 1);
    EXPECT_EQ(Selected(), "Docs");
    // Find forward with an empty text opens the dialog instead of searching.
    ModalAnswers answers({Fill({QStringLiteral("readme")})});
    FindForward();
    EXPECT_TRUE(answers.AllAnswered());
    EXPECT_EQ(Selected(), "readme");
}

TEST_F(SearchCommandsTest, EnabledWithObjectsInTheBrowserOrOnTheDataPage) {
    OpenProject();
    EXPECT_TRUE(Ui().a_search_item_Find->isEnabled());
    EXPECT_TRUE(Ui().a_search_item_FindForward->isEnabled());

    Ui().a_view_item_Editor->trigger();  // reloads the project
    Ui().EditPageControl->setCurrentWidget(Ui().tabsheet_ProjectProperties);
    Idle();
    EXPECT_FALSE(Ui().a_search_item_Find->isEnabled());
    EXPECT_FALSE(Ui().a_search_item_FindForward->isEnabled());
    Ui().EditPageControl->setCurrentWidget(Ui().tabsheet_Data);
    Idle();
    EXPECT_TRUE(Ui().a_search_item_Find->isEnabled());
    EXPECT_TRUE(Ui().a_search_item_FindForward->isEnabled());

    Window().Session().CloseProject(ProjectSession::ForgetFileName::Yes);
    Idle();
    EXPECT_FALSE(Ui().a_search_item_Find->isEnabled());
    EXPECT_FALSE(Ui().a_search_item_FindForward->isEnabled());
}

TEST_F(SearchCommandsTest, TheKeysRunTheCommands) {
    OpenProject();
    TreeView().SelectNode(Node("Setup A"));
    TreeView().setFocus();
    ModalAnswers answers({Fill({QStringLiteral("setup")})});
    QTest::keyClick(&TreeView(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(answers.AllAnswered());
    EXPECT_EQ(Selected(), "Setup A");
    ActivateWindow();
    QTest::keyClick(&TreeView(), Qt::Key_F3);
    EXPECT_EQ(Selected(), "setup B");
}

}  // namespace
}  // namespace tomlet
