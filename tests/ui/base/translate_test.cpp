#include "ui/base/translate.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "core/catalogue.h"
#include "core/language_file.h"
#include "support/ini_listing.h"
#include "support/temp_folder.h"
#include "ui/base/access_letters.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::IniKeyNames;
using testing::ReadWholeFile;
using testing::TempFolder;

template <class T>
T* Named(T* object, const QString& name) {
    object->setObjectName(name);
    return object;
}

// A window with one component of every kind the translation knows.
class TestWindow final : public QMainWindow {
public:
    TestWindow() {
        setObjectName(u"frm_Test"_s);
        setWindowTitle(u"Designed caption"_s);

        open = Named(new QAction(u"Open..."_s, this), u"a_files_item_Open"_s);
        open->setToolTip(u"Open project"_s);
        open->setStatusTip(u"Open project"_s);
        exit = Named(new QAction(u"Exit"_s, this), u"a_files_item_Exit"_s);
        auto* separator = Named(new QAction(this), u"mSeparator1"_s);
        separator->setSeparator(true);
        fileMenu = Named(menuBar()->addMenu(u"File"_s), u"menu_File"_s);
        fileMenu->addAction(open);
        fileMenu->addAction(separator);
        fileMenu->addAction(exit);
        auto* toolbar = Named(addToolBar(u"Editor"_s), u"toolbar_Editor"_s);
        toolbar->addAction(open);

        auto* central = new QWidget(this);
        auto* layout = new QVBoxLayout(central);
        label = Named(new QLabel(u"   Comments"_s), u"label_BrowserComments"_s);
        auto* emptyLabel = Named(new QLabel, u"label_BrowserProjectName"_s);
        auto* unnamed = new QLabel(u"No name"_s);
        edit = Named(new QLineEdit, u"edit_ProjectDataDir"_s);
        edit->setToolTip(u"Data directory"_s);
        auto* toolButton = Named(new QToolButton, u"toolbutton_Open"_s);
        toolButton->setDefaultAction(open);
        auto* commit = Named(new QPushButton(u"Commit"_s), u"button_Commit"_s);
        commitAction = Named(new QAction(u"Commit"_s, this), u"a_button_Commit"_s);
        MarkBoundToAction(*commit, *commitAction);
        group = Named(new QGroupBox(u"Splash screen"_s), u"groupbox_SplashScreen"_s);
        auto* groupLayout = new QVBoxLayout(group);
        groupLabel = Named(new QLabel(u"File"_s), u"lbl_SplashFile"_s);
        groupLayout->addWidget(groupLabel);
        tabs = Named(new QTabWidget, u"EditPageControl"_s);
        tabs->addTab(Named(new QWidget, u"tabsheet_ProjectProperties"_s), u"Project properties"_s);
        tabs->addTab(Named(new QWidget, u"tabsheet_Data"_s), u"Data"_s);
        for (QWidget* widget : std::initializer_list<QWidget*>{label, emptyLabel, unnamed, edit,
                                                               toolButton, commit, group, tabs})
            layout->addWidget(widget);
        setCentralWidget(central);

        dialog = Named(new QObject(this), u"dialog_Open"_s);
        dialog->setProperty("Title", u"Open project"_s);
        dialog->setProperty("Filter", u"Tomlet files (*.tml)|*.tml|Any files|*.*"_s);
    }

    QAction* open;
    QAction* exit;
    QAction* commitAction;
    QMenu* fileMenu;
    QLabel* label;
    QLineEdit* edit;
    QGroupBox* group;
    QLabel* groupLabel;
    QTabWidget* tabs;
    QObject* dialog;
};

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::ranges::sort(names);
    return names;
}

class TranslateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCatalogue();
        SetCurrentLanguageFile({});
    }
    void TearDown() override {
        ResetCatalogue();
        SetCurrentLanguageFile({});
    }

    TempFolder folder;
    const std::string dataFolder = folder / "";
    TestWindow window;
};

TEST_F(TranslateTest, AnEmptyFileAsksForEveryNamedTextOnce) {
    folder.WriteFile("Test.lng");
    ASSERT_TRUE(TranslateForm(&window, folder / "Test.lng", true));
    EXPECT_EQ(
        Sorted(IniKeyNames(folder / "Test.lng")),
        Sorted({"frm_Test/Form.Caption", "frm_Test/a_files_item_Open.Caption",
                "frm_Test/a_files_item_Open.Hint", "frm_Test/a_files_item_Exit.Caption",
                "frm_Test/a_button_Commit.Caption", "frm_Test/menu_File.Caption",
                "frm_Test/label_BrowserComments.Caption", "frm_Test/edit_ProjectDataDir.Hint",
                "frm_Test/groupbox_SplashScreen.Caption", "frm_Test/lbl_SplashFile.Caption",
                "frm_Test/tabsheet_ProjectProperties.Caption", "frm_Test/tabsheet_Data.Caption",
                "frm_Test/dialog_Open.Title", "frm_Test/dialog_Open.Filter"}));
    EXPECT_EQ(window.windowTitle(), u"Designed caption"_s);
    EXPECT_EQ(window.label->text(), u"   Comments"_s);

    // A second pass over the full template adds nothing.
    const std::string once = ReadWholeFile(folder / "Test.lng");
    ASSERT_TRUE(TranslateForm(&window, folder / "Test.lng", true));
    EXPECT_EQ(ReadWholeFile(folder / "Test.lng"), once);
}

TEST_F(TranslateTest, SetsEveryKindOfTextTheFileGives) {
    folder.WriteFile("Test.lng",
                     "[FRM_TEST]\r\n"
                     "a_files_item_Open.Caption=\xC3\x96\x66\x66nen...\r\n"  // "Öffnen..."
                     "a_files_item_Open.Hint=Projekt##\xC3\xB6\x66\x66nen\r\n"
                     "menu_File.Caption=&Datei\r\n"
                     "label_BrowserComments.Caption=\"   Kommentare##\"\r\n"
                     "edit_ProjectDataDir.Hint=Daten##verzeichnis\r\n"
                     "groupbox_SplashScreen.Caption=Startbild\r\n"
                     "lbl_SplashFile.Caption=Datei\r\n"
                     "tabsheet_Data.Caption=Daten\r\n"
                     "dialog_Open.Title=Projekt \xC3\xB6\x66\x66nen\r\n"
                     "dialog_Open.Filter=Tomlet-Dateien (*.tml)|*.tml\r\n"
                     "a_button_Commit.Caption=\xC3\x9C\x62\x65rnehmen\r\n");
    ASSERT_TRUE(TranslateForm(&window, folder / "Test.lng", true));

    // Translated menu items get access letters; a translator's own ("&Datei") stays.
    EXPECT_EQ(window.open->text(), u"&Öffnen..."_s);
    EXPECT_EQ(window.open->toolTip(), u"Projekt\r\nöffnen"_s);
    EXPECT_EQ(window.open->statusTip(), u"Projekt\r\nöffnen"_s);
    EXPECT_EQ(window.fileMenu->title(), u"&Datei"_s);
    EXPECT_EQ(window.label->text(), u"   Kommentare##"_s);  // "##" breaks hints only
    EXPECT_EQ(window.edit->toolTip(), u"Daten\r\nverzeichnis"_s);
    EXPECT_EQ(window.group->title(), u"Startbild"_s);
    EXPECT_EQ(window.groupLabel->text(), u"Datei"_s);
    EXPECT_EQ(window.tabs->tabText(1), u"Daten"_s);
    EXPECT_EQ(window.tabs->tabText(0), u"Project properties"_s);
    EXPECT_EQ(window.dialog->property("Title").toString(), u"Projekt öffnen"_s);
    EXPECT_EQ(window.dialog->property("Filter").toString(), u"Tomlet-Dateien (*.tml)|*.tml"_s);
    EXPECT_EQ(window.commitAction->text(), u"Übernehmen"_s);
    EXPECT_EQ(window.exit->text(), u"&Exit"_s);
    EXPECT_EQ(window.windowTitle(), u"Designed caption"_s);
}

TEST_F(TranslateTest, AMissingFileChangesNothingAndIsNotCreated) {
    ASSERT_TRUE(TranslateForm(&window, folder / "Missing.lng", true));
    ASSERT_TRUE(TranslateForm(&window, folder / ".lng", true));
    EXPECT_EQ(window.open->text(), u"Open..."_s);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

class LanguageMenuTest : public TranslateTest {
protected:
    QMenu* LanguageMenu() {
        auto* menu = Named(window.menuBar()->addMenu(u"Language"_s), u"menu_Language"_s);
        BuildLanguageMenu(*menu, window, dataFolder);
        for (QAction* item : menu->actions())
            QObject::connect(item, &QAction::triggered, &window,
                             [this, item] { menu_LanguageSelectClick(window, dataFolder, item); });
        return menu;
    }

    static QStringList Captions(const QMenu& menu) {
        QStringList captions;
        for (const QAction* action : menu.actions())
            captions << action->text();
        return captions;
    }

    static QAction* Item(const QMenu& menu, const QString& caption) {
        for (QAction* action : menu.actions()) {
            if (action->text() == caption)
                return action;
        }
        return nullptr;
    }
};

TEST_F(LanguageMenuTest, OffersEachLanguageOnceWithoutAccessLettersOrNames) {
    folder.WriteFile("English.lng");
    folder.WriteFile("English.LNG.lng");
    folder.WriteFile(".lng");
    folder.WriteFile("Rock&Roll.lng");
    folder.WriteFile("readme.txt");
    const QMenu* menu = LanguageMenu();
    EXPECT_EQ(Captions(*menu), (QStringList{u""_s, u"English"_s, u"Rock&&Roll"_s}));
    for (const QAction* action : menu->actions()) {
        EXPECT_TRUE(action->objectName().isEmpty());
        EXPECT_EQ(action->parent(), &window);
        EXPECT_TRUE(action->isCheckable());
        // No language file chosen yet: the window's own language, English, is the one in use.
        EXPECT_EQ(action->isChecked(), action->text() == u"English"_s);
    }
    AssignAccessLetters(window);
    EXPECT_EQ(Captions(*menu), (QStringList{u""_s, u"English"_s, u"Rock&&Roll"_s}));
}

TEST_F(LanguageMenuTest, PickingALanguageWhoseFileIsGoneDoesNothing) {
    folder.WriteFile("Gone.lng", "[frm_Test]\r\na_files_item_Exit.Caption=Raus\r\n");
    QAction* item = Item(*LanguageMenu(), u"Gone"_s);
    ASSERT_NE(item, nullptr);
    std::filesystem::remove(folder / "Gone.lng");
    item->trigger();

    EXPECT_FALSE(std::filesystem::exists(folder / "tomlet.ini"));
    EXPECT_EQ(CurrentLanguageFile(), "");
    EXPECT_EQ(window.exit->text(), u"Exit"_s);
}

TEST_F(LanguageMenuTest, AFailedSettingsWriteStillAppliesTheLanguage) {
    folder.WriteFile("Test.lng", "[frm_Test]\r\na_files_item_Exit.Caption=Raus\r\n");
    folder.MakeFolder("tomlet.ini");
    QAction* item = Item(*LanguageMenu(), u"Test"_s);
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(CurrentLanguageFile(), folder / "Test.lng");
    EXPECT_EQ(window.exit->text(), u"&Raus"_s);
    EXPECT_TRUE(item->isChecked());
}

}  // namespace
}  // namespace tomlet
