#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVariant>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/disc_update.h"
#include "core/language_file.h"
#include "main_window_test_support.h"
#include "support/fake_mask_store.h"
#include "support/ini_listing.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/dialogs/about_window.h"
#include "ui/dialogs/file_dialog_texts.h"
#include "ui/dialogs/find_dialog.h"
#include "ui/dialogs/scan_dialog.h"
#include "ui/dialogs/update_dialog.h"
#include "ui/shelf/shelf_window.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::IniKeyNames;
using testing::ListIniEntries;
using testing::MainWindowFixture;
using testing::Pick;
using testing::ReadWholeFile;

using KeySet = std::set<std::string>;

// Adds "section/name.property" for each of the names (separated by blanks) and properties.
void Add(KeySet& keys, const std::string& section, const std::string& names,
         std::initializer_list<const char*> properties) {
    std::istringstream list(names);
    for (std::string name; list >> name;) {
        for (const char* property : properties)
            keys.insert(section + "/" + name + "." + property);
    }
}

// The keys the main window as designed asks for.
KeySet MainWindowKeys() {
    KeySet keys;
    Add(keys, "frm_Main",
        "label_BrowserComments label_BrowserProjectDescription tabsheet_ProjectProperties "
        "label_ProjectDataDir label_ProjectName label_ProjectName2 label_ProjectDescription "
        "groupbox_SplashScreen lbl_SplashFile lbl_SplashTime tabsheet_Data label_PathFile "
        "label_Parameters label_Caption label_Hint label_Keywords label_Comments "
        "label_ObjectType label_ObjectAction label_DataTree menu_File menu_Search menu_View "
        "menu_Options menu_Language menu_Operations menu_Utility menu_About menu_Alternate "
        "menu_RecentProjects a_action_item_OpenFolderContainingObject a_about_item_AboutProgram "
        "a_utility_item_CorrectObjectDir a_action_item_Action a_action_item_OpenAction "
        "a_action_item_ExecuteAction a_action_item_NotePadAction "
        "a_action_item_AssociationAction a_button_Commit",
        {"Caption"});
    Add(keys, "frm_Main", "edit_ProjectDataDir button_DontShowSplahScreen edit_SplashFileName",
        {"Hint"});
    Add(keys, "frm_Main",
        "a_files_item_New a_files_item_Open a_files_item_OpenDefault a_files_item_CloseFile "
        "a_files_item_Save a_files_item_SaveAS a_files_item_Shelf a_files_item_ExportWebPage "
        "a_files_item_Exit a_search_item_Find "
        "a_search_item_FindForward a_view_item_Browser a_view_item_SaveNBrowser "
        "a_view_item_Editor a_options_item_AbsolutePath a_operation_item_ScanProjectDirectory "
        "a_operation_item_ScanCurrentFolder a_operation_item_UpdateFromDisc "
        "a_operation_item_AddObject a_operation_item_AddChildObject "
        "a_operation_item_DeleteObject a_operation_item_DeleteAll "
        "a_operation_item_CollapseTree a_operation_item_ExpandTree",
        {"Caption", "Hint"});
    Add(keys, "frm_Main", "dialog_Open dialog_Save", {"Title", "Filter"});
    return keys;
}

KeySet ScanWindowKeys() {
    KeySet keys{"frm_Scan/Form.Caption", "frm_Scan/button_SaveMasks.Hint"};
    Add(keys, "frm_Scan",
        "label_SetDir groupbox_FilesSearch label_SearchMasks button_AddMask button_DeleteMask "
        "button_SaveMasks checkbox_ScanNestedDir button_Ok button_Cancel",
        {"Caption"});
    return keys;
}

KeySet FindWindowKeys() {
    KeySet keys{"frm_Find/Form.Caption"};
    Add(keys, "frm_Find",
        "label_Text groupbox_Where checkbox_FindCaption checkbox_FindHint checkbox_FindComments "
        "checkbox_FindParameters checkbox_FindPathFileName checkbox_FindEveryWhere "
        "groupbox_Options checkbox_CaseSensitive groupbox_Whence radiobutton_FromCurrentPosition "
        "radiobutton_FromBeginning button_Ok button_Cancel",
        {"Caption"});
    return keys;
}

KeySet UpdateWindowKeys() {
    KeySet keys{"frm_Update/Form.Caption"};
    Add(keys, "frm_Update", "label_UpdateNote button_Apply button_Cancel", {"Caption"});
    return keys;
}

KeySet ShelfWindowKeys() {
    KeySet keys{"frm_Shelf/Form.Caption", "frm_Shelf/dialog_AddFiles.Title",
                "frm_Shelf/dialog_AddFiles.Filter", "frm_Shelf/dialog_AddFolder.Title"};
    Add(keys, "frm_Shelf",
        "groupbox_Catalogues groupbox_Search label_Text groupbox_Where checkbox_FindCaption "
        "checkbox_FindHint checkbox_FindComments checkbox_FindParameters "
        "checkbox_FindPathFileName checkbox_FindEveryWhere groupbox_Options "
        "checkbox_CaseSensitive",
        {"Caption"});
    Add(keys, "frm_Shelf",
        "a_shelf_item_AddFiles a_shelf_item_AddFolder a_shelf_item_Remove a_shelf_item_Refresh",
        {"Caption", "Hint"});
    return keys;
}

KeySet AboutWindowKeys() {
    KeySet keys{"frm_About/Form.Caption"};
    Add(keys, "frm_About", "label_TotalMemory label_MemoryUsed button_Ok", {"Caption"});
    return keys;
}

// The keyed catalogue entries, as the catalogue names them.
KeySet CatalogueKeys() {
    KeySet keys;
    for (const CatalogueEntry& entry : CatalogueEntries()) {
        if (!entry.Key.empty())
            keys.insert(std::string(entry.Section) + "/" + std::string(entry.Key));
    }
    return keys;
}

// The "section/key" names of a language file, each of which stands there once.
KeySet KeysOf(const std::string& path) {
    const auto names = IniKeyNames(path);
    const KeySet keys(names.begin(), names.end());
    EXPECT_EQ(keys.size(), names.size()) << "a key stands twice in " << path;
    return keys;
}

KeySet Union(std::initializer_list<KeySet> sets) {
    KeySet all;
    for (const KeySet& set : sets)
        all.insert(set.begin(), set.end());
    return all;
}

// Every key the program asks for once each window has been open.
KeySet AllKeys() {
    return Union({MainWindowKeys(), ScanWindowKeys(), FindWindowKeys(), AboutWindowKeys(),
                  UpdateWindowKeys(), ShelfWindowKeys(), CatalogueKeys()});
}

// Creates each window that translates itself on creation, as the commands do, and hands it on.
void OpenEveryDialog(const std::function<void(const QWidget&)>& use = [](const QWidget&) {}) {
    testing::FakePrompts prompts;
    testing::FakeMaskStore masks;
    use(Tfrm_Scan(prompts, masks, QString(), QString()));
    use(Tfrm_Find());
    use(Tfrm_About(AboutFacts{}));
    const DiscChanges none;
    use(Tfrm_Update(none));
    const testing::TempFolder shelfFolder;
    use(Tfrm_Shelf(prompts, shelfFolder / "shelf.sqlite"));
}

std::string ShippedLanguage(const std::string& language) {
    return ReadWholeFile(TOMLET_LANGUAGES_DIR "/" + language + ".lng");
}

// Line breaks as a user sees them: a lone CR, CR LF and LF alike.
std::string Plain(QString text) {
    return text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').toStdString();
}

// Every text a language file can reach in a window, by "window/part.property": the texts,
// titles and hints of its named parts and the captions of its tabs.
void CollectTexts(const QWidget& window, std::map<std::string, std::string>& texts) {
    QList<QObject*> parts = window.findChildren<QObject*>();
    parts.prepend(const_cast<QWidget*>(&window));
    const std::string prefix = window.objectName().toStdString() + "/";
    for (const QObject* part : parts) {
        if (part->objectName().isEmpty())
            continue;
        const std::string name = prefix + part->objectName().toStdString();
        for (const char* property :
             {"text", "title", "toolTip", "statusTip", "windowTitle", "Title", "Filter"}) {
            const QVariant value = part->property(property);
            if (value.typeId() == QMetaType::QString)
                texts[name + "." + property] = Plain(value.toString());
        }
        if (const auto* tabs = qobject_cast<const QTabWidget*>(part)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts[name + ".tab" + std::to_string(i)] = Plain(tabs->tabText(i));
        }
    }
}

// What a user meets in the current language: the main window, each dialog and the catalogue.
struct Appearance {
    std::map<std::string, std::string> Texts;
    std::vector<std::string> Catalogue;
};

Appearance LookOf(const Tfrm_Main& window) {
    Appearance look;
    CollectTexts(window, look.Texts);
    OpenEveryDialog([&](const QWidget& dialog) { CollectTexts(dialog, look.Texts); });
    for (const CatalogueEntry& entry : CatalogueEntries())
        look.Catalogue.push_back(Plain(ToQString(Text(entry.Id))));
    return look;
}

// Every item of every menu of the window marks an access letter of its own within its menu, the
// languages excepted, which mark none; no toolbar button or control bound to an action shows a
// '&'.
void ExpectOwnAccessLetters(const Tfrm_Main& window) {
    std::vector<std::pair<QString, QList<QAction*>>> menus{
        {u"MainMenu1"_s, window.Ui().MainMenu1->actions()}};
    for (const QMenu* menu : window.findChildren<QMenu*>())
        menus.emplace_back(menu->objectName(), menu->actions());
    for (const auto& [menu, items] : menus) {
        QStringList letters;
        for (const QAction* item : items) {
            if (item->isSeparator() || item->text().isEmpty())
                continue;
            const QString letter = QKeySequence::mnemonic(item->text()).toString();
            const std::string where = menu.toStdString() + ": " + item->text().toStdString();
            if (menu == u"menu_Language"_s) {
                EXPECT_TRUE(letter.isEmpty()) << where;
                continue;
            }
            EXPECT_FALSE(letter.isEmpty()) << where;
            EXPECT_FALSE(letters.contains(letter)) << where;
            letters.append(letter);
        }
    }
    for (const QToolButton* button : window.findChildren<QToolButton*>())
        EXPECT_FALSE(button->text().contains(u'&')) << button->text().toStdString();
    EXPECT_FALSE(window.Ui().checkbox_AbsoluteLink->text().contains(u'&'));
}

QStringList CheckedLanguages(const Tfrm_Main& window) {
    QStringList checked;
    for (const QAction* item : window.Ui().menu_Language->actions()) {
        if (item->isChecked())
            checked.append(item->text());
    }
    return checked;
}

class MainWindowLanguageTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentLanguageFile({}); }

    // Starts the window with the language of that name (no settings file when empty).
    Tfrm_Main& StartIn(const std::string& language) {
        if (!language.empty())
            fixture.folder.WriteFile("tomlet.ini", "[Main]\r\n_Language=" + language + "\r\n");
        return fixture.Start();
    }

    std::string Path(const std::string& name) const { return fixture.folder / name; }

    MainWindowFixture fixture;
};

TEST_F(MainWindowLanguageTest, OneStartTurnsAnEmptyFileIntoATemplateOfTheMainWindow) {
    fixture.folder.WriteFile("Test.lng");
    StartIn("Test");
    EXPECT_EQ(KeysOf(Path("Test.lng")), Union({MainWindowKeys(), CatalogueKeys()}));
    for (const auto& entry : ListIniEntries(Path("Test.lng")))
        EXPECT_EQ(entry.Value, "") << entry.Key;
    EXPECT_TRUE(fixture.prompts.Messages.empty());
}

TEST_F(MainWindowLanguageTest, OpeningTheDialogsOnceAddsTheirSections) {
    fixture.folder.WriteFile("Test.lng");
    StartIn("Test");
    OpenEveryDialog();
    EXPECT_EQ(KeysOf(Path("Test.lng")), AllKeys());
}

TEST_F(MainWindowLanguageTest, TheDialogsTakeTheirCaptionsFromTheLanguageFile) {
    fixture.folder.WriteFile("Test.lng",
                             "[frm_About]\r\nForm.Caption=Über Tomlet\r\nbutton_Ok.Caption=Gut\r\n"
                             "[frm_Find]\r\nForm.Caption=Suchen\r\n"
                             "[frm_Scan]\r\nForm.Caption=Durchsuchen\r\n"
                             "button_SaveMasks.Hint=Masken##speichern\r\n");
    StartIn("Test");
    const Tfrm_About about(AboutFacts{});
    EXPECT_EQ(about.windowTitle(), u"Über Tomlet"_s);
    EXPECT_EQ(about.findChild<QPushButton*>(u"button_Ok"_s)->text(), u"Gut"_s);
    EXPECT_EQ(Tfrm_Find().windowTitle(), u"Suchen"_s);
    testing::FakeMaskStore masks;
    const Tfrm_Scan scan(fixture.prompts, masks, QString(), QString());
    EXPECT_EQ(scan.windowTitle(), u"Durchsuchen"_s);
    EXPECT_EQ(scan.findChild<QPushButton*>(u"button_SaveMasks"_s)->toolTip(),
              u"Masken\r\nspeichern"_s);
}

// The language files shipped with the program are complete: one start and every dialog opened
// once add nothing, and every value is filled in.
class ShippedLanguageTest : public MainWindowLanguageTest,
                            public ::testing::WithParamInterface<std::string> {};

TEST_P(ShippedLanguageTest, GivesEveryKeyTheProgramAsksFor) {
    const std::string language = GetParam();
    const std::string shipped = ShippedLanguage(language);
    ASSERT_TRUE(shipped.starts_with("\xEF\xBB\xBF"));
    fixture.folder.WriteFile(language + ".lng", shipped);
    StartIn(language);
    OpenEveryDialog();

    const std::string path = Path(language + ".lng");
    EXPECT_EQ(ReadWholeFile(path), shipped);
    EXPECT_EQ(KeysOf(path), AllKeys());
    for (const auto& entry : ListIniEntries(path))
        EXPECT_NE(entry.Value, "") << entry.Key;
}

// Every language file the program ships, whatever languages are added.
std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> languages;
    for (const auto& entry : std::filesystem::directory_iterator(TOMLET_LANGUAGES_DIR))
        if (entry.path().extension() == ".lng")
            languages.push_back(entry.path().stem().string());
    return languages;
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageTest, ::testing::ValuesIn(ShippedLanguages()));

// The current language is the checked one, and every language gives each menu item an access
// letter of its own.
TEST_F(MainWindowLanguageTest, EnglishBringsBackTheDesignedTextsAfterRussian) {
    for (const std::string language : {"Russian", "English"})
        fixture.folder.WriteFile(language + ".lng", ShippedLanguage(language));
    Tfrm_Main& window = StartIn("");
    Appearance designed = LookOf(window);
    ExpectOwnAccessLetters(window);
    EXPECT_EQ(CheckedLanguages(window), QStringList{u"English"_s});  // the window's own texts

    Pick(window, u"Russian"_s);
    ExpectOwnAccessLetters(window);
    EXPECT_EQ(CheckedLanguages(window), QStringList{u"Russian"_s});
    EXPECT_EQ(WithoutAccessLetter(window.Ui().menu_File->title()), u"Файл"_s);
    EXPECT_EQ(WithoutAccessLetter(window.Ui().a_files_item_Open->text()), u"Открыть..."_s);
    EXPECT_EQ(window.Ui().dialog_Save->Title(), u"Сохранить проект"_s);
    EXPECT_EQ(ToQString(Text(TextId::hint_Hint)), u"*  Подсказка: "_s);
    EXPECT_EQ(window.Ui().combobox_ObjectType->itemText(otFolder), u"Папка"_s);
    EXPECT_EQ(window.Ui().combobox_ObjectAction->itemText(oaExecute), u"Запустить"_s);
    EXPECT_EQ(ToQString(Text(TextId::message_DeleteAllInformation)),
              u"Все данные будут потеряны!\r\nУдалить всё?"_s);

    Pick(window, u"English"_s);
    ExpectOwnAccessLetters(window);
    EXPECT_EQ(CheckedLanguages(window), QStringList{u"English"_s});
    EXPECT_EQ(window.Ui().combobox_ObjectType->itemText(otFolder), u"Folder"_s);
    Appearance english = LookOf(window);
    // The about window is designed with a Russian title; English gives it an English one.
    EXPECT_EQ(english.Texts.extract("frm_About/frm_About.windowTitle").mapped(), "About");
    designed.Texts.erase("frm_About/frm_About.windowTitle");
    EXPECT_EQ(english.Texts, designed.Texts);
    EXPECT_EQ(english.Catalogue, designed.Catalogue);
}

TEST_F(MainWindowLanguageTest, TheMainCaptionNeverComesFromALanguageFile) {
    fixture.folder.WriteFile("Test.lng", "[frm_Main]\r\nForm.Caption=Wrong\r\n");
    const Tfrm_Main& window = StartIn("Test");
    EXPECT_TRUE(window.windowTitle().startsWith(u"Tomlet"_s));
    std::size_t asked = 0;
    for (const auto& entry : ListIniEntries(Path("Test.lng")))
        asked += entry.Key == "Form.Caption";
    EXPECT_EQ(asked, 1u);
}

TEST_F(MainWindowLanguageTest, HintsBreakAtNumberSignsAndCaptionsKeepThem) {
    fixture.folder.WriteFile("Test.lng",
                             "[frm_Main]\r\na_files_item_Open.Hint=Open a##project\r\n"
                             "label_DataTree.Caption=Data##tree\r\n"
                             "edit_SplashFileName.Hint=JPEG##BMP\r\n");
    const MainWindowUi& ui = StartIn("Test").Ui();
    EXPECT_EQ(ui.a_files_item_Open->toolTip(), u"Open a\r\nproject"_s);
    EXPECT_EQ(ui.a_files_item_Open->statusTip(), u"Open a\r\nproject"_s);
    EXPECT_EQ(ui.label_DataTree->text(), u"Data##tree"_s);
    EXPECT_EQ(ui.edit_SplashFileName->toolTip(), u"JPEG\r\nBMP"_s);
}

TEST_F(MainWindowLanguageTest, MenuItemsToolbarButtonsAndBoundControlsFollowTheirActions) {
    fixture.folder.WriteFile("Test.lng",
                             "[frm_Main]\r\na_files_item_Open.Caption=Ouvrir\r\n"
                             "a_options_item_AbsolutePath.Caption=Chemins absolus\r\n"
                             "a_button_Commit.Caption=Valider\r\n");
    const MainWindowUi& ui = StartIn("Test").Ui();
    EXPECT_TRUE(ui.menu_File->actions().contains(ui.a_files_item_Open));
    auto* button =
        qobject_cast<QToolButton*>(ui.toolbar_Editor->widgetForAction(ui.a_files_item_Open));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), u"Ouvrir"_s);
    EXPECT_EQ(ui.checkbox_AbsoluteLink->text(), u"Chemins absolus"_s);
    EXPECT_EQ(ui.button_Commit->text(), u"Valider"_s);
    const KeySet asked = KeysOf(Path("Test.lng"));
    EXPECT_FALSE(asked.contains("frm_Main/checkbox_AbsoluteLink.Caption"));
    EXPECT_FALSE(asked.contains("frm_Main/button_Commit.Caption"));
}

TEST_F(MainWindowLanguageTest, WithoutALanguageSettingTheFileNamedLngAloneIsUsed) {
    fixture.folder.WriteFile(".lng", "[frm_Main]\r\nmenu_File.Caption=Datei\r\n");
    fixture.folder.WriteFile("English.lng");
    fixture.folder.WriteFile("English.LNG.lng");
    const MainWindowUi& ui = StartIn("").Ui();
    EXPECT_EQ(CurrentLanguageFile(), fixture.folder / ".lng");
    EXPECT_EQ(ui.menu_File->title(), u"&Datei"_s);
    QStringList captions;
    for (const QAction* item : ui.menu_Language->actions())
        captions << item->text();
    EXPECT_EQ(captions, (QStringList{u""_s, u"English"_s}));
}

// "_Language" names a file of the program folder itself: a file elsewhere is never filled with
// the keys a start asks for.
TEST_F(MainWindowLanguageTest, ALanguageSettingThatLeadsElsewhereCountsAsNone) {
    fixture.folder.WriteFile("other/victim.lng");
    StartIn("other/victim");
    EXPECT_EQ(CurrentLanguageFile(), fixture.folder / ".lng");
    EXPECT_EQ(ReadWholeFile(Path("other/victim.lng")), "");
}

TEST_F(MainWindowLanguageTest, PickingALanguageCreatesTheSettingsFileAndTranslatesTheWindow) {
    fixture.folder.WriteFile("Deutsch.lng",
                             "[frm_Main]\r\nmenu_File.Caption=Datei\r\n"
                             "Form.Caption=Nicht hier\r\n"
                             "[Message]\r\nmessage_RecordNotFound=Nichts!\r\n"
                             "[frm_About]\r\nForm.Caption=\xC3\x9C\x62\x65r\r\n");
    Tfrm_Main& window = StartIn("");
    const QString caption = window.windowTitle();
    const QList<QAction*> items = window.Ui().menu_Language->actions();
    ASSERT_EQ(items.size(), 1);
    items.front()->trigger();

    EXPECT_EQ(ReadWholeFile(Path("tomlet.ini")), "[Main]\r\n_Language=Deutsch\r\n");
    EXPECT_EQ(window.Ui().menu_File->title(), u"&Datei"_s);
    EXPECT_EQ(window.windowTitle(), caption);
    EXPECT_EQ(Text(TextId::message_RecordNotFound), "Nichts!");
    // Windows created from now on use the new language.
    EXPECT_EQ(Tfrm_About(AboutFacts{}).windowTitle(), u"Über"_s);
}

TEST_F(MainWindowLanguageTest, ASettingsFileThatCannotBeReadIsReportedOnceAndTheWindowStarts) {
    fixture.folder.WriteFile(".lng", "[frm_Main]\r\nmenu_File.Caption=Datei\r\n");
    fixture.folder.MakeFolder("tomlet.ini");
    const MainWindowUi& ui = StartIn("").Ui();
    EXPECT_EQ(fixture.prompts.MessageTexts(), QStringList{u"Cant open Inifile!"_s});
    EXPECT_EQ(fixture.prompts.Messages.front().Kind, MessageKind::Error);
    EXPECT_EQ(ui.menu_File->title(), u"&File"_s);
}

class MainWindowSettingsTest : public MainWindowLanguageTest {
protected:
    Tfrm_Main& StartWith(const std::string& settings) {
        fixture.folder.WriteFile("tomlet.ini", settings);
        return fixture.Start();
    }
};

// tomlet.ini may take the window's caption away, maximise it and hide the menu bar and the five
// menus; without it everything is shown.
TEST_F(MainWindowSettingsTest, TheSettingsFileShapesTheWindow) {
    struct Case {
        const char* Settings;  // no file when empty
        bool Frameless, Maximized, MenusShown;
    };
    for (const auto& [settings, frameless, maximized, menusShown] : {
             Case{"", false, false, true},
             Case{"[Main]\r\n_Caption=0\r\n_Maximized=1\r\n", true, true, true},
             Case{"[Main]\r\n_Menu=0\r\n_Caption=yes\r\n[Menu]\r\n_File=0\r\n_Search=$0\r\n"
                  "_View=0x0\r\n_Options=0\r\n_About=0\r\n",
                  false, false, false},
         }) {
        SCOPED_TRACE(settings);
        const Tfrm_Main& window = *settings == '\0' ? fixture.Start() : StartWith(settings);
        EXPECT_EQ(window.windowFlags().testFlag(Qt::FramelessWindowHint), frameless);
        EXPECT_EQ(window.windowState().testFlag(Qt::WindowMaximized), maximized);
        const MainWindowUi& ui = window.Ui();
        EXPECT_EQ(ui.MainMenu1->isHidden(), !menusShown);
        for (const QMenu* menu :
             {ui.menu_File, ui.menu_Search, ui.menu_View, ui.menu_Options, ui.menu_About})
            EXPECT_EQ(menu->menuAction()->isVisible(), menusShown)
                << menu->objectName().toStdString();
    }
}

TEST_F(MainWindowSettingsTest, TheDefaultFileIsTakenRelativeToTheCurrentDirectory) {
    fixture.folder.MakeFolder("disc");
    const std::string project = fixture.WriteProject("disc/catalogue.tml", TProjectRec{});
    fixture.WriteProject("default.tml", TProjectRec{});
    Tfrm_Main& window = StartWith("[Default]\r\n_DefaultFile=disc/catalogue.tml\r\n");
    EXPECT_EQ(std::filesystem::path(window.Session().CurrentFileName()),
              std::filesystem::path(project));
}

TEST_F(MainWindowSettingsTest, AnEmptyDefaultFileMeansDefaultTmlInTheProgramFolder) {
    const std::string project = fixture.WriteProject("default.tml", TProjectRec{});
    fixture.folder.MakeFolder("elsewhere");
    QDir::setCurrent(QString::fromStdString(fixture.folder / "elsewhere"));
    Tfrm_Main& window = StartWith("[Default]\r\n_DefaultFile=\r\n");
    EXPECT_EQ(window.Session().CurrentFileName(), project);
}

}  // namespace
}  // namespace tomlet
