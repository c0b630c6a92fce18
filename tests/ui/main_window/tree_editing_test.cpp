#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <map>

#include "core/catalogue.h"
#include "core/object_tree.h"
#include "main_window_test_support.h"
#include "platform/text_codec.h"
#include "support/project_files.h"
#include "support/tree_records.h"
#include "ui/base/qt_text.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::OnlyMessage;
using testing::QText;

// An editor on the data page of a project whose data directory is a real temporary folder.
class TreeEditingTest : public ::testing::Test, public testing::MainWindowFixture {
protected:
    void SetUp() override {
        dataDir = folder.MakeFolder("data");
        Start();
        Ui().a_view_item_Editor->trigger();
        OpenProjectIn(dataDir);
        ShowPage(Ui().tabsheet_Data);
    }

    ObjectNode* Add(ObjectNode* parent, std::string caption, std::uint8_t type = otFile) {
        return Model().Append(parent,
                              testing::Record(std::move(caption), type, oaOpenByAssociation));
    }
    std::string Outline() { return testing::Outline(Model().Tree()); }
    bool CommitEnabled() {
        Idle();
        return Ui().a_button_Commit->isEnabled() && Ui().button_Commit->isEnabled();
    }
    // The author picks an item of a list.
    static void Choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        Q_EMIT list->activated(index);
    }
    QString Field(QLineEdit* edit) { return edit->text(); }

    std::string dataDir;
};

TEST_F(TreeEditingTest, AddObjectFollowsTheSelectedObject) {
    std::vector<ObjectNode*> siblings;
    for (const char* caption : {"S1", "S2", "S3", "S4", "S5"})
        siblings.push_back(Add(nullptr, caption));
    Select(siblings[3]);
    Ui().a_operation_item_AddObject->trigger();
    Idle();

    EXPECT_EQ(Outline(), "S10 S20 S30 S40 New object0 S50");
    const ObjectNode* created = TreeView().SelectedNode();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->Row(), 4);
    EXPECT_EQ(Field(Ui().edit_Caption), QStringLiteral("New object"));
    EXPECT_EQ(Ui().combobox_ObjectType->currentText(), QStringLiteral("Virtual folder"));
    EXPECT_EQ(Ui().combobox_ObjectAction->currentText(), QStringLiteral("No action"));
    EXPECT_FALSE(CommitEnabled());
}

TEST_F(TreeEditingTest, AddObjectNeedsADataDirectoryAndTheDataPage) {
    EXPECT_TRUE(Ui().a_operation_item_AddObject->isEnabled());
    EXPECT_FALSE(Ui().a_operation_item_AddChildObject->isEnabled());
    EXPECT_FALSE(Ui().a_operation_item_DeleteAll->isEnabled());
    Ui().a_operation_item_AddObject->trigger();
    Idle();
    EXPECT_EQ(Outline(), "New object0");
    EXPECT_TRUE(Ui().a_operation_item_DeleteObject->isEnabled());
    EXPECT_TRUE(Ui().a_operation_item_ExpandTree->isEnabled());

    ShowPage(Ui().tabsheet_ProjectProperties);
    EXPECT_FALSE(Ui().a_operation_item_AddObject->isEnabled());
    EXPECT_FALSE(Ui().a_operation_item_CollapseTree->isEnabled());

    prompts.QuestionAnswers = {Answer::No};
    OpenProjectIn({}, 1);
    ShowPage(Ui().tabsheet_Data);
    EXPECT_FALSE(Ui().a_operation_item_AddObject->isEnabled());
    EXPECT_FALSE(Ui().a_operation_item_DeleteAll->isEnabled());
    EXPECT_TRUE(Ui().a_operation_item_CollapseTree->isEnabled());
}

TEST_F(TreeEditingTest, ChildrenOnlyForFoldersAndVirtualFolders) {
    ObjectNode* file = Add(nullptr, "file");
    ObjectNode* group = Add(nullptr, "group", otVirtualFolder);
    Add(group, "first");
    Select(file);
    Ui().a_operation_item_AddChildObject->trigger();
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Warning,
                          QText(TextId::message_NestedObjectsAddedOnlyFolderOrVirtualFolder)));
    EXPECT_EQ(Outline(), "file0 group0 first1");

    Select(group);
    Ui().a_operation_item_AddChildObject->trigger();
    EXPECT_EQ(Outline(), "file0 group0 first1 New object1");
    EXPECT_EQ(TreeView().SelectedNode(), group->Child(1));
    EXPECT_TRUE(TreeView().isExpanded(Model().IndexFromNode(group)));
}

TEST_F(TreeEditingTest, OnlyTheAuthorsChoiceInAListEnablesCommit) {
    ObjectNode* node = Add(nullptr, "object");
    Select(node);
    EXPECT_FALSE(CommitEnabled());
    Ui().combobox_ObjectType->setCurrentIndex(otPicture);
    EXPECT_FALSE(CommitEnabled());
    Choose(Ui().combobox_ObjectAction, oaExecute);
    EXPECT_TRUE(CommitEnabled());

    Window().Fields().ShowObjectFields();
    EXPECT_FALSE(CommitEnabled());
    Ui().combobox_Keywords->setEditText(QStringLiteral("driver"));
    EXPECT_TRUE(CommitEnabled());
    Window().Fields().ShowObjectFields();
    Ui().memo_Comments->setPlainText(QStringLiteral("more"));
    EXPECT_TRUE(CommitEnabled());
}

// A caption the project's code page lacks is refused with the characters named, never stored as
// '?'; a UTF-8 project stores it. The project saves under a name in any script and is listed.
TEST_F(TreeEditingTest, CommitRefusesWhatTheCodePageLacksAndAnyNameSaves) {
    ObjectNode* node = Add(nullptr, "object");
    Select(node);
    for (const int codePage : {1252, TextCodec::Utf8}) {
        const ScopedProjectCodePage project(codePage);
        prompts.Messages.clear();
        Ui().edit_Caption->setText(u"Начало"_s);
        Ui().a_button_Commit->trigger();
        const bool held = codePage == TextCodec::Utf8;
        EXPECT_EQ(node->Data.Caption, held ? "Начало" : "object");
        EXPECT_EQ(Field(Ui().edit_Caption), u"Начало"_s);
        EXPECT_EQ(prompts.MessageTexts().size(), held ? 0 : 1);
        if (!held)
            EXPECT_TRUE(prompts.MessageTexts().front().contains(u"Н а ч л о"_s) &&
                        prompts.MessageTexts().front().contains(u"_CodePage=65001"_s));
    }
    QStringList saved;
    for (const char* name : {"Каталог.tml", "Κατάλογος.tml", "目录.tml"}) {
        saved.prepend(ToQString(folder / name));
        prompts.SaveAnswers.push_back(saved.front());
        Ui().a_files_item_SaveAS->trigger();
        EXPECT_EQ(testing::LoadProject(folder / name).Tree.TopLevel().front()->Data.Caption,
                  "Начало");
    }
    EXPECT_TRUE(prompts.Messages.empty());
    EXPECT_EQ(RecentItems().first(saved.size()), saved);  // newest first, before the one opened
}

TEST_F(TreeEditingTest, CommitWritesTheFieldsAndForcesTheRulesOfFolders) {
    ObjectNode* node = Add(nullptr, "object");
    Select(node);
    Ui().edit_PathFileName->setText(QStringLiteral("Setup\\setup.exe"));
    Ui().edit_Parameters->setText(QStringLiteral("/s"));
    Ui().edit_Caption->setText(QStringLiteral("Group"));
    Ui().edit_Hint->setText(QStringLiteral("a hint"));
    Ui().memo_Comments->setPlainText(QStringLiteral("one\ntwo"));
    Choose(Ui().combobox_ObjectType, otVirtualFolder);
    Choose(Ui().combobox_ObjectAction, oaExecute);
    Ui().a_button_Commit->trigger();

    EXPECT_EQ(node->Data.Caption, "Group");
    EXPECT_EQ(node->Data.Hint, "a hint");
    EXPECT_EQ(node->Data.PathFileName, "");
    EXPECT_EQ(node->Data.Parameters, "");
    EXPECT_EQ(node->Data.ObjectType, otVirtualFolder);
    EXPECT_EQ(node->Data.ObjectAction, oaNoAction);
    EXPECT_EQ(node->Data.Comments, "one\r\ntwo\r\n");
    EXPECT_EQ(Model().data(Model().IndexFromNode(node)).toString(), QStringLiteral("Group"));
    EXPECT_FALSE(CommitEnabled());

    Ui().edit_PathFileName->setText(QStringLiteral("Docs"));
    Choose(Ui().combobox_ObjectType, otFolder);
    Choose(Ui().combobox_ObjectAction, oaOpenByNotepad);
    Ui().a_button_Commit->trigger();
    EXPECT_EQ(node->Data.PathFileName, "Docs");
    EXPECT_EQ(node->Data.ObjectAction, oaOpen);
    EXPECT_EQ(Ui().combobox_ObjectAction->currentIndex(), oaOpen);
}

TEST_F(TreeEditingTest, CommitKeepsATypeTheListHasNoItemFor) {
    ObjectNode* node = Add(nullptr, "odd", 77);
    Select(node);
    EXPECT_EQ(Ui().combobox_ObjectType->currentIndex(), -1);
    Ui().edit_Hint->setText(QStringLiteral("kept"));
    Ui().a_button_Commit->trigger();
    EXPECT_EQ(node->Data.ObjectType, 77);
    EXPECT_EQ(node->Data.Hint, "kept");
}

TEST_F(TreeEditingTest, EnterInTheFieldsAndTheTree) {
    Window().show();
    ObjectNode* node = Add(nullptr, "object");
    Select(node);

    // With nothing edited Enter only moves to the tree.
    QSignalSpy written(&Model(), &QAbstractItemModel::dataChanged);
    Ui().edit_Hint->setFocus();
    QTest::keyClick(Ui().edit_Hint, Qt::Key_Return);
    EXPECT_TRUE(written.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), Ui().TreeView);
    // In the editor's tree Enter goes on to the caption and runs nothing.
    QTest::keyClick(Ui().TreeView, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Ui().edit_Caption);
    EXPECT_TRUE(shell.Untouched());

    Ui().edit_Caption->setText(QStringLiteral("renamed"));
    QTest::keyClick(Ui().edit_Caption, Qt::Key_Enter);
    EXPECT_EQ(node->Data.Caption, "renamed");
    EXPECT_FALSE(CommitEnabled());

    // In the comments Ctrl+Enter and Shift+Enter start a new line and Enter commits.
    Ui().memo_Comments->setFocus();
    QTest::keyClicks(Ui().memo_Comments, QStringLiteral("a"));
    QTest::keyClick(Ui().memo_Comments, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(Ui().memo_Comments, QStringLiteral("b"));
    QTest::keyClick(Ui().memo_Comments, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(Ui().memo_Comments, QStringLiteral("c"));
    EXPECT_EQ(Ui().memo_Comments->toPlainText(), QStringLiteral("a\nb\nc"));
    QTest::keyClick(Ui().memo_Comments, Qt::Key_Return);
    EXPECT_EQ(Ui().memo_Comments->toPlainText(), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(node->Data.Comments, "a\r\nb\r\nc\r\n");  // every line ends with CR LF

    // The keywords box never takes Enter as a new item of its list.
    const int keywords = Ui().combobox_Keywords->count();
    QTest::keyClicks(Ui().combobox_Keywords->lineEdit(), QStringLiteral("cdrom"));
    QTest::keyClick(Ui().combobox_Keywords->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Ui().combobox_Keywords->count(), keywords);
    EXPECT_EQ(Ui().combobox_Keywords->currentText(), QStringLiteral("cdrom"));
}

// Tab and Shift+Tab leave both memos, as every other field, and type nothing into them.
TEST_F(TreeEditingTest, TabLeavesTheMemos) {
    Window().show();
    Select(Add(nullptr, "object"));
    for (QWidget* page : {Ui().tabsheet_Data, Ui().tabsheet_ProjectProperties}) {
        ShowPage(page);
        QPlainTextEdit* memo =
            page == Ui().tabsheet_Data ? Ui().memo_Comments : Ui().memo_ProjectDescription;
        for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
            memo->setFocus();
            QTest::keyClick(memo, modifiers ? Qt::Key_Backtab : Qt::Key_Tab, modifiers);
            EXPECT_NE(QApplication::focusWidget(), memo) << memo->objectName().toStdString();
            EXPECT_TRUE(memo->toPlainText().isEmpty());
        }
    }
}

// On the editor's tree Delete and Insert run their commands, F2 goes to the caption and
// Shift+F10 opens the context menu; in the browser the editing keys do nothing.
TEST_F(TreeEditingTest, TheTreesKeys) {
    Window().show();
    Select(Add(nullptr, "first"));
    TreeView().setFocus();
    QTest::keyClick(&TreeView(), Qt::Key_F2);
    EXPECT_EQ(QApplication::focusWidget(), Ui().edit_Caption);

    QTest::keyClick(&TreeView(), Qt::Key_Insert);
    Idle();
    EXPECT_EQ(Outline(), "first0 " + Text(TextId::text_NewObject) + "0");

    prompts.ConfirmAnswers.push_back(true);
    QTest::keyClick(&TreeView(), Qt::Key_Delete);
    EXPECT_EQ(prompts.Confirmations.size(), 1);
    EXPECT_EQ(Outline(), "first0");

    QWidget* popup = nullptr;
    QTimer::singleShot(0, [&popup] {
        popup = QApplication::activePopupWidget();
        if (popup != nullptr)
            popup->close();
    });
    QTest::keyClick(&TreeView(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(popup, static_cast<QWidget*>(Ui().RxPopupMenu));

    prompts.QuestionAnswers.push_back(Answer::No);
    Ui().a_view_item_Browser->trigger();
    ASSERT_TRUE(Window().IsBrowserView());
    Select(Add(nullptr, "browsed"));
    for (const Qt::Key key : {Qt::Key_Insert, Qt::Key_Delete})
        QTest::keyClick(&TreeView(), key);
    EXPECT_EQ(Outline(), "browsed0");
    EXPECT_EQ(prompts.Confirmations.size(), 1);
}

TEST_F(TreeEditingTest, DeleteAsksAndEmptiesTheFieldsWithTheLastObject) {
    ObjectNode* node = Add(nullptr, "only one");
    Select(node);
    Ui().combobox_Keywords->setEditText(QStringLiteral("archive"));
    Ui().a_operation_item_DeleteObject->trigger();
    ASSERT_EQ(prompts.Confirmations.size(), 1);
    EXPECT_EQ(prompts.Confirmations[0], QStringLiteral("Delete object < \"only one\" > ?"));
    EXPECT_EQ(Outline(), "only one0");

    prompts.ConfirmAnswers.push_back(true);
    Ui().a_operation_item_DeleteObject->trigger();
    EXPECT_EQ(Outline(), "");
    for (QLineEdit* edit :
         {Ui().edit_PathFileName, Ui().edit_Parameters, Ui().edit_Caption, Ui().edit_Hint})
        EXPECT_TRUE(edit->text().isEmpty()) << edit->objectName().toStdString();
    EXPECT_EQ(Ui().combobox_ObjectType->currentIndex(), -1);
    EXPECT_EQ(Ui().combobox_ObjectAction->currentIndex(), -1);
    EXPECT_TRUE(Ui().memo_Comments->toPlainText().isEmpty());
    EXPECT_EQ(Ui().combobox_Keywords->currentText(), QStringLiteral("archive"));
    EXPECT_FALSE(CommitEnabled());
    Idle();
    EXPECT_FALSE(Ui().edit_Caption->isEnabled());
}

TEST_F(TreeEditingTest, DeleteAllAsksFirst) {
    ObjectNode* group = Add(nullptr, "group", otFolder);
    Add(group, "inside");
    Select(group);
    Ui().a_operation_item_DeleteAll->trigger();
    EXPECT_EQ(Outline(), "group0 inside1");
    prompts.ConfirmAnswers.push_back(true);
    Ui().a_operation_item_DeleteAll->trigger();
    EXPECT_EQ(Outline(), "");
    EXPECT_TRUE(Ui().edit_Caption->text().isEmpty());
    EXPECT_EQ(prompts.Confirmations[1], QText(TextId::message_DeleteAllInformation));
}

TEST_F(TreeEditingTest, ChoosingAFileNamesANewObjectOnce) {
    const std::string setup = folder.WriteFile("data/Setup/setup.exe", "MZ");
    const std::string readme = folder.WriteFile("data/Setup/ReadMe.TXT", "hello");
    Ui().a_operation_item_AddObject->trigger();
    Idle();
    prompts.FolderAnswers.push_back(QString::fromStdString(setup));
    Ui().edit_PathFileNameButton->trigger();

    ASSERT_EQ(prompts.FolderRequests.size(), 1u);
    const FolderPickerRequest& request = prompts.FolderRequests[0];
    EXPECT_EQ(request.Title,
              QStringLiteral("Project data dir: ") + QString::fromStdString(dataDir));
    EXPECT_EQ(request.RootFolder, QString::fromStdString(dataDir));
    EXPECT_EQ(request.InitialSelection, QString::fromStdString(dataDir));
    EXPECT_TRUE(request.IncludeFiles);
    EXPECT_EQ(Field(Ui().edit_PathFileName), QStringLiteral("Setup\\setup.exe"));
    EXPECT_EQ(Field(Ui().edit_Caption), QStringLiteral("setup.exe"));
    EXPECT_EQ(Ui().combobox_ObjectType->currentIndex(), otExecuteFile);
    EXPECT_EQ(Ui().combobox_ObjectAction->currentIndex(), oaExecute);
    EXPECT_TRUE(CommitEnabled());
    EXPECT_EQ(TreeView().SelectedNode()->Data.PathFileName, "");  // only Commit writes

    prompts.FolderAnswers.push_back(QString::fromStdString(readme));
    Ui().edit_PathFileNameButton->trigger();
    EXPECT_EQ(prompts.FolderRequests[1].InitialSelection, QString::fromStdString(setup));
    EXPECT_EQ(Field(Ui().edit_Caption), QStringLiteral("setup.exe"));
    EXPECT_EQ(Ui().combobox_ObjectType->currentIndex(), otTextFile);
    EXPECT_EQ(Ui().combobox_ObjectAction->currentIndex(), oaOpenByAssociation);
}

TEST_F(TreeEditingTest, AnObjectWithChildrenKeepsAFolderPath) {
    const std::string file = folder.WriteFile("data/notes.txt", "x");
    const std::string docs = folder.MakeFolder("data/Docs");
    ObjectNode* group = Add(nullptr, "group", otVirtualFolder);
    Add(group, "child");
    Select(group);

    prompts.FolderAnswers.push_back(QString::fromStdString(file));
    Ui().edit_PathFileNameButton->trigger();
    EXPECT_EQ(prompts.MessageTexts(),
              QStringList{QText(TextId::message_ChangeCanceled_FolderCantBeFile)});
    EXPECT_EQ(Field(Ui().edit_PathFileName), QString());
    EXPECT_EQ(Ui().combobox_ObjectType->currentIndex(), otVirtualFolder);
    EXPECT_FALSE(CommitEnabled());

    prompts.FolderAnswers.push_back(QString::fromStdString(docs));
    Ui().edit_PathFileNameButton->trigger();
    EXPECT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(Field(Ui().edit_PathFileName), QStringLiteral("Docs"));
    EXPECT_EQ(Ui().combobox_ObjectType->currentIndex(), otFolder);
    EXPECT_EQ(Ui().combobox_ObjectAction->currentIndex(), oaOpen);
    EXPECT_EQ(Field(Ui().edit_Caption), QStringLiteral("group"));
}

TEST_F(TreeEditingTest, APathOutsideTheDataDirectoryIsRefused) {
    Select(Add(nullptr, "object"));
    prompts.FolderAnswers.push_back(QString::fromStdString(folder.WriteFile("elsewhere.txt")));
    Ui().edit_PathFileNameButton->trigger();
    EXPECT_EQ(prompts.MessageTexts(),
              QStringList{QText(TextId::message_PathNotContainInProjectDir)});
    EXPECT_EQ(Field(Ui().edit_PathFileName), QString());
    EXPECT_FALSE(CommitEnabled());
}

// A dragged object lands just before the object it is dropped on, or with Ctrl as the last child
// of a folder or virtual folder, which opens; never in its own subtree. The selection and the
// edits in the fields stay with it.
TEST_F(TreeEditingTest, DroppingMovesTheSelectedObject) {
    struct Case {
        const char* Dragged;
        const char* Target;  // empty: below the last object
        bool Ctrl;
        const char* Outline;
    };
    const Case cases[] = {
        {"C", "A2", false, "A0 A11 C1 A21 B0"}, {"A1", "B", true, "A0 A21 B0 A11 C0"},
        {"C", "A1", true, "A0 C1 A11 A21 B0"},   // a file takes no children
        {"A", "A2", false, "A0 A11 A21 B0 C0"},  // into its own subtree
        {"A", "", false, "A0 A11 A21 B0 C0"},
    };
    for (const Case& drop : cases) {
        SCOPED_TRACE(std::string(drop.Dragged) + " onto " + drop.Target);
        Model().ClearObjectTree();
        ObjectNode* a = Add(nullptr, "A", otFolder);
        const std::map<std::string, ObjectNode*> nodes = {{"A", a},
                                                          {"A1", Add(a, "A1")},
                                                          {"A2", Add(a, "A2")},
                                                          {"B", Add(nullptr, "B", otVirtualFolder)},
                                                          {"C", Add(nullptr, "C")}};
        TreeView().expand(Model().IndexFromNode(a));
        ObjectNode* dragged = nodes.at(drop.Dragged);
        Select(dragged);
        Ui().edit_Hint->setText(QStringLiteral("not yet committed"));
        const ObjectNode* target = *drop.Target ? nodes.at(drop.Target) : nullptr;
        const QPoint at = target != nullptr
                              ? TreeView().visualRect(Model().IndexFromNode(target)).center()
                              : QPoint(5, TreeView().viewport()->height() - 2);
        TreeView().DropAt(&TreeView(), at, drop.Ctrl ? Qt::ControlModifier : Qt::NoModifier);

        EXPECT_EQ(Outline(), drop.Outline);
        EXPECT_TRUE(TreeView().isExpanded(Model().IndexFromNode(dragged->Parent())) ||
                    dragged->Parent() == nullptr);
        EXPECT_EQ(TreeView().SelectedNode(), dragged);
        EXPECT_EQ(Field(Ui().edit_Hint), QStringLiteral("not yet committed"));
    }
}

}  // namespace
}  // namespace tomlet
