#include "ui/main_window/main_window.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <span>
#include <string_view>

#include "core/catalogue.h"
#include "core/records.h"
#include "core/settings.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/base/translate.h"
#include "ui/dialogs/about_window.h"
#include "ui/main_window/keyboard_state.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {

namespace {

constexpr int DesignedWidth = 630;
constexpr int DesignedHeight = 472;
constexpr int MinimumHeight = 460;

using ForgetFileName = ProjectSession::ForgetFileName;
using Caption = ProjectSession::Caption;

// The few widgets each owner works with.

ObjectFieldsWidgets FieldsWidgets(const MainWindowUi& ui) {
    return {.PathFileName = ui.edit_PathFileName,
            .Parameters = ui.edit_Parameters,
            .Caption = ui.edit_Caption,
            .Hint = ui.edit_Hint,
            .Keywords = ui.combobox_Keywords,
            .ObjectType = ui.combobox_ObjectType,
            .ObjectAction = ui.combobox_ObjectAction,
            .Comments = ui.memo_Comments,
            .BrowserComments = ui.memo_BrowserComments,
            .Commit = ui.a_button_Commit,
            .Tree = ui.TreeView};
}

ProjectSessionWidgets SessionWidgets(const MainWindowUi& ui) {
    return {.BrowserView = ui.a_view_item_Browser,
            .EditorView = ui.a_view_item_Editor,
            .OpenDialog = ui.dialog_Open,
            .SaveDialog = ui.dialog_Save};
}

ProjectPropertiesWidgets PropertiesWidgets(const MainWindowUi& ui) {
    return {.DataDir = ui.edit_ProjectDataDir,
            .Name = ui.edit_ProjectName,
            .Name2 = ui.edit_ProjectName2,
            .SplashFile = ui.edit_SplashFileName,
            .SplashShowTime = ui.spinedit_SplashShowTime,
            .AbsolutePaths = ui.a_options_item_AbsolutePath,
            .AbsolutePathsBox = ui.checkbox_AbsoluteLink,
            .Description = ui.memo_ProjectDescription,
            .BrowserName = ui.label_BrowserProjectName,
            .BrowserName2 = ui.label_BrowserProjectName2,
            .BrowserDescription = ui.memo_BrowserProjectDescription};
}

ObjectRunningWidgets RunningWidgets(const MainWindowUi& ui) {
    return {
        .Tree = ui.TreeView,
        .ContextMenu = ui.RxPopupMenu,
        .OwnActionItem = ui.menuitem_NoAction,
        .AlternateActions = {ui.a_action_item_OpenAction, ui.a_action_item_ExecuteAction,
                             ui.a_action_item_NotePadAction, ui.a_action_item_AssociationAction}};
}

ScanWidgets ScanCommandWidgets(const MainWindowUi& ui) {
    return {.Tree = ui.TreeView, .EditorPages = ui.EditPageControl};
}

}  // namespace

Tfrm_Main::Tfrm_Main(const Seams& seams, const StartupContext& context, QWidget* parent)
    : Tfrm_Common<QMainWindow>(parent),
      m_ui(BuildMainWindowUi(*this)),
      m_seams(seams),
      m_context(context),
      m_model(new ObjectTreeModel(this)),
      // A refused checkable command has already inverted its own check.
      m_commands(*this, seams.UserPrompts, m_busy,
                 [this] {
                     SyncViewChecks();
                     m_properties.ShowProject();
                 }),
      m_fields(*this, FieldsWidgets(m_ui), *m_model, seams.UserPrompts),
      m_recent(*m_ui.menu_RecentProjects, m_preferences,
               [this](const std::string& path) {
                   m_commands.Run([this, &path] { m_session.OpenRecentProject(path); });
               }),
      m_session(*this, SessionWidgets(m_ui), *m_model, m_fields, m_busy, seams, m_pump,
                m_preferences, m_recent, m_context),
      m_properties(*this, PropertiesWidgets(m_ui), *m_model, m_session, seams.UserPrompts,
                   m_context.DiscFolder),
      m_editing(*this, *m_ui.TreeView, *m_model, seams.UserPrompts),
      m_running(*this, RunningWidgets(m_ui), m_session, seams.UserPrompts, seams.SystemShell),
      m_search(*this, *m_ui.TreeView, *m_model, seams.UserPrompts),
      m_scan(*this, ScanCommandWidgets(m_ui), *m_model, m_session, m_busy, seams, m_pump,
             m_context.DiscFolder),
      m_shelf(*this, seams.UserPrompts, m_commands,
              [this](const QString& path, int index) { OpenShelfObject(path, index); }),
      m_webPage(*this, m_session, m_busy, seams, m_pump, m_context.DiscFolder) {
    setObjectName(QStringLiteral("frm_Main"));
    setWindowTitle(QStringLiteral("Tomlet"));
    setMinimumSize(DesignedWidth, MinimumHeight);
    resize(DesignedWidth, DesignedHeight);
    m_ui.TreeView->setModel(m_model);
    // The editor page is in front until the creation switches to the browser view.
    m_ui.PageControl->setCurrentWidget(m_ui.tabsheet_Editor);

    ConnectCommands();
    ConnectObjectActions();
    ConnectStateChanges();
    ConnectTree();
    BindCheckBoxToAction();
    BindCommitButton();
    FormCreate();
    UpdateActions();
}

Tfrm_Main::~Tfrm_Main() = default;

void Tfrm_Main::FormCreate() {
    const std::string& dataFolder = m_context.DataFolder;
    if (!LoadLanguageAtStart(*this, dataFolder))
        m_seams.UserPrompts.ShowMessage(this, MessageKind::Error,
                                        ToQString(Text(TextId::message_CantOpenInifile)));
    if (const QString refusal = m_preferences.Refusal(); !refusal.isEmpty())
        m_seams.UserPrompts.ShowMessage(this, MessageKind::Warning, refusal);
    BuildLanguageMenu(*m_ui.menu_Language, *this, dataFolder);
    for (QAction* language : m_ui.menu_Language->actions())
        m_commands.Connect(language, [this, language] {
            menu_LanguageSelectClick(*this, m_context.DataFolder, language);
            ShowObjectListTexts();
            m_shelf.Retranslate();
        });
    ShowObjectListTexts();
    a_view_item_BrowserExecute();
    m_session.UpdateCaption(Caption::WithFileName);
    std::string startupPath = m_context.DefaultProjectPath();
    TIniRec settings;
    if (ReadSettings(dataFolder, settings)) {
        ApplySettings(settings);
        startupPath = StartupProjectPath(m_context, settings);
    }
    m_commands.Run([this, &startupPath] { m_session.OpenStartupProject(startupPath); });
    if (!RestoreWindowPlace() && !isMaximized())
        CentreOnScreen();
    m_ui.TreeView->setFocus();  // where a reader starts: the keys move through the catalogue
}

void Tfrm_Main::ApplySettings(const TIniRec& settings) {
    m_remembersPlace = settings.ShowCaption && !settings.Maximized;
    if (!settings.ShowCaption)
        setWindowFlag(Qt::FramelessWindowHint);
    if (!settings.ShowMenu)
        m_ui.MainMenu1->hide();
    if (settings.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_ui.menu_File->menuAction()->setVisible(settings.ShowFileMenu);
    m_ui.menu_Search->menuAction()->setVisible(settings.ShowSearchMenu);
    m_ui.menu_View->menuAction()->setVisible(settings.ShowViewMenu);
    m_ui.menu_Options->menuAction()->setVisible(settings.ShowOptionsMenu);
    m_ui.menu_About->menuAction()->setVisible(settings.ShowAboutMenu);
}

bool Tfrm_Main::RestoreWindowPlace() {
    if (!m_remembersPlace || !restoreGeometry(m_preferences.WindowGeometry()))
        return false;
    restoreState(m_preferences.WindowState());
    return true;
}

// ---- Wiring

// Every command reaches its handler through the command runner, which refuses it while the
// window is busy and shows what escapes it; OnError::Ignore marks the commands that report
// nothing whatever fails.
void Tfrm_Main::ConnectCommands() {
    const MainWindowUi& ui = m_ui;
    CommandRunner& run = m_commands;
    run.Connect(ui.a_files_item_New, *this, &Tfrm_Main::a_files_item_NewExecute);
    run.Connect(ui.a_files_item_Open, m_session, &ProjectSession::a_files_item_OpenExecute);
    run.Connect(ui.a_files_item_OpenDefault, m_session,
                &ProjectSession::a_files_item_OpenDefaultExecute);
    run.Connect(ui.a_files_item_CloseFile, m_session,
                &ProjectSession::a_files_item_CloseFileExecute);
    run.Connect(ui.a_files_item_Save, m_session, &ProjectSession::a_files_item_SaveExecute);
    run.Connect(ui.a_files_item_SaveAS, m_session, &ProjectSession::a_files_item_SaveASExecute);
    run.Connect(ui.a_files_item_Shelf, m_shelf, &ShelfCommands::a_files_item_ShelfExecute);
    run.Connect(ui.a_files_item_ExportWebPage, m_webPage,
                &WebPageCommand::a_files_item_ExportWebPageExecute);
    run.Connect(ui.a_files_item_Exit, *this, &Tfrm_Main::a_files_item_ExitExecute);

    run.Connect(ui.a_view_item_Browser, *this, &Tfrm_Main::a_view_item_BrowserExecute);
    run.Connect(ui.a_view_item_Editor, *this, &Tfrm_Main::a_view_item_EditorExecute);
    run.Connect(ui.a_view_item_SaveNBrowser, *this, &Tfrm_Main::a_view_item_SaveNBrowserExecute);
    run.Connect(ui.a_about_item_AboutProgram, *this, &Tfrm_Main::a_about_item_AboutProgramExecute);

    run.Connect(ui.a_search_item_Find, m_search, &TreeSearch::a_search_item_FindExecute);
    run.Connect(ui.a_search_item_FindForward, m_search,
                &TreeSearch::a_search_item_FindForwardExecute);

    run.Connect(ui.edit_ProjectDataDirButton, m_properties,
                &PropertiesPage::edit_ProjectDataDirButtonClick);
    run.Connect(ui.edit_SplashFileNameButton, m_properties,
                &PropertiesPage::edit_SplashFileNameButtonClick);
    run.ConnectSignal(ui.button_DontShowSplahScreen, &QToolButton::clicked,
                      [this] { m_properties.button_DontShowSplahScreenClick(); });
    run.Connect(ui.a_options_item_AbsolutePath, m_properties,
                &PropertiesPage::a_options_item_AbsolutePathExecute);

    // Adding an object and Commit report nothing, whatever fails: the tree and the records keep
    // what they reached.
    run.Connect(ui.a_button_Commit, m_fields, &ObjectFieldsEditor::a_button_CommitExecute,
                OnError::Ignore);
    run.Connect(ui.edit_PathFileNameButton,
                [this] { m_fields.ChooseObjectPath(m_session.ObjectActionContext()); });
    run.Connect(ui.a_operation_item_AddObject, m_editing,
                &TreeEditing::a_operation_item_AddObjectExecute, OnError::Ignore);
    run.Connect(ui.a_operation_item_AddChildObject, m_editing,
                &TreeEditing::a_operation_item_AddChildObjectExecute);
    run.Connect(ui.a_operation_item_DeleteObject, m_editing,
                &TreeEditing::a_operation_item_DeleteObjectExecute);
    run.Connect(ui.a_operation_item_DeleteAll, m_editing,
                &TreeEditing::a_operation_item_DeleteAllExecute);
    run.Connect(ui.a_operation_item_CollapseTree, m_editing,
                &TreeEditing::a_operation_item_CollapseTreeExecute);
    run.Connect(ui.a_operation_item_ExpandTree, m_editing,
                &TreeEditing::a_operation_item_ExpandTreeExecute);
    run.ConnectSignal(
        ui.TreeView, &ObjectTreeView::NodeDropped,
        [this](ObjectNode* target, bool withCtrl) { m_editing.DropSelectedOn(target, withCtrl); });

    run.Connect(ui.a_operation_item_ScanProjectDirectory, m_scan,
                &ScanCommands::a_operation_item_ScanProjectDirectoryExecute);
    run.Connect(ui.a_operation_item_ScanCurrentFolder, m_scan,
                &ScanCommands::a_operation_item_ScanCurrentFolderExecute);
    run.Connect(ui.a_operation_item_UpdateFromDisc, m_scan,
                &ScanCommands::a_operation_item_UpdateFromDiscExecute);
}

// Running an object reports nothing, whatever fails.
void Tfrm_Main::ConnectObjectActions() {
    for (QAction* action : {m_ui.a_action_item_Action, m_ui.a_action_item_OpenAction,
                            m_ui.a_action_item_ExecuteAction, m_ui.a_action_item_NotePadAction,
                            m_ui.a_action_item_AssociationAction})
        m_commands.Connect(
            action, [this, action] { m_running.RunTaggedAction(*action); }, OnError::Ignore);
    m_commands.Connect(m_ui.a_action_item_OpenFolderContainingObject, m_running,
                       &ObjectRunning::a_action_item_OpenFolderContainingObjectExecute,
                       OnError::Ignore);
    m_commands.Connect(m_ui.menuitem_NoAction, m_running, &ObjectRunning::menuitem_NoActionClick,
                       OnError::Ignore);

    ObjectTreeView& tree = *m_ui.TreeView;
    m_commands.ConnectSignal(
        &tree, &ObjectTreeView::DoubleClicked, [this] { m_running.TreeDoubleClicked(); },
        OnError::Ignore);
    connect(&tree, &ObjectTreeView::EnterPressed, this, &Tfrm_Main::EnterInTree);
    connect(&tree, &ObjectTreeView::EditingKeyPressed, this, &Tfrm_Main::EditingKeyInTree);
    tree.SetContextMenu(m_ui.RxPopupMenu);
    m_commands.ConnectSignal(
        m_ui.RxPopupMenu, &QMenu::aboutToShow, [this] { m_running.PrepareContextMenu(); },
        OnError::Ignore);
    tree.SetHintBuilder([this](const ObjectNode& node) { return m_running.HintText(node); });
}

// Every fact UpdateActions reads tells when it changes.
void Tfrm_Main::ConnectStateChanges() {
    connect(m_ui.PageControl, &QStackedWidget::currentChanged, this,
            &Tfrm_Main::ScheduleUpdateActions);
    connect(m_ui.EditPageControl, &QTabWidget::currentChanged, this,
            &Tfrm_Main::ScheduleUpdateActions);
    connect(&m_session, &ProjectSession::Changed, this, &Tfrm_Main::ScheduleUpdateActions);
    connect(&m_recent, &RecentProjects::Changed, this, &Tfrm_Main::ScheduleUpdateActions);
    // At once, so that nothing is enabled while a load, save or scan runs, and Commit follows
    // the author's typing (Enter in a field triggers it).
    connect(&m_busy, &BusyState::Changed, this, &Tfrm_Main::UpdateActions);
    connect(&m_fields, &ObjectFieldsEditor::EditsChanged, this, &Tfrm_Main::UpdateActions);
}

void Tfrm_Main::ConnectTree() {
    ObjectTreeView& tree = *m_ui.TreeView;
    tree.installEventFilter(this);
    tree.viewport()->installEventFilter(this);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, signal, this, &Tfrm_Main::ScheduleUpdateActions);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &Tfrm_Main::ScheduleUpdateActions);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &Tfrm_Main::ScheduleUpdateActions);
    connect(m_model, &QAbstractItemModel::modelReset, this, &Tfrm_Main::ScheduleUpdateActions);
    connect(tree.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // The tree keeps its current node selected, so "selected" and "current" agree.
                QItemSelectionModel* selection = m_ui.TreeView->selectionModel();
                if (current.isValid() && !selection->isSelected(current))
                    selection->select(current, QItemSelectionModel::ClearAndSelect);
                m_fields.FollowSelection();
                ScheduleUpdateActions();
            });
}

void Tfrm_Main::BindCheckBoxToAction() {
    QCheckBox* box = m_ui.checkbox_AbsoluteLink;
    QAction* action = m_ui.a_options_item_AbsolutePath;
    // Its check shows the path mode, as the command's does (PropertiesPage::ShowProject).
    const auto mirror = [box, action] {
        box->setText(WithoutAccessLetter(action->text()));  // the menu item's letter
        box->setToolTip(action->toolTip());
        box->setEnabled(action->isEnabled());
    };
    mirror();
    MarkBoundToAction(*box, *action);
    connect(action, &QAction::changed, box, mirror);
    connect(box, &QCheckBox::clicked, action, &QAction::trigger);
}

void Tfrm_Main::BindCommitButton() {
    QPushButton* button = m_ui.button_Commit;
    QAction* action = m_ui.a_button_Commit;
    MarkBoundToAction(*button, *action);
    connect(action, &QAction::changed, button, [button, action] {
        button->setText(action->text());
        button->setEnabled(action->isEnabled());
    });
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
}

// ---- The enabled state of the actions

void Tfrm_Main::ScheduleUpdateActions() {
    if (m_updateScheduled)
        return;
    m_updateScheduled = true;
    QTimer::singleShot(0, this, &Tfrm_Main::UpdateActions);
}

void Tfrm_Main::UpdateActions() {
    m_updateScheduled = false;
    const MainWindowUi& ui = m_ui;

    const bool idle = !m_busy.IsBusy();
    const bool hasNodes = !m_model->Tree().IsEmpty();
    const ObjectNode* selected = ui.TreeView->SelectedNode();
    const bool hasSelection = selected != nullptr;
    const bool folderSelected = hasSelection && selected->Data.ObjectType == otFolder;
    const bool virtualFolderSelected = hasSelection && selected->Data.ObjectType == otVirtualFolder;
    const bool onDataPage = ui.EditPageControl->currentWidget() == ui.tabsheet_Data;
    const bool treeShown = IsBrowserView() || onDataPage;
    const bool hasDataDir = !m_session.DataDir().empty();
    const bool hasFile = !m_session.CurrentFileName().empty();
    const bool canEditTree = idle && hasDataDir && onDataPage;

    ui.toolbar_Editor->setEnabled(!m_busy.CommandsOff());
    for (QAction* menu : ui.MainMenu1->actions())
        menu->setEnabled(!m_busy.CommandsOff());
    ui.menu_RecentProjects->menuAction()->setEnabled(!m_recent.IsEmpty());

    ui.a_files_item_New->setEnabled(idle);
    ui.a_files_item_Open->setEnabled(idle);
    ui.a_files_item_OpenDefault->setEnabled(idle);
    ui.a_files_item_CloseFile->setEnabled(idle);
    // Whatever the question before replacing the project would offer to save can be saved.
    const bool hasSomethingToSave = hasNodes || m_session.IsModified();
    ui.a_files_item_Save->setEnabled(idle && hasSomethingToSave);
    ui.a_files_item_SaveAS->setEnabled(idle && hasSomethingToSave);
    ui.a_files_item_Shelf->setEnabled(idle);
    ui.a_files_item_ExportWebPage->setEnabled(idle && hasFile);
    ui.a_files_item_Exit->setEnabled(idle);
    ui.a_view_item_Browser->setEnabled(idle);
    ui.a_view_item_Editor->setEnabled(idle);
    ui.a_view_item_SaveNBrowser->setEnabled(idle);
    ui.a_search_item_Find->setEnabled(idle && hasNodes && treeShown);
    ui.a_search_item_FindForward->setEnabled(idle && hasNodes && treeShown);
    ui.a_operation_item_ScanProjectDirectory->setEnabled(idle && !hasNodes && onDataPage);
    ui.a_operation_item_ScanCurrentFolder->setEnabled(idle && onDataPage && hasDataDir &&
                                                      folderSelected);
    ui.a_operation_item_UpdateFromDisc->setEnabled(idle && onDataPage && hasDataDir && hasNodes);
    ui.a_operation_item_AddObject->setEnabled(canEditTree);
    ui.a_operation_item_AddChildObject->setEnabled(canEditTree && hasSelection);
    ui.a_operation_item_DeleteObject->setEnabled(canEditTree && hasSelection);
    ui.a_operation_item_DeleteAll->setEnabled(canEditTree && hasNodes);
    ui.a_operation_item_CollapseTree->setEnabled(idle && hasNodes && treeShown);
    ui.a_operation_item_ExpandTree->setEnabled(idle && hasNodes && treeShown);
    ui.a_action_item_OpenFolderContainingObject->setEnabled(hasSelection && !virtualFolderSelected);
    ui.a_button_Commit->setEnabled(m_fields.HasEdits());
    // Reserved for a check that was never written: shown, never enabled.
    ui.a_utility_item_CorrectObjectDir->setEnabled(false);
    SyncViewChecks();

    // Not actions, but the same facts: the editor's object fields need a selected node.
    if (IsEditorView())
        m_fields.EnableFields(hasSelection);
}

// A view command that did not switch has already moved the check of its radio pair.
void Tfrm_Main::SyncViewChecks() {
    if (IsBrowserView())
        m_ui.a_view_item_Browser->setChecked(true);
    else if (IsEditorView())
        m_ui.a_view_item_Editor->setChecked(true);
}

// ---- Views

bool Tfrm_Main::IsBrowserView() const {
    return m_ui.PageControl->currentWidget() == m_ui.tabsheet_View;
}

bool Tfrm_Main::IsEditorView() const {
    return m_ui.PageControl->currentWidget() == m_ui.tabsheet_Editor;
}

void Tfrm_Main::a_view_item_BrowserExecute() {
    if (!IsBrowserView())
        SwitchView(View::Browser);
}

void Tfrm_Main::a_view_item_EditorExecute() {
    if (!IsEditorView())
        SwitchView(View::Editor);
}

void Tfrm_Main::a_view_item_SaveNBrowserExecute() {
    m_session.a_files_item_SaveExecute();
    a_view_item_BrowserExecute();
}

// Every change of view closes the project and reloads it from its file, unless Ctrl is held:
// then the project stays closed and its file is forgotten. Changes not yet saved are asked about
// first, and Cancel leaves everything as it was.
void Tfrm_Main::SwitchView(View view) {
    const bool ctrl = IsCtrlHeld();
    if (!m_session.MayReplaceProject()) {
        SyncViewChecks();
        return;
    }
    m_session.CloseProject(ctrl ? ForgetFileName::Yes : ForgetFileName::No);
    ShowView(view);
    if (!ctrl) {
        const std::string file = m_session.CurrentFileName();
        m_session.LoadProject(file);
    }
    m_session.UpdateCaption(Caption::WithFileName);
    m_ui.TreeView->setFocus();  // moved to the other page, it would leave the focus nowhere
}

void Tfrm_Main::ShowView(View view) {
    const bool browser = view == View::Browser;
    m_session.SetReaderView(browser);
    for (QAction* editorOnly : {m_ui.a_files_item_New, m_ui.a_files_item_Save,
                                m_ui.a_files_item_SaveAS, m_ui.mSeparator1})
        editorOnly->setVisible(!browser);
    PlaceTree(view);
    m_ui.PageControl->setCurrentWidget(browser ? m_ui.tabsheet_View : m_ui.tabsheet_Editor);
    if (!browser)
        m_ui.EditPageControl->setCurrentWidget(m_ui.tabsheet_ProjectProperties);
    m_ui.menu_Operations->menuAction()->setVisible(!browser);
    m_ui.menu_Utility->menuAction()->setVisible(!browser);
    (browser ? m_ui.a_view_item_Browser : m_ui.a_view_item_Editor)->setChecked(true);
}

void Tfrm_Main::PlaceTree(View view) {
    const bool browser = view == View::Browser;
    (browser ? m_ui.browserTreeSlot : m_ui.dataTreeSlot)->addWidget(m_ui.TreeView);
    m_ui.TreeView->SetNodeDragging(!browser);
}

// Enter runs the selected object's own action; in the editor without Ctrl it moves on to the
// caption instead.
void Tfrm_Main::EnterInTree(Qt::KeyboardModifiers modifiers) {
    if (IsEditorView() && !modifiers.testFlag(Qt::ControlModifier)) {
        m_ui.edit_Caption->setFocus();
        return;
    }
    m_ui.a_action_item_Action->trigger();
}

namespace {

// The items of a list from a catalogue text ("File|Folder|..."); an item the text lacks shows
// its built-in name.
void SetListTexts(QComboBox& list, TextId texts, std::span<const std::string_view> builtIn) {
    const QStringList items = ToQString(Text(texts)).split(u'|');
    for (int i = 0; i < list.count() && i < static_cast<int>(builtIn.size()); ++i) {
        const std::string_view name = builtIn[static_cast<std::size_t>(i)];
        list.setItemText(i,
                         i < items.size() && !items[i].isEmpty()
                             ? items[i]
                             : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
}

}  // namespace

void Tfrm_Main::ShowObjectListTexts() {
    SetListTexts(*m_ui.combobox_ObjectType, TextId::text_ObjectTypes, ObjectTypeDisplayNames);
    SetListTexts(*m_ui.combobox_ObjectAction, TextId::text_ObjectActions, ObjectActionDisplayNames);
}

// The editor's keys on its tree: Delete and Insert run their commands (which know when they may
// run), F2 goes on to the caption. The browser has no use for them.
void Tfrm_Main::EditingKeyInTree(Qt::Key key) {
    if (!IsEditorView())
        return;
    switch (key) {
        case Qt::Key_Delete:
            m_ui.a_operation_item_DeleteObject->trigger();
            break;
        case Qt::Key_Insert:
            m_ui.a_operation_item_AddObject->trigger();
            break;
        case Qt::Key_F2:
            if (m_ui.edit_Caption->isEnabled())
                m_ui.edit_Caption->setFocus();
            break;
        default:
            break;
    }
}

bool Tfrm_Main::eventFilter(QObject* watched, QEvent* event) {
    if (!m_busy.IsBusy() || (watched != m_ui.TreeView && watched != m_ui.TreeView->viewport()))
        return Tfrm_Common<QMainWindow>::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            event->ignore();
            return true;
        default:
            return false;
    }
}

void Tfrm_Main::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_busy.IsBusy() || m_shelf.IsBusy())
        return;
    if (IsEditorView()) {
        m_commands.Run([this] { a_view_item_BrowserExecute(); });
        return;
    }
    bool mayClose = false;
    m_commands.Run([this, &mayClose] { mayClose = m_session.MayReplaceProject(); });
    if (!mayClose)
        return;
    if (m_remembersPlace)
        m_preferences.SetWindowPlace(saveGeometry(), saveState());
    m_shelf.Close();
    event->accept();
}

// ---- The window's own commands

void Tfrm_Main::a_files_item_NewExecute() {
    m_session.NewProject([this] {
        m_ui.EditPageControl->setCurrentWidget(m_ui.tabsheet_ProjectProperties);
        m_properties.edit_ProjectDataDirButtonClick();
    });
}

void Tfrm_Main::OpenShelfObject(const QString& cataloguePath, int objectIndex) {
    const std::string path = FromQString(cataloguePath);
    if (!m_session.MayOpenProjectFile(path))
        return;
    if (!IsBrowserView()) {
        m_session.CloseProject(ForgetFileName::Yes);
        ShowView(View::Browser);
    }
    m_session.OpenProjectFile(path);
    // Selecting scrolls the object into view, which opens its parents.
    if (const ObjectNode* object = m_model->Tree().AtAbsoluteIndex(objectIndex))
        m_ui.TreeView->SelectNode(object);
    raise();
    activateWindow();
}

void Tfrm_Main::a_files_item_ExitExecute() {
    close();
}

void Tfrm_Main::a_about_item_AboutProgramExecute() {
    Tfrm_About about;  // no owner, as the window stands on its own
    about.exec();
}

}  // namespace tomlet
