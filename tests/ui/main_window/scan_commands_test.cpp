#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolBar>

#include "core/catalogue.h"
#include "core/paths.h"
#include "main_window_test_support.h"
#include "platform/text_codec.h"
#include "support/modal_answers.h"
#include "support/tree_records.h"
#include "ui/base/qt_text.h"
#include "ui/dialogs/scan_dialog.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::Captions;
using testing::ModalAnswers;

// Runs `check` at the moment the scan's progress window appears, in the middle of the scan.
class DuringScan final : public QObject {
public:
    explicit DuringScan(std::function<void()> check) : m_check(std::move(check)) {
        qApp->installEventFilter(this);
    }
    ~DuringScan() override { qApp->removeEventFilter(this); }
    int Runs = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == u"frm_Progress"_s) {
            ++Runs;
            m_check();
        }
        return false;
    }

private:
    std::function<void()> m_check;
};

class MainWindowScanTest : public ::testing::Test, public testing::MainWindowFixture {
protected:
    // An editor on its data page, the data folder holding Docs (Sub (b.txt) a.txt) and setup.exe.
    Tfrm_Main& StartEditor() {
        folder.WriteFile("data/Docs/a.txt");
        folder.WriteFile("data/Docs/Sub/b.txt");
        folder.WriteFile("data/setup.exe");
        folder.WriteFile("data/.hidden/c.txt");
        Tfrm_Main& window = Start();
        Ui().a_view_item_Editor->trigger();
        Ui().EditPageControl->setCurrentWidget(Ui().tabsheet_Data);
        Idle();
        return window;
    }
    std::string DataDir() const { return folder / "data"; }

    // Answers the scan dialog: types the folder (unless empty) and presses OK or Cancel.
    static std::function<void(QWidget&)> Answer(QString directory, bool ok = true,
                                                bool nested = true) {
        return [=](QWidget& modal) {
            auto* dialog = dynamic_cast<Tfrm_Scan*>(&modal);
            ASSERT_NE(dialog, nullptr);
            if (!directory.isEmpty())
                dialog->SetDirectory(directory);
            if (!nested)
                dialog->findChild<QWidget*>(u"checkbox_ScanNestedDir"_s)
                    ->setProperty("checked", false);
            ok ? dialog->accept() : dialog->reject();
        };
    }
    void Run(QAction* action, std::vector<std::function<void(QWidget&)>> answers) {
        ModalAnswers modal(std::move(answers));
        action->trigger();
        EXPECT_TRUE(modal.AllAnswered());
        Idle();
    }
    const ObjectTree& Tree() { return Window().Model().Tree(); }
};

TEST_F(MainWindowScanTest, ScanningTheDataDirectoryFillsTheEmptyProjectAndTakesTheFolder) {
    StartEditor();
    masks.Masks = {u"*.txt"_s, u"*.exe"_s};
    Ui().EditPageControl->setCurrentWidget(Ui().tabsheet_ProjectProperties);
    Idle();
    EXPECT_FALSE(Ui().a_operation_item_ScanProjectDirectory->isEnabled());
    Ui().EditPageControl->setCurrentWidget(Ui().tabsheet_Data);
    Idle();
    ASSERT_TRUE(Ui().a_operation_item_ScanProjectDirectory->isEnabled());

    Run(Ui().a_operation_item_ScanProjectDirectory,
        {Answer(ToQString(DataDir() + PathRules::Native().Separator))});
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt) setup.exe");
    EXPECT_EQ(Tree().TopLevel()[0]->Child(0)->Child(0)->Data.PathFileName, "Docs\\Sub\\b.txt");
    EXPECT_EQ(Window().Session().CurrentDataDir(), DataDir());
    EXPECT_EQ(Ui().edit_ProjectDataDir->text(), ToQString(DataDir()));
    EXPECT_EQ(Window().Scan().ScanMaskList(), (std::vector<std::string>{"*.txt", "*.exe"}));
    EXPECT_FALSE(Window().Busy().IsBusy());
    EXPECT_TRUE(Ui().EditPageControl->isEnabled());
    EXPECT_TRUE(Ui().toolbar_Editor->isEnabled());
    EXPECT_TRUE(prompts.Messages.empty());
    // The tree is no longer empty.
    EXPECT_FALSE(Ui().a_operation_item_ScanProjectDirectory->isEnabled());
}

TEST_F(MainWindowScanTest, CancellingChangesNothingAndAMissingFolderIsRefused) {
    StartEditor();
    masks.Masks = {u"*.txt"_s};
    Run(Ui().a_operation_item_ScanProjectDirectory, {Answer(ToQString(DataDir()), false)});
    EXPECT_TRUE(Window().Scan().ScanMaskList().empty());
    EXPECT_TRUE(prompts.Messages.empty());

    // The masks are taken before the folder is looked at.
    Run(Ui().a_operation_item_ScanProjectDirectory, {Answer(ToQString(folder / "gone"))});
    EXPECT_EQ(prompts.MessageTexts(), QStringList{ToQString(Text(TextId::message_IncorrectPath))});
    EXPECT_TRUE(Tree().IsEmpty());
    EXPECT_TRUE(Window().Session().CurrentDataDir().empty());
    EXPECT_EQ(Window().Scan().ScanMaskList(), std::vector<std::string>{"*.txt"});
    EXPECT_TRUE(Ui().toolbar_Editor->isEnabled());
}

TEST_F(MainWindowScanTest, WhatIsLeftOutIsNamedWithTheReasonAtTheEnd) {
    StartEditor();
    const QString skipped = QString::fromStdString(folder.WriteFile("data/Отчёт.txt"));
    masks.Masks = {u"*.txt"_s};
    const ScopedProcessCodePage western(1252);
    Run(Ui().a_operation_item_ScanProjectDirectory, {Answer(ToQString(DataDir()))});
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt)");
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Kind, MessageKind::Warning);
    EXPECT_EQ(prompts.Messages[0].Text,
              ToQString(FormatCount(Text(TextId::message_SkippedNames_D), 1)) + u'\n' + skipped +
                  u": "_s + ToQString(Text(TextId::message_SkippedCodePage)));
}

TEST_F(MainWindowScanTest, CommandsAreOffThroughoutADataDirectoryScan) {
    StartEditor();
    masks.Masks = {u"*.*"_s};
    DuringScan during([&] {
        EXPECT_TRUE(Window().Busy().IsBusy());
        EXPECT_FALSE(Ui().EditPageControl->isEnabled());
        EXPECT_FALSE(Ui().toolbar_Editor->isEnabled());
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        // The view has not seen any new node yet.
        EXPECT_TRUE(Tree().IsEmpty());
    });
    Run(Ui().a_operation_item_ScanProjectDirectory, {Answer(ToQString(DataDir()))});
    EXPECT_EQ(during.Runs, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Tree().Count(), 5);
}

TEST_F(MainWindowScanTest, ScanningAFolderObjectAppendsItsContentAgainOnEveryScan) {
    StartEditor();
    masks.Masks = {u"*.txt"_s};
    Run(Ui().a_operation_item_ScanProjectDirectory, {Answer(ToQString(DataDir()), true, false)});
    ASSERT_EQ(Captions(Tree().TopLevel()), "Docs");
    EXPECT_FALSE(Ui().a_operation_item_ScanCurrentFolder->isEnabled());  // nothing selected

    TreeView().SelectNode(Tree().TopLevel()[0]);
    Idle();
    ASSERT_TRUE(Ui().a_operation_item_ScanCurrentFolder->isEnabled());
    const auto locked = [&](QWidget& modal) {
        auto& dialog = dynamic_cast<Tfrm_Scan&>(modal);
        EXPECT_EQ(dialog.GetDirectory(), ToQString(folder / "data/Docs"));
        EXPECT_FALSE(dialog.findChild<QLineEdit*>(u"edit_SetDir"_s)->isEnabled());
        dialog.accept();
    };
    Run(Ui().a_operation_item_ScanCurrentFolder, {locked});
    Run(Ui().a_operation_item_ScanCurrentFolder, {Answer({})});
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt Sub (b.txt) a.txt)");
    EXPECT_EQ(Tree().TopLevel()[0]->Child(1)->Data.PathFileName, "Docs\\a.txt");
}

TEST_F(MainWindowScanTest, NoTreeCommandRunsWhileACurrentFolderScanRuns) {
    StartEditor();
    masks.Masks = {u"*.*"_s};
    Run(Ui().a_operation_item_ScanProjectDirectory, {Answer(ToQString(DataDir()), true, false)});
    TreeView().SelectNode(Tree().TopLevel()[0]);
    Idle();

    DuringScan during([&] {
        EXPECT_TRUE(Window().Busy().IsBusy());
        EXPECT_FALSE(Ui().EditPageControl->isEnabled());
        // The toolbar and menus stay enabled; their commands refuse to run.
        EXPECT_TRUE(Ui().toolbar_Editor->isEnabled());
        EXPECT_FALSE(Ui().a_files_item_CloseFile->isEnabled());
        EXPECT_FALSE(Ui().a_operation_item_ScanCurrentFolder->isEnabled());
        Ui().a_files_item_CloseFile->setEnabled(true);
        Ui().a_files_item_CloseFile->trigger();
        Ui().a_operation_item_ScanCurrentFolder->setEnabled(true);
        Ui().a_operation_item_ScanCurrentFolder->trigger();
    });
    Run(Ui().a_operation_item_ScanCurrentFolder, {Answer({})});
    EXPECT_EQ(during.Runs, 1);
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt) setup.exe");
    EXPECT_EQ(Window().Session().CurrentDataDir(), DataDir());
    EXPECT_TRUE(Ui().a_files_item_CloseFile->isEnabled());
}

}  // namespace
}  // namespace tomlet
