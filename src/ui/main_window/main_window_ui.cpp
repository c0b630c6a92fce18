#include "ui/main_window/main_window_ui.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

#include "core/records.h"
#include "ui/base/access_letters.h"
#include "ui/dialogs/file_dialog_texts.h"
#include "ui/tree/object_icons.h"
#include "ui/tree/rx_popup_menu.h"

namespace tomlet {

namespace {

struct ActionText {
    const char* Name;
    const char* Caption;
    const char* Hint = "";
    QKeySequence Shortcut = {};
    QStyle::StandardPixmap Icon = QStyle::SP_CustomBase;
};

QAction* MakeAction(QMainWindow& window, const ActionText& text) {
    auto* action = new QAction(QString::fromUtf8(text.Caption), &window);
    action->setObjectName(QLatin1String(text.Name));
    const QString hint = QString::fromUtf8(text.Hint);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    action->setShortcut(text.Shortcut);
    if (text.Icon != QStyle::SP_CustomBase)
        action->setIcon(window.style()->standardIcon(text.Icon));
    // Shortcuts work in both views, whichever menus the view or the settings hide.
    window.addAction(action);
    return action;
}

QAction* MakeTaggedAction(QMainWindow& window, const ActionText& text, int tag) {
    QAction* action = MakeAction(window, text);
    action->setData(tag);
    return action;
}

constexpr const char* BrowserHint =
    "To switch in a browser and to load the current file\r\n"
    "  * with Control - to switch without loading the current file";
constexpr const char* SaveNBrowserHint =
    "To save, to switch in a browser and to load the current file\r\n"
    "  * with Control - to switch without loading the current file";
constexpr const char* AbsolutePathHint =
    "Absolute path - path indicating a real occurrence data of the project.\r\n"
    "Relative path - path rather Tomlet\r\n"
    "(used if the project and the data of the project will be is on a compact disc, \r\n"
    "Tomlet in this case owes is in a folder of the project)";

void BuildActions(QMainWindow& w, MainWindowUi& ui) {
    using S = QStyle;
    ui.a_files_item_New = MakeAction(w, {"a_files_item_New", "New...", "New project",
                                         QKeySequence(Qt::CTRL | Qt::Key_N), S::SP_FileIcon});
    ui.a_files_item_Open =
        MakeAction(w, {"a_files_item_Open", "Open...", "Open project",
                       QKeySequence(Qt::CTRL | Qt::Key_O), S::SP_DialogOpenButton});
    ui.a_files_item_OpenDefault =
        MakeAction(w, {"a_files_item_OpenDefault", "Open default file", "Open default file",
                       QKeySequence(Qt::CTRL | Qt::Key_D), S::SP_DirHomeIcon});
    ui.a_files_item_CloseFile = MakeAction(
        w, {"a_files_item_CloseFile", "Close file", "Close file", {}, S::SP_DialogCloseButton});
    ui.a_files_item_Save =
        MakeAction(w, {"a_files_item_Save", "Save...", "Save project",
                       QKeySequence(Qt::CTRL | Qt::Key_S), S::SP_DialogSaveButton});
    ui.a_files_item_SaveAS = MakeAction(
        w, {"a_files_item_SaveAS", "Save as...", "Save project as", {}, S::SP_DriveFDIcon});
    ui.a_files_item_Shelf = MakeAction(
        w, {"a_files_item_Shelf", "Shelf...", "Find objects in every catalogue on the shelf"});
    ui.a_files_item_Shelf->setIcon(ObjectImage(CompactDiscImage));
    ui.a_files_item_ExportWebPage =
        MakeAction(w, {"a_files_item_ExportWebPage", "Export as web page...",
                       "Write the project as a web page that any browser shows"});
    ui.a_files_item_ExportWebPage->setIcon(ObjectTypeIcon(otWebPage));
    ui.a_files_item_Exit = MakeAction(w, {"a_files_item_Exit", "Exit", "Exit"});

    ui.a_search_item_Find =
        MakeAction(w, {"a_search_item_Find", "Find...", "Find", QKeySequence(Qt::CTRL | Qt::Key_F),
                       S::SP_FileDialogContentsView});
    ui.a_search_item_FindForward =
        MakeAction(w, {"a_search_item_FindForward", "Find forward", "Find forward",
                       QKeySequence(Qt::Key_F3), S::SP_ArrowForward});

    ui.a_view_item_Browser =
        MakeAction(w, {"a_view_item_Browser", "Browser", BrowserHint, {}, S::SP_ComputerIcon});
    ui.a_view_item_SaveNBrowser = MakeAction(w, {"a_view_item_SaveNBrowser",
                                                 "Save and switch in browser",
                                                 SaveNBrowserHint,
                                                 {},
                                                 S::SP_DialogApplyButton});
    ui.a_view_item_Editor = MakeAction(w, {"a_view_item_Editor", "Editor", "Editor"});
    ui.viewGroup = new QActionGroup(&w);
    for (QAction* view : {ui.a_view_item_Browser, ui.a_view_item_Editor}) {
        view->setCheckable(true);
        ui.viewGroup->addAction(view);
    }

    ui.a_options_item_AbsolutePath =
        MakeAction(w, {"a_options_item_AbsolutePath", "Absolute paths", AbsolutePathHint});
    ui.a_options_item_AbsolutePath->setCheckable(true);
    ui.a_options_item_AbsolutePath->setChecked(true);

    ui.a_operation_item_ScanProjectDirectory =
        MakeAction(w, {"a_operation_item_ScanProjectDirectory",
                       "Scan directory of project data ...",
                       "Scan directory of project data",
                       {},
                       S::SP_DriveHDIcon});
    ui.a_operation_item_ScanCurrentFolder = MakeAction(w, {"a_operation_item_ScanCurrentFolder",
                                                           "Scan current folder...",
                                                           "Scan current folder",
                                                           {},
                                                           S::SP_DirIcon});
    ui.a_operation_item_UpdateFromDisc =
        MakeAction(w, {"a_operation_item_UpdateFromDisc",
                       "Update from disc...",
                       "Update the selected folder, or else the whole data directory, from disc",
                       {},
                       S::SP_BrowserReload});
    ui.a_operation_item_AddObject = MakeAction(
        w, {"a_operation_item_AddObject", "Add object", "Add object", {}, S::SP_FileLinkIcon});
    ui.a_operation_item_AddChildObject = MakeAction(w, {"a_operation_item_AddChildObject",
                                                        "Add child object",
                                                        "Add child object",
                                                        {},
                                                        S::SP_FileDialogNewFolder});
    ui.a_operation_item_DeleteObject = MakeAction(w, {"a_operation_item_DeleteObject",
                                                      "Delete object...",
                                                      "Delete object",
                                                      {},
                                                      S::SP_DialogDiscardButton});
    ui.a_operation_item_DeleteAll = MakeAction(
        w, {"a_operation_item_DeleteAll", "Delete all...", "Delete all", {}, S::SP_TrashIcon});
    ui.a_operation_item_CollapseTree = MakeAction(
        w, {"a_operation_item_CollapseTree", "Collapse tree", "Collapse tree", {}, S::SP_ArrowUp});
    ui.a_operation_item_ExpandTree = MakeAction(
        w, {"a_operation_item_ExpandTree", "Expand tree", "Expand tree", {}, S::SP_ArrowDown});

    ui.a_utility_item_CorrectObjectDir =
        MakeAction(w, {"a_utility_item_CorrectObjectDir", "Check of objects properties"});

    ui.a_action_item_Action = MakeTaggedAction(w, {"a_action_item_Action", "No Action"}, 0);
    ui.a_action_item_OpenAction = MakeTaggedAction(w, {"a_action_item_OpenAction", "Open"}, 1);
    ui.a_action_item_ExecuteAction =
        MakeTaggedAction(w, {"a_action_item_ExecuteAction", "Execute"}, 2);
    ui.a_action_item_NotePadAction =
        MakeTaggedAction(w, {"a_action_item_NotePadAction", "Open by Notepad"}, 3);
    ui.a_action_item_AssociationAction =
        MakeTaggedAction(w, {"a_action_item_AssociationAction", "Open by association"}, 4);
    ui.a_action_item_OpenFolderContainingObject =
        MakeTaggedAction(w,
                         {"a_action_item_OpenFolderContainingObject",
                          "Open folder containing the object",
                          "",
                          {},
                          S::SP_DirOpenIcon},
                         0);

    ui.a_about_item_AboutProgram =
        MakeAction(w, {"a_about_item_AboutProgram", "About", "", {}, S::SP_MessageBoxInformation});
    ui.a_button_Commit = MakeAction(w, {"a_button_Commit", "Commit"});
}

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* caption) {
    QMenu* menu = bar.addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QLatin1String(name));
    return menu;
}

void BuildMainMenu(QMainWindow& w, MainWindowUi& ui) {
    ui.MainMenu1 = w.menuBar();
    ui.MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    ui.menu_File = AddMenu(*ui.MainMenu1, "menu_File", "File");
    ui.menu_File->addActions({ui.a_files_item_New, ui.a_files_item_Open,
                              ui.a_files_item_OpenDefault, ui.a_files_item_Shelf});
    ui.menu_RecentProjects = ui.menu_File->addMenu(QStringLiteral("Recent projects"));
    ui.menu_RecentProjects->setObjectName(QStringLiteral("menu_RecentProjects"));
    ui.menu_File->addSeparator();
    ui.menu_File->addAction(ui.a_files_item_CloseFile);
    ui.menu_File->addSeparator();
    ui.menu_File->addActions({ui.a_files_item_Save, ui.a_files_item_SaveAS});
    ui.mSeparator1 = ui.menu_File->addSeparator();
    ui.mSeparator1->setObjectName(QStringLiteral("mSeparator1"));
    ui.menu_File->addAction(ui.a_files_item_ExportWebPage);
    ui.menu_File->addSeparator();
    ui.menu_File->addAction(ui.a_files_item_Exit);

    ui.menu_Search = AddMenu(*ui.MainMenu1, "menu_Search", "Find");
    ui.menu_Search->addActions({ui.a_search_item_Find, ui.a_search_item_FindForward});

    ui.menu_View = AddMenu(*ui.MainMenu1, "menu_View", "View");
    ui.menu_View->addActions({ui.a_view_item_Browser, ui.a_view_item_Editor});

    ui.menu_Options = AddMenu(*ui.MainMenu1, "menu_Options", "Options");
    ui.menu_Options->addAction(ui.a_options_item_AbsolutePath);
    ui.menu_Language = ui.menu_Options->addMenu(QStringLiteral("Language"));
    ui.menu_Language->setObjectName(QStringLiteral("menu_Language"));

    ui.menu_Operations = AddMenu(*ui.MainMenu1, "menu_Operations", "Operations");
    ui.menu_Operations->addActions({ui.a_operation_item_ScanProjectDirectory,
                                    ui.a_operation_item_ScanCurrentFolder,
                                    ui.a_operation_item_UpdateFromDisc});
    ui.menu_Operations->addSeparator();
    ui.menu_Operations->addActions(
        {ui.a_operation_item_AddObject, ui.a_operation_item_AddChildObject});
    ui.menu_Operations->addSeparator();
    ui.menu_Operations->addActions(
        {ui.a_operation_item_DeleteObject, ui.a_operation_item_DeleteAll});
    ui.menu_Operations->addSeparator();
    ui.menu_Operations->addActions(
        {ui.a_operation_item_CollapseTree, ui.a_operation_item_ExpandTree});

    ui.menu_Utility = AddMenu(*ui.MainMenu1, "menu_Utility", "Utility");
    ui.menu_Utility->addAction(ui.a_utility_item_CorrectObjectDir);

    ui.menu_About = AddMenu(*ui.MainMenu1, "menu_About", "?");
    ui.menu_About->addAction(ui.a_about_item_AboutProgram);
}

void BuildContextMenu(QMainWindow& w, MainWindowUi& ui) {
    ui.RxPopupMenu = new RxPopupMenu(&w);
    ui.RxPopupMenu->setObjectName(QStringLiteral("RxPopupMenu"));
    // Bound to one of the tagged actions just before the menu opens.
    ui.menuitem_NoAction = ui.RxPopupMenu->addAction(QString());
    ui.menuitem_NoAction->setObjectName(QStringLiteral("menuitem_NoAction"));
    ui.menuitem_NoAction->setVisible(false);
    ui.menu_Alternate = ui.RxPopupMenu->addMenu(QStringLiteral("Alternate action"));
    ui.menu_Alternate->setObjectName(QStringLiteral("menu_Alternate"));
    ui.menu_Alternate->addActions({ui.a_action_item_OpenAction, ui.a_action_item_ExecuteAction,
                                   ui.a_action_item_NotePadAction,
                                   ui.a_action_item_AssociationAction});
    ui.RxPopupMenu->addSeparator();
    ui.RxPopupMenu->addActions({ui.a_search_item_Find, ui.a_search_item_FindForward});
    ui.RxPopupMenu->addSeparator();
    ui.RxPopupMenu->addActions({ui.a_operation_item_CollapseTree, ui.a_operation_item_ExpandTree});
    ui.RxPopupMenu->addSeparator();
    ui.RxPopupMenu->addAction(ui.a_action_item_OpenFolderContainingObject);
}

void BuildFileDialogs(QMainWindow& w, MainWindowUi& ui) {
    const QString filter = QStringLiteral("Tomlet files (*.tml)|*.tml|Any files|*.*");
    ui.dialog_Open = new FileDialogTexts(QStringLiteral("dialog_Open"),
                                         QStringLiteral("Open project"), filter, &w);
    ui.dialog_Save = new FileDialogTexts(QStringLiteral("dialog_Save"),
                                         QStringLiteral("Save project"), filter, &w);
}

}  // namespace

MainWindowUi BuildMainWindowUi(QMainWindow& window) {
    MainWindowUi ui;
    BuildActions(window, ui);
    BuildMainMenu(window, ui);
    BuildContextMenu(window, ui);
    BuildFileDialogs(window, ui);
    BuildMainWindowPages(window, ui);
    AssignAccessLetters(window);
    OpenMenuBarByF10(*ui.MainMenu1);
    return ui;
}

}  // namespace tomlet
