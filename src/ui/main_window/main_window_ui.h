#pragma once

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace tomlet {

class FileDialogTexts;
class ObjectTreeView;

// Every control, menu and action of the main window. The names are the objects' names, which
// the language files address them by. The window owns them all.
struct MainWindowUi {
    // Files
    QAction* a_files_item_New = nullptr;
    QAction* a_files_item_Open = nullptr;
    QAction* a_files_item_OpenDefault = nullptr;
    QAction* a_files_item_CloseFile = nullptr;
    QAction* a_files_item_Save = nullptr;
    QAction* a_files_item_SaveAS = nullptr;
    QAction* a_files_item_Shelf = nullptr;
    QAction* a_files_item_ExportWebPage = nullptr;
    QAction* a_files_item_Exit = nullptr;
    // Search
    QAction* a_search_item_Find = nullptr;
    QAction* a_search_item_FindForward = nullptr;
    // View
    QAction* a_view_item_Browser = nullptr;
    QAction* a_view_item_SaveNBrowser = nullptr;
    QAction* a_view_item_Editor = nullptr;
    QActionGroup* viewGroup = nullptr;
    // Options
    QAction* a_options_item_AbsolutePath = nullptr;
    // Operations
    QAction* a_operation_item_ScanProjectDirectory = nullptr;
    QAction* a_operation_item_ScanCurrentFolder = nullptr;
    QAction* a_operation_item_UpdateFromDisc = nullptr;
    QAction* a_operation_item_AddObject = nullptr;
    QAction* a_operation_item_AddChildObject = nullptr;
    QAction* a_operation_item_DeleteObject = nullptr;
    QAction* a_operation_item_DeleteAll = nullptr;
    QAction* a_operation_item_CollapseTree = nullptr;
    QAction* a_operation_item_ExpandTree = nullptr;
    // Utility
    QAction* a_utility_item_CorrectObjectDir = nullptr;
    // Action (the tag of each is its QAction::data())
    QAction* a_action_item_Action = nullptr;
    QAction* a_action_item_OpenAction = nullptr;
    QAction* a_action_item_ExecuteAction = nullptr;
    QAction* a_action_item_NotePadAction = nullptr;
    QAction* a_action_item_AssociationAction = nullptr;
    QAction* a_action_item_OpenFolderContainingObject = nullptr;
    // No category
    QAction* a_about_item_AboutProgram = nullptr;
    QAction* a_button_Commit = nullptr;

    // Main menu
    QMenuBar* MainMenu1 = nullptr;
    QMenu* menu_File = nullptr;
    QMenu* menu_RecentProjects = nullptr;
    QAction* mSeparator1 = nullptr;
    QMenu* menu_Search = nullptr;
    QMenu* menu_View = nullptr;
    QMenu* menu_Options = nullptr;
    QMenu* menu_Language = nullptr;
    QMenu* menu_Operations = nullptr;
    QMenu* menu_Utility = nullptr;
    QMenu* menu_About = nullptr;

    // The tree's context menu
    QMenu* RxPopupMenu = nullptr;
    QAction* menuitem_NoAction = nullptr;
    QMenu* menu_Alternate = nullptr;

    FileDialogTexts* dialog_Open = nullptr;
    FileDialogTexts* dialog_Save = nullptr;

    // Pages
    QStackedWidget* PageControl = nullptr;
    QWidget* tabsheet_View = nullptr;
    QWidget* tabsheet_Editor = nullptr;
    QToolBar* toolbar_Editor = nullptr;
    QTabWidget* EditPageControl = nullptr;
    QWidget* tabsheet_ProjectProperties = nullptr;
    QWidget* tabsheet_Data = nullptr;

    // The one tree, moved between the browser page and the data page.
    ObjectTreeView* TreeView = nullptr;
    QVBoxLayout* browserTreeSlot = nullptr;
    QVBoxLayout* dataTreeSlot = nullptr;

    // Browser page
    QLabel* label_BrowserProjectName = nullptr;
    QLabel* label_BrowserProjectName2 = nullptr;
    QSplitter* browserSplitter = nullptr;
    QSplitter* browserBottomSplitter = nullptr;
    QLabel* label_BrowserComments = nullptr;
    QPlainTextEdit* memo_BrowserComments = nullptr;
    QLabel* label_BrowserProjectDescription = nullptr;
    QPlainTextEdit* memo_BrowserProjectDescription = nullptr;

    // Project properties page
    QLabel* label_ProjectDataDir = nullptr;
    QLineEdit* edit_ProjectDataDir = nullptr;
    QAction* edit_ProjectDataDirButton = nullptr;
    QLabel* label_ProjectName = nullptr;
    QLineEdit* edit_ProjectName = nullptr;
    QLabel* label_ProjectName2 = nullptr;
    QLineEdit* edit_ProjectName2 = nullptr;
    QGroupBox* groupbox_SplashScreen = nullptr;
    QLabel* lbl_SplashFile = nullptr;
    QLineEdit* edit_SplashFileName = nullptr;
    QAction* edit_SplashFileNameButton = nullptr;
    QToolButton* button_DontShowSplahScreen = nullptr;
    QLabel* lbl_SplashTime = nullptr;
    QSpinBox* spinedit_SplashShowTime = nullptr;
    QCheckBox* checkbox_AbsoluteLink = nullptr;
    QLabel* label_ProjectDescription = nullptr;
    QPlainTextEdit* memo_ProjectDescription = nullptr;

    // Data page
    QFrame* Panel1 = nullptr;
    QLabel* label_PathFile = nullptr;
    QLineEdit* edit_PathFileName = nullptr;
    QAction* edit_PathFileNameButton = nullptr;
    QLabel* label_Parameters = nullptr;
    QLineEdit* edit_Parameters = nullptr;
    QLabel* label_Caption = nullptr;
    QLineEdit* edit_Caption = nullptr;
    QLabel* label_Hint = nullptr;
    QLineEdit* edit_Hint = nullptr;
    QLabel* label_Keywords = nullptr;
    QComboBox* combobox_Keywords = nullptr;
    QLabel* label_Comments = nullptr;
    QPlainTextEdit* memo_Comments = nullptr;
    QLabel* label_ObjectType = nullptr;
    QComboBox* combobox_ObjectType = nullptr;
    QLabel* label_ObjectAction = nullptr;
    QComboBox* combobox_ObjectAction = nullptr;
    QPushButton* button_Commit = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* label_DataTree = nullptr;
    QWidget* toolbar_Action = nullptr;
};

// Creates the actions, menus, toolbars and pages of the main window; the menus get their access
// letters.
MainWindowUi BuildMainWindowUi(QMainWindow& window);
// The pages and their toolbars; the actions must exist already.
void BuildMainWindowPages(QMainWindow& window, MainWindowUi& ui);

}  // namespace tomlet
