#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <filesystem>

#include "core/catalogue.h"
#include "core/paths.h"
#include "main_window_test_support.h"
#include "platform/text_codec.h"
#include "support/modal_answers.h"
#include "support/tree_records.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/dialogs/scan_dialog.h"
#include "ui/dialogs/update_dialog.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::Captions;
using testing::ModalAnswers;
using testing::OnlyMessage;
using testing::QText;
using testing::RecordOutline;

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
        ShowPage(Ui().tabsheet_Data);
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
    // Answers the scan dialog of a command that scans a folder it names itself.
    static std::function<void(QWidget&)> Locked(QString directory) {
        return [=](QWidget& modal) {
            auto& dialog = dynamic_cast<Tfrm_Scan&>(modal);
            EXPECT_EQ(dialog.GetDirectory(), directory);
            EXPECT_FALSE(dialog.findChild<QLineEdit*>(u"edit_SetDir"_s)->isEnabled());
            dialog.accept();
        };
    }
    static QString LabelText(const QWidget& dialog, const char* name) {
        return WithoutAccessLetter(dialog.findChild<QLabel*>(QLatin1String(name))->text());
    }
    // Answers the review of an update: checks the counts it shows, unchecks the items of those
    // texts, then applies or cancels.
    static std::function<void(QWidget&)> Review(int added, int gone, QStringList uncheck = {},
                                                bool apply = true) {
        return [=](QWidget& modal) {
            auto* review = dynamic_cast<Tfrm_Update*>(&modal);
            ASSERT_NE(review, nullptr);
            EXPECT_EQ(LabelText(*review, "label_NewObjects"),
                      ToQString(FormatCount(Text(TextId::text_NewOnDisc_D), added)));
            EXPECT_EQ(LabelText(*review, "label_MissingObjects"),
                      ToQString(FormatCount(Text(TextId::text_GoneFromDisc_D), gone)));
            for (const QString& text : uncheck)
                for (auto* list : review->findChildren<QTreeWidget*>())
                    for (QTreeWidgetItem* item :
                         list->findItems(text, Qt::MatchExactly | Qt::MatchRecursive))
                        item->setCheckState(0, Qt::Unchecked);
            apply ? review->accept() : review->reject();
        };
    }
    // Fills the project from the data folder under *.txt and *.exe: Docs (Sub (b.txt) a.txt)
    // setup.exe.
    void ScanDataDirectory() {
        masks.Masks = {u"*.txt"_s, u"*.exe"_s};
        Run(Ui().a_operation_item_ScanProjectDirectory, {Answer(ToQString(DataDir()))});
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
    ShowPage(Ui().tabsheet_ProjectProperties);
    EXPECT_FALSE(Ui().a_operation_item_ScanProjectDirectory->isEnabled());
    ShowPage(Ui().tabsheet_Data);
    ASSERT_TRUE(Ui().a_operation_item_ScanProjectDirectory->isEnabled());

    Run(Ui().a_operation_item_ScanProjectDirectory,
        {Answer(ToQString(DataDir() + PathRules::Native().Separator))});
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt) setup.exe");
    EXPECT_EQ(Tree().TopLevel()[0]->Child(0)->Child(0)->Data.PathFileName, "Docs\\Sub\\b.txt");
    EXPECT_EQ(Window().Session().DataDir(), DataDir());
    EXPECT_EQ(Ui().edit_ProjectDataDir->text(), ToQString(DataDir()));
    EXPECT_EQ(Window().Scan().ScanMaskList(), (std::vector<std::string>{"*.txt", "*.exe"}));
    EXPECT_TRUE(Window().isWindowModified());
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
    EXPECT_EQ(prompts.MessageTexts(), QStringList{QText(TextId::message_IncorrectPath)});
    EXPECT_TRUE(Tree().IsEmpty());
    EXPECT_TRUE(Window().Session().DataDir().empty());
    EXPECT_EQ(Window().Scan().ScanMaskList(), std::vector<std::string>{"*.txt"});
    EXPECT_FALSE(Window().isWindowModified());
    EXPECT_TRUE(Ui().toolbar_Editor->isEnabled());
}

TEST_F(MainWindowScanTest, WhatIsLeftOutIsNamedWithTheReasonAtTheEnd) {
    StartEditor();
    const QString skipped = QString::fromStdString(folder.WriteFile("data/Отчёт.txt"));
    masks.Masks = {u"*.txt"_s};
    const ScopedProcessCodePage western(1252);
    Run(Ui().a_operation_item_ScanProjectDirectory, {Answer(ToQString(DataDir()))});
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt)");
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Warning,
                          ToQString(FormatCount(Text(TextId::message_SkippedNames_D), 1)) + u'\n' +
                              skipped + u": "_s + QText(TextId::message_SkippedCodePage)));
}

// A scan lets window messages through: meanwhile the window is busy, its pages and commands are
// off, and the view meets no half-built node. Scanning the data directory turns the toolbar and
// the menus off too; scanning a folder object leaves them on, their commands off.
TEST_F(MainWindowScanTest, CommandsAreOffThroughoutEachScan) {
    StartEditor();
    masks.Masks = {u"*.*"_s};
    const auto whileScanning = [&](bool commandsShown) {
        const std::string before = Captions(Tree().TopLevel());
        return [=, this] {
            EXPECT_TRUE(Window().Busy().IsBusy());
            EXPECT_FALSE(Ui().EditPageControl->isEnabled());
            EXPECT_EQ(Ui().toolbar_Editor->isEnabled(), commandsShown);
            EXPECT_EQ(Ui().menu_File->menuAction()->isEnabled(), commandsShown);
            EXPECT_FALSE(Ui().a_files_item_CloseFile->isEnabled());
            EXPECT_FALSE(Ui().a_operation_item_ScanCurrentFolder->isEnabled());
            EXPECT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(Captions(Tree().TopLevel()), before);
        };
    };
    {
        DuringScan during(whileScanning(false));
        Run(Ui().a_operation_item_ScanProjectDirectory,
            {Answer(ToQString(DataDir()), true, false)});
        EXPECT_EQ(during.Runs, 1);
    }
    Select(Tree().TopLevel()[0]);
    {
        DuringScan during(whileScanning(true));
        Run(Ui().a_operation_item_ScanCurrentFolder, {Answer({})});
        EXPECT_EQ(during.Runs, 1);
    }
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt) setup.exe");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Ui().EditPageControl->isEnabled());
    EXPECT_TRUE(Ui().toolbar_Editor->isEnabled());
    EXPECT_TRUE(Ui().a_files_item_CloseFile->isEnabled());
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
    Run(Ui().a_operation_item_ScanCurrentFolder, {Locked(ToQString(folder / "data/Docs"))});
    Run(Ui().a_operation_item_ScanCurrentFolder, {Answer({})});
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt Sub (b.txt) a.txt)");
    EXPECT_EQ(Tree().TopLevel()[0]->Child(1)->Data.PathFileName, "Docs\\a.txt");
}

TEST_F(MainWindowScanTest, UpdateIsOfferedOnTheDataPageOfAFilledProjectWithADataDirectory) {
    StartEditor();
    QAction* update = Ui().a_operation_item_UpdateFromDisc;
    EXPECT_FALSE(update->isEnabled());  // nothing to update
    ScanDataDirectory();
    EXPECT_TRUE(update->isEnabled());  // the whole data directory
    Select(Tree().TopLevel()[1]);
    EXPECT_TRUE(update->isEnabled());
    ShowPage(Ui().tabsheet_ProjectProperties);
    EXPECT_FALSE(update->isEnabled());
    prompts.QuestionAnswers = {Answer::No};
    OpenProjectIn({}, 1);
    ShowPage(Ui().tabsheet_Data);
    EXPECT_FALSE(update->isEnabled());
}

TEST_F(MainWindowScanTest, UpdateAddsAndDeletesInOneStepAndKeepsWhatTheAuthorWrote) {
    StartEditor();
    ScanDataDirectory();
    ObjectNode* docs = Tree().TopLevel()[0];
    ObjectNode* sub = docs->Child(0);
    TNodeData annotated = docs->Data;
    annotated.Caption = "Documentation";
    annotated.Hint = "Manuals";
    annotated.Comments = "Read these first.\r\n";
    annotated.Parameters = "/s";
    Model().SetRecord(docs, annotated);
    Model().Append(nullptr, testing::Record("Extras", otVirtualFolder));
    TreeView().expand(Model().IndexFromNode(docs));
    Select(sub->Child(0));                          // b.txt, which goes
    Ui().edit_Hint->setText(u"typed for b.txt"_s);  // and takes this edit with it
    std::filesystem::remove(folder.Path() / "data/Docs/Sub/b.txt");
    folder.WriteFile("data/Docs/c.txt");
    folder.WriteFile("data/New/d.txt");
    QSignalSpy layout(&Model(), &QAbstractItemModel::layoutChanged);
    QSignalSpy inserted(&Model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&Model(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&Model(), &QAbstractItemModel::modelReset);
    QSignalSpy written(&Model(), &QAbstractItemModel::dataChanged);

    const auto reviewWhileBusy = [&](QWidget& review) {
        EXPECT_TRUE(Window().Busy().IsBusy());
        Ui().a_operation_item_DeleteAll->setEnabled(true);
        Ui().a_operation_item_DeleteAll->trigger();
        EXPECT_EQ(Tree().Count(), 6);
        EXPECT_TRUE(prompts.Confirmations.isEmpty());
        Review(3, 1)(review);
    };
    Run(Ui().a_operation_item_UpdateFromDisc, {Locked(ToQString(DataDir())), reviewWhileBusy});

    EXPECT_EQ(Captions(Tree().TopLevel()),
              "Documentation (Sub a.txt c.txt) New (d.txt) setup.exe Extras");
    EXPECT_EQ(Tree().TopLevel()[0], docs);
    EXPECT_EQ(docs->Data, annotated);
    EXPECT_EQ(RecordOutline({docs->Child(2), Tree().TopLevel()[1]}),
              "c.txt[8,4]:Docs\\c.txt New[1,1]:New (d.txt[8,4]:New\\d.txt)");
    EXPECT_EQ(layout.count(), 1);
    EXPECT_EQ(inserted.count() + removed.count() + reset.count() + written.count(), 0);
    EXPECT_TRUE(TreeView().isExpanded(Model().IndexFromNode(docs)));
    // The selection goes up to the folder of the deleted object.
    EXPECT_EQ(TreeView().SelectedNode(), sub);
    EXPECT_EQ(Ui().edit_Caption->text(), u"Sub"_s);
    EXPECT_EQ(Ui().edit_Hint->text(), QString());
    EXPECT_FALSE(Window().Busy().IsBusy());
    EXPECT_TRUE(Ui().EditPageControl->isEnabled());
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(MainWindowScanTest, UpdatingAFolderChangesOnlyWhatIsCheckedAndCancelNothing) {
    StartEditor();
    ScanDataDirectory();
    std::filesystem::remove(folder.Path() / "data/Docs/a.txt");
    std::filesystem::remove(folder.Path() / "data/Docs/Sub/b.txt");
    folder.WriteFile("data/Docs/c.txt");
    folder.WriteFile("data/Docs/d.txt");
    folder.WriteFile("data/outside.txt");
    Select(Tree().TopLevel()[0]);
    const std::string before = RecordOutline(Tree().TopLevel());
    const QString docs = ToQString(folder / "data/Docs");

    Run(Ui().a_operation_item_UpdateFromDisc, {Locked(docs), Review(2, 2, {}, false)});
    EXPECT_EQ(RecordOutline(Tree().TopLevel()), before);

    Run(Ui().a_operation_item_UpdateFromDisc,
        {Locked(docs), Review(2, 2,
                              {QDir::toNativeSeparators(u"Docs/c.txt"_s),
                               QDir::toNativeSeparators(u"Docs/a.txt"_s)})});
    // d.txt follows c.txt in scan order; without it, Sub.
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub d.txt a.txt) setup.exe");
}

// The scan records the files it finds and the project's save keeps the record, so that the
// first update finds the files renamed and moved since. A pair left checked renames the object,
// which keeps its texts and place; unchecked, the object goes and its file comes as new.
TEST_F(MainWindowScanTest, ARenamedFileKeepsItsObjectWhenItsPairStaysChecked) {
    StartEditor();
    folder.WriteFile("data/Docs/a.txt", "AAA");
    folder.WriteFile("data/setup.exe", "MZ");
    ScanDataDirectory();
    prompts.SaveAnswers.push_back(ToQString(folder / "disc.tml"));
    Ui().a_files_item_SaveAS->trigger();
    Idle();
    ObjectNode* a = Tree().TopLevel()[0]->Child(1);
    TNodeData annotated = a->Data;
    annotated.Hint = "the first letter";
    Model().SetRecord(a, annotated);
    Select(a);

    std::filesystem::rename(folder.Path() / "data/Docs/a.txt", folder.Path() / "data/a2.txt");
    std::filesystem::rename(folder.Path() / "data/setup.exe",
                            folder.Path() / "data/Docs/setup.exe");
    const auto review = [](QWidget& modal) {
        EXPECT_EQ(LabelText(modal, "label_RenamedObjects"),
                  ToQString(FormatCount(Text(TextId::text_RenamedOnDisc_D), 2)));
        auto& renamed = *modal.findChild<QTreeWidget*>(u"list_RenamedObjects"_s);
        EXPECT_EQ(renamed.topLevelItemCount(), 2);
        if (renamed.topLevelItemCount() != 2)
            return dynamic_cast<QDialog&>(modal).reject();
        EXPECT_EQ(renamed.topLevelItem(0)->text(0),
                  QDir::toNativeSeparators(u"Docs/a.txt \u2192 a2.txt"_s));
        renamed.topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        EXPECT_EQ(LabelText(modal, "label_RenamedObjects"),
                  ToQString(FormatCount(Text(TextId::text_RenamedOnDisc_D), 1)));
        Review(0, 0)(modal);
    };
    Run(Ui().a_operation_item_UpdateFromDisc, {Answer({}), review});
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) setup.exe a.txt)");
    EXPECT_EQ(Tree().TopLevel()[0]->Child(2), a);
    EXPECT_EQ(a->Data.Hint, "the first letter");
    EXPECT_EQ(a->Data.PathFileName, "a2.txt");
    EXPECT_EQ(Ui().edit_PathFileName->text(), u"a2.txt"_s);
    EXPECT_EQ(Tree().TopLevel()[0]->Child(1)->Data.PathFileName, "Docs\\setup.exe");
}

// A project not saved yet keeps the record of its files in the window, and its first save keeps
// what the updates since made of it.
TEST_F(MainWindowScanTest, AProjectNotSavedYetFindsRenamesAndItsSaveKeepsTheRecord) {
    StartEditor();
    folder.WriteFile("data/setup.exe", "MZ");
    ScanDataDirectory();
    const auto oneRenamed = [](QWidget& modal) {
        EXPECT_EQ(LabelText(modal, "label_RenamedObjects"),
                  ToQString(FormatCount(Text(TextId::text_RenamedOnDisc_D), 1)));
        Review(0, 0)(modal);
    };
    std::filesystem::rename(folder.Path() / "data/setup.exe", folder.Path() / "data/install.exe");
    Run(Ui().a_operation_item_UpdateFromDisc, {Answer({}), oneRenamed});
    prompts.SaveAnswers.push_back(ToQString(folder / "disc.tml"));
    Ui().a_files_item_SaveAS->trigger();
    Idle();

    std::filesystem::rename(folder.Path() / "data/install.exe",
                            folder.Path() / "data/Docs/install.exe");
    Run(Ui().a_operation_item_UpdateFromDisc, {Answer({}), oneRenamed});
    EXPECT_EQ(Tree().TopLevel()[1]->Data.PathFileName, "Docs\\install.exe");
}

// The options of an update come back for each project as its author last confirmed them.
TEST_F(MainWindowScanTest, TheUpdateOptionsComeBackForEachProject) {
    StartEditor();
    ScanDataDirectory();
    const QString project = ToQString(folder / "disc.tml");
    prompts.SaveAnswers.push_back(project);
    Ui().a_files_item_SaveAS->trigger();
    Idle();
    masks.Masks = {u"*.jpg"_s};
    masks.UpdateChoices[project] = {{u"*.exe"_s, u"*.txt"_s}, false};
    masks.UpdateChoices[u"other.tml"_s] = {{u"*.bmp"_s}, true};

    const auto options = [](QWidget& modal) {
        auto& dialog = dynamic_cast<Tfrm_Scan&>(modal);
        EXPECT_EQ(dialog.windowTitle(), QText(TextId::text_UpdateOptions));
        EXPECT_EQ(dialog.MaskList(), (QStringList{u"*.exe"_s, u"*.txt"_s}));
        EXPECT_FALSE(dialog.ScanNested());
        dialog.findChild<QAbstractButton*>(u"checkbox_ScanNestedDir"_s)->click();
        dialog.findChild<QAbstractButton*>(u"button_DeleteMask"_s)->click();
        dialog.accept();
    };
    Run(Ui().a_operation_item_UpdateFromDisc, {options});
    EXPECT_EQ(masks.UpdateChoices[project], (UpdateChoice{{u"*.txt"_s}, true}));
    EXPECT_EQ(masks.UpdateChoices[u"other.tml"_s], (UpdateChoice{{u"*.bmp"_s}, true}));
    EXPECT_EQ(masks.Masks, QStringList{u"*.jpg"_s});
}

TEST_F(MainWindowScanTest, AnUnchangedDiscSaysSoAndAGoneFolderIsAnError) {
    StartEditor();
    ScanDataDirectory();
    Run(Ui().a_operation_item_UpdateFromDisc, {Answer({})});
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Information, QText(TextId::message_DiscUnchanged)));

    std::filesystem::remove_all(folder.Path() / "data/Docs");
    Select(Tree().TopLevel()[0]);
    prompts.Messages.clear();
    Run(Ui().a_operation_item_UpdateFromDisc, {Answer({})});
    EXPECT_EQ(prompts.Messages,
              OnlyMessage(MessageKind::Error, ToQString(folder / "data/Docs" + ": " +
                                                        Text(TextId::message_IncorrectPath))));
    EXPECT_EQ(Captions(Tree().TopLevel()), "Docs (Sub (b.txt) a.txt) setup.exe");
    EXPECT_FALSE(Window().Busy().IsBusy());
    EXPECT_TRUE(Ui().EditPageControl->isEnabled());
    EXPECT_TRUE(Ui().toolbar_Editor->isEnabled());
}

}  // namespace
}  // namespace tomlet
