#include <gtest/gtest.h>

#include <QMenu>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "core/catalogue.h"
#include "core/object_tree.h"
#include "main_window_test_support.h"
#include "support/scoped_environment.h"
#include "support/test_system.h"
#include "support/tree_records.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using Launch = testing::FakeShell::Start;
using testing::QText;

// A browser over a project in absolute mode whose data directory is a real temporary folder.
class ObjectRunningTest : public ::testing::Test, public testing::MainWindowFixture {
protected:
    void SetUp() override {
        dataDir = folder.MakeFolder("data");
        Start();
        OpenProjectIn(dataDir);
    }

    ObjectNode* Add(std::string caption, std::uint8_t type, std::uint8_t action,
                    std::string path = {}, std::string parameters = {}) {
        TNodeData record = testing::Record(std::move(caption), type, action, std::move(path));
        record.Parameters = std::move(parameters);
        return Model().Append(nullptr, std::move(record));
    }
    QPoint LabelOf(const ObjectNode* node) {
        return TreeView().visualRect(Model().IndexFromNode(node)).center();
    }
    void DoubleClick(const ObjectNode* node) {
        QTest::mouseClick(TreeView().viewport(), Qt::LeftButton, {}, LabelOf(node));
        QTest::mouseDClick(TreeView().viewport(), Qt::LeftButton, {}, LabelOf(node));
    }
    // The context menu's first item as it is just before the menu opens.
    QAction* FirstMenuItem() {
        Q_EMIT Ui().RxPopupMenu->aboutToShow();
        return Ui().menuitem_NoAction;
    }
    QString Data(const std::string& relative) { return QString::fromStdString(folder / relative); }
    static QString ObjectFailure(TextId text, const std::string& path) {
        return ToQString(FormatString(Text(text), path));
    }

    const testing::ScopedEnvironment visual{"VISUAL", "my-editor --new-window"};
    std::string dataDir;
};

TEST_F(ObjectRunningTest, DoubleClickRunsTheOwnActionExceptOnFolders) {
    const std::string program = folder.WriteFile("data/Setup/setup.exe", "MZ");
    folder.MakeFolder("data/Docs");
    ObjectNode* setup = Add("Setup", otExecuteFile, oaExecute, "Setup\\setup.exe", "/s \"a b\"");
    ObjectNode* docs = Add("Docs", otFolder, oaOpen, "Docs");
    Model().Append(docs, testing::Record("inside"));
    TreeView().collapseAll();

    DoubleClick(docs);
    EXPECT_TRUE(shell.Untouched());
    EXPECT_TRUE(TreeView().isExpanded(Model().IndexFromNode(docs)));

    DoubleClick(setup);
    if (testing::OnWindows)
        EXPECT_EQ(shell.CommandLines,
                  QStringList{u'"' + QString::fromStdString(program) + u"\" /s \"a b\""_s});
    else
        EXPECT_EQ(shell.Started,
                  std::vector<Launch>({{QString::fromStdString(program),
                                        {QStringLiteral("/s"), QStringLiteral("a b")}}}));
}

// A folder opens in the file browser. In the editor plain Enter goes to the caption instead.
TEST_F(ObjectRunningTest, EnterInTheBrowserAndCtrlEnterInTheEditorRunTheOwnAction) {
    folder.MakeFolder("data/Docs");
    Select(Add("Docs", otFolder, oaOpen, "Docs"));
    QTest::keyClick(&TreeView(), Qt::Key_Return);
    EXPECT_EQ(shell.Opened, QStringList{Data("data/Docs")});

    folder.WriteFile("data/readme.txt", "hello");
    prompts.QuestionAnswers = {Answer::No};  // the object added
    Ui().a_view_item_Editor->trigger();
    ASSERT_TRUE(Window().IsEditorView());
    Select(Add("Read me", otTextFile, oaOpenByAssociation, "readme.txt"));
    QTest::keyClick(&TreeView(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(shell.Opened, (QStringList{Data("data/Docs"), Data("data/readme.txt")}));
}

TEST_F(ObjectRunningTest, AlternateActionsOnATextFile) {
    folder.WriteFile("data/readme.txt", "hello");
    Select(Add("Read me", otTextFile, oaOpenByAssociation, "readme.txt"));
    Ui().a_action_item_OpenAction->trigger();
    Ui().a_action_item_ExecuteAction->trigger();
    EXPECT_TRUE(shell.Untouched());
    Ui().a_action_item_NotePadAction->trigger();
    if (testing::OnWindows)
        EXPECT_EQ(shell.CommandLines, QStringList{u"notepad.exe "_s + Data("data/readme.txt")});
    else
        EXPECT_EQ(
            shell.Started,
            std::vector<Launch>({{QStringLiteral("my-editor"),
                                  {QStringLiteral("--new-window"), Data("data/readme.txt")}}}));
    Ui().a_action_item_AssociationAction->trigger();
    EXPECT_EQ(shell.Opened, QStringList{Data("data/readme.txt")});
}

TEST_F(ObjectRunningTest, RelativeModeResolvesFromTheProgramFolder) {
    const std::string program = folder.WriteFile("Tools/run.COM", "MZ");
    Ui().a_options_item_AbsolutePath->trigger();
    Select(Add("Run", otExecuteFile, oaExecute, "tools\\RUN.com"));
    Ui().a_action_item_Action->trigger();
    if (testing::OnWindows) {  // as stored: the file system ignores case itself
        EXPECT_EQ(shell.CommandLines, QStringList{u'"' + Data("tools/RUN.com") + u'"'});
    } else {
        ASSERT_EQ(shell.Started.size(), 1u);
        EXPECT_EQ(shell.Started[0].Program, QString::fromStdString(program));
    }
}

// A catalogue may come from anywhere: what it starts beyond its disc is named first, and starts
// only on Yes (No is the default). The disc's own objects run at once.
TEST_F(ObjectRunningTest, AnActionOutsideTheDiscAsksFirstNamingWhatStarts) {
    folder.WriteFile("data/Setup/setup.exe", "MZ");
    folder.WriteFile("outside/tool.exe", "MZ");
    folder.MakeFolder("outside/Docs");
    ObjectNode* inside = Add("Setup", otExecuteFile, oaExecute, "Setup\\setup.exe");
    ObjectNode* tool = Add("Tool", otExecuteFile, oaExecute, "..\\outside\\tool.exe", "/x");
    ObjectNode* docs = Add("Docs", otFolder, oaOpen, "..\\outside\\Docs");
    const auto launches = [&] {
        return shell.Started.size() + static_cast<std::size_t>(shell.CommandLines.size()) +
               static_cast<std::size_t>(shell.Opened.size());
    };

    Select(inside);
    Ui().a_action_item_Action->trigger();
    EXPECT_EQ(launches(), 1u);
    EXPECT_TRUE(prompts.DefaultNoConfirmations.isEmpty());

    Select(tool);
    Ui().a_action_item_Action->trigger();  // answered No
    EXPECT_EQ(launches(), 1u);
    ASSERT_EQ(prompts.DefaultNoConfirmations.size(), 1);
    const QString question = prompts.DefaultNoConfirmations[0];
    EXPECT_TRUE(question.startsWith(QText(TextId::message_RunOutsideDisc_S).section(u'%', 0, 0)))
        << question.toStdString();
    // Where the path really leads, without the ".." that climbs out of the disc.
    EXPECT_TRUE(question.contains(Data("outside/tool.exe")) && question.contains(u" /x"_s))
        << question.toStdString();
    EXPECT_FALSE(question.contains(u".."_s)) << question.toStdString();

    prompts.ConfirmAnswers = {true, false};
    Ui().a_action_item_Action->trigger();
    EXPECT_EQ(launches(), 2u);
    Select(docs);
    Ui().a_action_item_Action->trigger();
    EXPECT_EQ(launches(), 2u);
    EXPECT_EQ(prompts.DefaultNoConfirmations.size(), 3);
    EXPECT_TRUE(prompts.Confirmations.isEmpty());
}

TEST_F(ObjectRunningTest, TheContextMenusFirstItemFollowsTheOwnAction) {
    folder.WriteFile("data/picture.jpg", "jpeg");
    ObjectNode* none = Add("none", otFile, oaNoAction, "picture.jpg");
    ObjectNode* viewer = Add("viewer", otPicture, oaOpenByInternalViewer, "picture.jpg");
    ObjectNode* notepad = Add("notepad", otPicture, oaOpenByInternalNotepad, "picture.jpg");
    ObjectNode* association = Add("association", otPicture, oaOpenByAssociation, "picture.jpg");

    for (const ObjectNode* hidden : {none, viewer, notepad}) {
        Select(hidden);
        EXPECT_FALSE(FirstMenuItem()->isVisible()) << hidden->Data.Caption;
    }
    Select(association);
    QAction* first = FirstMenuItem();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(WithoutAccessLetter(first->text()), QStringLiteral("Open by association"));
    // A letter of its own within the context menu.
    const QKeySequence letter = QKeySequence::mnemonic(first->text());
    EXPECT_FALSE(letter.isEmpty());
    for (const QAction* other : Ui().RxPopupMenu->actions()) {
        if (other != first) {
            EXPECT_NE(QKeySequence::mnemonic(other->text()), letter) << other->text().toStdString();
        }
    }
    first->trigger();
    EXPECT_EQ(shell.Opened, QStringList{Data("data/picture.jpg")});

    // The alternate actions are always there, and the internal viewer opens by association.
    EXPECT_TRUE(Ui().menu_Alternate->menuAction()->isVisible());
    Select(viewer);
    Ui().a_action_item_Action->trigger();
    EXPECT_EQ(shell.Opened.size(), 2);

    const QList<QAction*> items = Ui().RxPopupMenu->actions();
    EXPECT_EQ(items.at(0), Ui().menuitem_NoAction);
    EXPECT_EQ(items.at(1), Ui().menu_Alternate->menuAction());
    EXPECT_EQ(items.last(), Ui().a_action_item_OpenFolderContainingObject);
}

TEST_F(ObjectRunningTest, OpenFolderContainingTheObject) {
    const std::string manual = folder.WriteFile("data/Docs/manual.txt", "x");
    ObjectNode* file = Add("Manual", otTextFile, oaOpenByAssociation, "Docs\\manual.txt");
    ObjectNode* group = Add("Group", otVirtualFolder, oaNoAction);
    Select(group);
    EXPECT_FALSE(Ui().a_action_item_OpenFolderContainingObject->isEnabled());

    Select(file);
    EXPECT_TRUE(Ui().a_action_item_OpenFolderContainingObject->isEnabled());
    Ui().a_action_item_OpenFolderContainingObject->trigger();
    EXPECT_EQ(shell.Opened, QStringList{Data("data/Docs")});

    std::filesystem::remove(manual);
    Ui().a_action_item_OpenFolderContainingObject->trigger();
    EXPECT_EQ(shell.Opened.size(), 1);
    EXPECT_EQ(prompts.Messages,
              testing::OnlyMessage(MessageKind::Warning,
                                   ObjectFailure(TextId::message_ObjectMissing_S, manual)));
}

// An action that cannot run says why, naming where the object's path leads; an object without
// an action and a virtual folder say nothing.
TEST_F(ObjectRunningTest, AnActionThatCannotRunSaysWhy) {
    const std::string picture = folder.WriteFile("data/logo.jpg", "jpeg");
    const std::string missing = folder / "data/readme.txt";
    const struct {
        TNodeData Record;
        ShellOutcome Outcome;
        QString Message;  // none: quiet
    } cases[] = {
        {testing::Record("Read me", otTextFile, oaOpenByAssociation, "Docs\\..\\readme.txt"),
         {},
         ObjectFailure(TextId::message_ObjectMissing_S, missing)},
        {testing::Record("Logo", otPicture, oaOpenByAssociation, "logo.jpg"),
         {.What = ShellOutcome::Kind::NoProgram},
         ObjectFailure(TextId::message_NoProgramToOpen_S, picture)},
        {testing::Record("Logo", otPicture, oaOpenByNotepad, "logo.jpg"),
         {.What = ShellOutcome::Kind::Failed, .Reason = u"No such file or directory"_s},
         ObjectFailure(TextId::message_CannotStart_S, testing::OnWindows
                                                          ? "notepad.exe " + picture
                                                          : "my-editor --new-window " + picture) +
             u"\r\nNo such file or directory"_s},
        {testing::Record("Nothing", otFile, oaNoAction, "readme.txt"),
         {.What = ShellOutcome::Kind::NoProgram},
         {}},
        {testing::Record("Group", otVirtualFolder, oaNoAction),
         {.What = ShellOutcome::Kind::NoProgram},
         {}},
    };
    for (const auto& [record, outcome, message] : cases) {
        shell.Outcome = outcome;
        prompts.Messages.clear();
        Select(Model().Append(nullptr, record));
        Ui().a_action_item_Action->trigger();
        if (message.isEmpty())
            EXPECT_TRUE(prompts.Messages.empty()) << record.Caption;
        else
            EXPECT_EQ(prompts.Messages, testing::OnlyMessage(MessageKind::Warning, message))
                << record.Caption;
    }
}

TEST_F(ObjectRunningTest, TheHoverHintDescribesTheObjectsFile) {
    const std::string path = folder.WriteFile("data/readme.txt", std::string(1536, 'x'));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    ObjectNode* node = Add("Read me", otTextFile, oaOpenByAssociation, "readme.txt", "/q");
    Window().resize(640, 480);
    Window().show();
    const QPoint icon = TreeView().IconRect(Model().IndexFromNode(node)).center();
    QMouseEvent move(QEvent::MouseMove, icon, TreeView().viewport()->mapToGlobal(icon),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(TreeView().viewport(), &move);

    EXPECT_EQ(TreeView().HintedNode(), node);
    const QString hint = TreeView().HintText();
    EXPECT_TRUE(hint.startsWith(QStringLiteral(" - - -  Read me  - - - \r"))) << hint.toStdString();
    EXPECT_TRUE(hint.contains(QStringLiteral("*  Path, filename:   ") + Data("data/readme.txt")));
    EXPECT_TRUE(hint.contains(QStringLiteral("*  Size:      1.500 \u041a\u0411\r")));
    EXPECT_TRUE(hint.contains(QStringLiteral("*  Attributes:   read only") +
                              (testing::OnWindows ? u", archive\r"_s : u"\r"_s)));
    EXPECT_TRUE(hint.endsWith(QStringLiteral("*  Parameters:   /q")));
}

}  // namespace
}  // namespace tomlet
