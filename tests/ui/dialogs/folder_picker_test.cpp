#include "ui/dialogs/folder_picker.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "core/catalogue.h"
#include "support/modal_answers.h"
#include "support/temp_folder.h"
#include "ui/base/qt_text.h"

namespace tomlet {
namespace {

using testing::ModalAnswers;
using testing::TempFolder;

QString Native(const std::string& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(QString::fromStdString(path)));
}

class FolderPickerTest : public ::testing::Test {
protected:
    FolderPickerTest() {
        Folder.MakeFolder("root/alpha/deep");
        Folder.MakeFolder("root/beta");
        Folder.WriteFile("root/notes.txt", "text");
        Folder.MakeFolder("outside");
    }

    FolderPickerRequest Request(bool includeFiles = false, const std::string& initial = {}) const {
        return {QStringLiteral("Choose the data folder"), Native(Folder / "root"),
                initial.empty() ? QString() : Native(Folder / initial), includeFiles};
    }

    // The number of entries the shown browser lists in the root folder, once it has read them.
    static int ListedInRoot(FolderPickerDialog& dialog, int expected) {
        dialog.show();
        // Sorting moves rows: the root's index is looked up afresh each time.
        const auto listed = [&dialog] {
            const QAbstractItemModel& model = *dialog.view()->model();
            return model.rowCount(model.index(0, 0, dialog.view()->rootIndex()));
        };
        if (QTest::qWaitFor([&] { return listed() >= expected; }, 3000))
            QTest::qWait(50);  // anything listed late would show up here
        return listed();
    }

    TempFolder Folder;
};

TEST_F(FolderPickerTest, ShowsOnlyTheRootAndWhatLiesBelowIt) {
    FolderPickerDialog dialog(Request());
    QTreeView& view = *dialog.view();
    ASSERT_EQ(view.model()->rowCount(view.rootIndex()), 1);
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / "root"));  // no initial selection

    EXPECT_FALSE(dialog.SelectPath(Native(Folder / "outside")));
    EXPECT_FALSE(dialog.SelectPath(Native(Folder.Path().string())));
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / "root"));

    // The keyboard cannot climb above the root either.
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / "root"));
}

TEST_F(FolderPickerTest, SelectsTheInitialSelectionAndOpensTheWayToIt) {
    FolderPickerDialog dialog(Request(false, "root/alpha/deep"));
    QTreeView& view = *dialog.view();
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / "root/alpha/deep"));
    const QModelIndex current = view.currentIndex();
    EXPECT_TRUE(view.selectionModel()->isSelected(current));
    EXPECT_TRUE(view.isExpanded(current.parent()));
    EXPECT_TRUE(view.isExpanded(current.parent().parent()));
}

// Many folders on every level, the chosen one last of each: the list is long, and the folders
// are listed and sorted in the background after the dialog opens.
TEST_F(FolderPickerTest, ADeepInitialSelectionIsInSightAndHasTheKeyboard) {
    std::string deep = "root";
    for (const char* level : {"a", "b", "c"}) {
        for (int i = 0; i < 30; ++i)
            Folder.MakeFolder(deep + "/" + level + std::to_string(10 + i));
        deep += std::string("/") + level + "39";
    }
    FolderPickerDialog dialog(Request(false, deep));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTreeView& view = *dialog.view();
    const auto inSight = [&view] {
        const QRect item = view.visualRect(view.currentIndex());
        return item.isValid() && view.viewport()->rect().contains(item);
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return ListedInRoot(dialog, 32) == 32 && inSight(); }));
    QTest::qWait(100);  // a late listing or sort would move it out again
    EXPECT_TRUE(inSight());
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / deep));
    EXPECT_TRUE(view.hasFocus());
    EXPECT_EQ(dialog.pathField()->text(), Native(Folder / deep));
}

TEST_F(FolderPickerTest, ATypedPathChoosesItsEntryWithinTheRoot) {
    FolderPickerDialog dialog(Request(true));
    QLineEdit& field = *dialog.pathField();
    QPushButton& ok = *dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    const auto type = [&field](const QString& text) {
        field.clear();
        QTest::keyClicks(&field, text);
    };
    type(Native(Folder / "root/alpha/deep"));
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / "root/alpha/deep"));
    type(QStringLiteral("notes.txt"));  // below the root
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / "root/notes.txt"));
    EXPECT_TRUE(ok.isEnabled());

    for (const QString& refused : {Native(Folder / "outside"), Native(Folder / "root/none")}) {
        type(refused);
        EXPECT_EQ(dialog.SelectedPath(), QString()) << refused.toStdString();
        EXPECT_FALSE(ok.isEnabled());
        EXPECT_EQ(field.text(), refused);  // what the user typed stays
    }
    // A choice in the tree shows in the field.
    ASSERT_TRUE(dialog.SelectPath(Native(Folder / "root/beta")));
    EXPECT_EQ(field.text(), Native(Folder / "root/beta"));
}

TEST_F(FolderPickerTest, ShowsTheSystemsIconsForFilesAndFolders) {
    FolderPickerDialog dialog(Request(true));
    ASSERT_EQ(ListedInRoot(dialog, 3), 3);
    const QAbstractItemModel& model = *dialog.view()->model();
    const QModelIndex root = model.index(0, 0, dialog.view()->rootIndex());
    for (int row = 0; row < model.rowCount(root); ++row) {
        const QModelIndex entry = model.index(row, 0, root);
        EXPECT_FALSE(entry.data(Qt::DecorationRole).value<QIcon>().isNull())
            << entry.data().toString().toStdString();
    }
}

TEST_F(FolderPickerTest, AnInitialSelectionOutsideTheRootIsIgnored) {
    FolderPickerDialog dialog(Request(false, "outside"));
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / "root"));
}

TEST_F(FolderPickerTest, FoldersOnlyNeverOffersAFileAndWithFilesOneComesBackAsItsFullPath) {
    FolderPickerDialog folders(Request(false));
    EXPECT_FALSE(folders.SelectPath(Native(Folder / "root/notes.txt")));
    EXPECT_EQ(ListedInRoot(folders, 2), 2);

    FolderPickerDialog files(Request(true, "root/notes.txt"));
    EXPECT_EQ(files.SelectedPath(), Native(Folder / "root/notes.txt"));
    EXPECT_EQ(ListedInRoot(files, 3), 3);
}

TEST_F(FolderPickerTest, WithoutARootTheWholeFileSystemIsOpen) {
    FolderPickerRequest request = Request(false, "outside");
    request.RootFolder.clear();
    FolderPickerDialog dialog(request);
    EXPECT_TRUE(dialog.RootFolder().isEmpty());
    EXPECT_EQ(dialog.SelectedPath(), Native(Folder / "outside"));
    EXPECT_TRUE(dialog.SelectPath(Native(Folder / "root/beta")));
}

TEST_F(FolderPickerTest, PickFolderReturnsTheChoiceOrNothing) {
    {
        ModalAnswers answers({[](QWidget& dialog) { dynamic_cast<QDialog&>(dialog).accept(); }});
        EXPECT_EQ(PickFolder(nullptr, Request(false, "root/beta")), Native(Folder / "root/beta"));
    }
    {
        ModalAnswers answers({[](QWidget& dialog) { dynamic_cast<QDialog&>(dialog).reject(); }});
        EXPECT_EQ(PickFolder(nullptr, Request(false, "root/beta")), QString());
    }
}

TEST_F(FolderPickerTest, AMissingRootWarnsOnceAndBrowsesEverything) {
    FolderPickerRequest request = Request(false, "outside");
    request.RootFolder = Native(Folder / "gone");
    QString warningTitle;
    QString warningText;
    QString rootInForce = QStringLiteral("unset");
    int boxes = 0;
    ModalAnswers answers({[&](QWidget& window) {
                              auto& box = dynamic_cast<QMessageBox&>(window);
                              warningTitle = box.windowTitle();
                              warningText = box.text();
                              ++boxes;
                              box.accept();
                          },
                          [&](QWidget& window) {
                              auto& picker = dynamic_cast<FolderPickerDialog&>(window);
                              rootInForce = picker.RootFolder();
                              picker.accept();
                          }});
    EXPECT_EQ(PickFolder(nullptr, request), Native(Folder / "outside"));
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(warningTitle, QStringLiteral("Warning"));
    const QString expected = ToQString(
        Text(TextId::message_ProjectDirNotExist_RiskCreateIncorrectProject_SetCorrectProjectDir));
    EXPECT_EQ(warningText, QString(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(rootInForce.isEmpty());
}

TEST(PickerPathTest, ADriveAloneGetsItsBackslashUnderDriveLetterRules) {
    EXPECT_EQ(NormalisePickerPath(QStringLiteral("C:"), true), QStringLiteral("C:\\"));
    EXPECT_EQ(NormalisePickerPath(QStringLiteral("d:"), true), QStringLiteral("d:\\"));
    EXPECT_EQ(NormalisePickerPath(QStringLiteral("C:"), false), QStringLiteral("C:"));
    EXPECT_EQ(NormalisePickerPath(QStringLiteral("C:\\Data"), true), QStringLiteral("C:\\Data"));
    EXPECT_EQ(NormalisePickerPath(QStringLiteral("1:"), true), QStringLiteral("1:"));
    EXPECT_EQ(NormalisePickerPath(QString(), true), QString());
}

}  // namespace
}  // namespace tomlet
