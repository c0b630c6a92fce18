#include "ui/dialogs/scan_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/fake_mask_store.h"
#include "support/fake_prompts.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::FakeMaskStore;
using testing::FakePrompts;

const QString WrongMask = u"Неправильная маска файла!"_s;

class ScanDialogTest : public ::testing::Test {
protected:
    // A dialog over the given stored masks.
    Tfrm_Scan& Open(const QStringList& stored = {}) {
        store.Masks = stored;
        dialog = std::make_unique<Tfrm_Scan>(prompts, store, u"/data/disc"_s, u"/opt/disc/"_s);
        dialog->show();
        return *dialog;
    }

    template <class T>
    T* Control(const char* name) const {
        T* control = dialog->findChild<T*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QListWidget* List() const { return Control<QListWidget>("listbox_ListFileExt"); }
    QComboBox* Combo() const { return Control<QComboBox>("combobox_FileExt"); }
    QString Selected() const {
        const auto selected = List()->selectedItems();
        return selected.size() == 1 ? selected.front()->text() : u"<none>"_s;
    }
    void Add(const QString& typed) {
        Combo()->setCurrentText(typed);
        Control<QPushButton>("button_AddMask")->click();
    }
    void Delete() { Control<QPushButton>("button_DeleteMask")->click(); }

    FakePrompts prompts;
    FakeMaskStore store;
    std::unique_ptr<Tfrm_Scan> dialog;
};

TEST_F(ScanDialogTest, OpensWithItsControlsAndAnEmptyListWhenNothingIsStored) {
    Open();
    EXPECT_EQ(dialog->objectName(), u"frm_Scan"_s);
    EXPECT_EQ(dialog->windowTitle(), u"Scanning"_s);
    EXPECT_EQ(Control<QLabel>("label_SetDir")->text(), u"&Set directory"_s);
    EXPECT_EQ(Control<QLabel>("label_SearchMasks")->text(), u"&Masks of search"_s);
    EXPECT_NE(Control<QWidget>("groupbox_FilesSearch"), nullptr);
    EXPECT_EQ(Control<QPushButton>("button_SaveMasks")->toolTip(), u"Save masklist"_s);
    EXPECT_TRUE(Control<QPushButton>("button_Ok")->isDefault());
    EXPECT_NE(Control<QPushButton>("button_Cancel"), nullptr);
    EXPECT_TRUE(Control<QCheckBox>("checkbox_ScanNestedDir")->isChecked());
    EXPECT_EQ(Combo()->count(), 13);
    EXPECT_EQ(Combo()->itemText(12), u"*.*"_s);
    EXPECT_EQ(Combo()->currentText(), u"*.exe"_s);
    EXPECT_EQ(List()->count(), 0);
    EXPECT_EQ(store.Loads, 1);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());  // a fixed dialog border
}

TEST_F(ScanDialogTest, StoredMasksFillTheListWithTheFirstSelected) {
    Open({u"*.txt"_s, u""_s, u"*.exe"_s});
    EXPECT_EQ(dialog->MaskList(), (QStringList{u"*.txt"_s, u""_s, u"*.exe"_s}));
    EXPECT_EQ(Selected(), u"*.txt"_s);
    EXPECT_EQ(Combo()->currentText(), u"*.txt"_s);
}

TEST_F(ScanDialogTest, AStoreErrorIsShownAndTheMasksReadBeforeItKept) {
    store.LoadError = u"Invalid data type for 'Mask1'"_s;
    Open({u"*.txt"_s});
    EXPECT_EQ(prompts.MessageTexts(), QStringList{store.LoadError});
    EXPECT_EQ(prompts.Messages.front().Kind, MessageKind::Error);
    EXPECT_EQ(dialog->MaskList(), QStringList{u"*.txt"_s});
    EXPECT_EQ(Selected(), u"<none>"_s);
    EXPECT_EQ(Combo()->currentText(), u"*.exe"_s);
}

TEST_F(ScanDialogTest, AddingCleansTheMaskIgnoresAnExactDuplicateAndSelectsTheNewMask) {
    Open({u"*.exe"_s});
    Add(u" *.t xt \t"_s);
    EXPECT_EQ(Combo()->currentText(), u"*.txt"_s);
    EXPECT_EQ(Selected(), u"*.txt"_s);
    Add(u"*.EXE"_s);
    Add(u"*.exe"_s);
    EXPECT_EQ(dialog->MaskList(), (QStringList{u"*.exe"_s, u"*.txt"_s, u"*.EXE"_s}));
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(ScanDialogTest, AMaskWithoutADotIsRefusedWithTheFixedText) {
    Open();
    Add(u" read me "_s);
    Add(u"  "_s);
    EXPECT_EQ(prompts.MessageTexts(), (QStringList{WrongMask, WrongMask}));
    EXPECT_EQ(prompts.Messages.front().Kind, MessageKind::Error);
    EXPECT_EQ(List()->count(), 0);
    Add(u" read me "_s);
    EXPECT_EQ(Combo()->currentText(), u"readme"_s);
}

TEST_F(ScanDialogTest, StarDotStarGoesOnlyIntoAnEmptyListAndThenTakesNothingMore) {
    Open({u"*.exe"_s});
    Add(u"*.*"_s);
    EXPECT_EQ(dialog->MaskList(), QStringList{u"*.exe"_s});

    Open();
    Add(u"*.*"_s);
    Add(u"*.txt"_s);
    EXPECT_EQ(dialog->MaskList(), QStringList{u"*.*"_s});
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(ScanDialogTest, DeletingSelectsTheNextOrTheNewLastMask) {
    Open({u"a.1"_s, u"b.2"_s, u"c.3"_s, u"d.4"_s});
    List()->setCurrentRow(1);
    Delete();
    EXPECT_EQ(dialog->MaskList(), (QStringList{u"a.1"_s, u"c.3"_s, u"d.4"_s}));
    EXPECT_EQ(Selected(), u"c.3"_s);
    EXPECT_EQ(Combo()->currentText(), u"c.3"_s);

    List()->setCurrentRow(2);
    Delete();
    EXPECT_EQ(Selected(), u"c.3"_s);

    List()->clearSelection();
    Delete();
    EXPECT_EQ(dialog->MaskList(), (QStringList{u"a.1"_s, u"c.3"_s}));

    List()->setCurrentRow(0);
    Delete();
    Delete();
    EXPECT_EQ(List()->count(), 0);
    EXPECT_EQ(Combo()->currentText(), QString());
}

TEST_F(ScanDialogTest, ClickingAMaskPutsItIntoTheComboBox) {
    Open({u"*.exe"_s, u"*.txt"_s});
    Combo()->setCurrentText(u"typed"_s);
    List()->setCurrentRow(1);
    EXPECT_EQ(Combo()->currentText(), u"*.txt"_s);
    Combo()->setCurrentText(u"typed"_s);
    dialog->listbox_ListFileExtClick();
    EXPECT_EQ(Combo()->currentText(), u"*.txt"_s);
}

TEST_F(ScanDialogTest, DroppingTheFirstMaskOntoTheThirdMovesItThere) {
    Open({u"a.1"_s, u"b.2"_s, u"c.3"_s, u"d.4"_s});
    Combo()->setCurrentText(u"typed"_s);
    const QPoint third = List()->visualItemRect(List()->item(2)).center();
    const QPoint belowLast = List()->visualItemRect(List()->item(3)).bottomLeft() + QPoint(2, 8);
    ASSERT_EQ(List()->itemAt(belowLast), nullptr);

    List()->setCurrentRow(0);
    Combo()->setCurrentText(u"typed"_s);
    dialog->listbox_ListFileExtDragDrop(third);
    EXPECT_EQ(dialog->MaskList(), (QStringList{u"b.2"_s, u"c.3"_s, u"a.1"_s, u"d.4"_s}));
    EXPECT_EQ(Selected(), u"a.1"_s);
    EXPECT_EQ(Combo()->currentText(), u"typed"_s);

    dialog->listbox_ListFileExtDragDrop(belowLast);
    EXPECT_EQ(dialog->MaskList(), (QStringList{u"b.2"_s, u"c.3"_s, u"a.1"_s, u"d.4"_s}));
    EXPECT_EQ(Selected(), u"a.1"_s);
}

TEST_F(ScanDialogTest, ARealMouseDragMovesTheMaskPressed) {
    if (QGuiApplication::platformName() != u"xcb"_s)
        GTEST_SKIP() << "needs the xcb platform";
    Open({u"a.1"_s, u"b.2"_s, u"c.3"_s, u"d.4"_s});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    QWidget* viewport = List()->viewport();
    const QPoint from = List()->visualItemRect(List()->item(0)).center();
    const QPoint to = List()->visualItemRect(List()->item(2)).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    // The drag runs its own event loop from the first move beyond the drag distance on: every
    // step of the gesture comes from a timer set beforehand.
    const QPoint beyond = from + QPoint(0, QApplication::startDragDistance() + 2);
    QTimer::singleShot(100, viewport, [&] { QTest::mouseMove(viewport, beyond); });
    QTimer::singleShot(150, viewport, [&] { QTest::mouseMove(viewport, beyond + QPoint(0, 4)); });
    QTimer::singleShot(250, viewport, [&] { QTest::mouseMove(viewport, to); });
    QTimer::singleShot(400, viewport,
                       [&] { QTest::mouseRelease(viewport, Qt::LeftButton, {}, to); });
    QTest::qWait(1200);
    EXPECT_EQ(dialog->MaskList(), (QStringList{u"b.2"_s, u"c.3"_s, u"a.1"_s, u"d.4"_s}));
    EXPECT_EQ(Selected(), u"a.1"_s);
}

TEST_F(ScanDialogTest, SavingWritesTheListAsItStandsAndShowsAFailure) {
    Open({u"*.exe"_s});
    Add(u"*.txt"_s);
    Control<QPushButton>("button_SaveMasks")->click();
    EXPECT_EQ(store.Masks, (QStringList{u"*.exe"_s, u"*.txt"_s}));
    EXPECT_TRUE(prompts.Messages.empty());

    store.SaveError = u"cannot write"_s;
    Control<QPushButton>("button_SaveMasks")->click();
    EXPECT_EQ(prompts.MessageTexts(), QStringList{u"cannot write"_s});
}

TEST_F(ScanDialogTest, BrowsingAsksForAFolderFromTheFieldOrTheDiscFolder) {
    Open();
    auto* browse = Control<QAction>("edit_SetDirButton");
    prompts.FolderAnswers = {u"/picked/one"_s, QString()};
    browse->trigger();
    ASSERT_EQ(prompts.FolderRequests.size(), 1u);
    const FolderPickerRequest& first = prompts.FolderRequests[0];
    EXPECT_EQ(first.Title, u"Папка проекта: /data/disc"_s);
    EXPECT_TRUE(first.RootFolder.isEmpty());
    EXPECT_EQ(first.InitialSelection, u"/opt/disc/"_s);
    EXPECT_FALSE(first.IncludeFiles);
    EXPECT_EQ(dialog->GetDirectory(), u"/picked/one"_s);

    browse->trigger();  // cancelled
    ASSERT_EQ(prompts.FolderRequests.size(), 2u);
    EXPECT_EQ(prompts.FolderRequests[1].InitialSelection, u"/picked/one"_s);
    EXPECT_EQ(dialog->GetDirectory(), u"/picked/one"_s);

    dialog->LockDirectory(true);
    EXPECT_FALSE(Control<QLineEdit>("edit_SetDir")->isEnabled());
    browse->trigger();
    EXPECT_EQ(prompts.FolderRequests.size(), 2u);
    dialog->SetDirectory(u" /data/disc/ "_s);
    EXPECT_EQ(dialog->GetDirectory(), u" /data/disc/ "_s);  // as set, untouched
}

#ifdef _WIN32
TEST_F(ScanDialogTest, ADriveRootPickedIsTakenAsLetterAndColon) {
    Open();
    prompts.FolderAnswers = {u"D:\\"_s};
    dialog->edit_SetDirButtonClick();
    EXPECT_EQ(dialog->GetDirectory(), u"D:"_s);
}
#endif

}  // namespace
}  // namespace tomlet
