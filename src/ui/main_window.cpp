#include "ui/main_window.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <stdexcept>

#include "core/catalogue.h"
#include "core/paths.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/version.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "ui/about_window.h"
#include "ui/file_dialog_texts.h"
#include "ui/keyboard_state.h"
#include "ui/memo_text.h"
#include "ui/object_tree_model.h"
#include "ui/object_tree_view.h"
#include "ui/progress_sink.h"
#include "ui/qt_text.h"
#include "ui/translate.h"

namespace tomlet {

namespace {

constexpr int DesignedWidth = 630;
constexpr int DesignedHeight = 472;
constexpr int MinimumHeight = 460;

QString CatalogueText(TextId id) {
    return ToQString(Text(id));
}

// The file name of a path without its folder.
std::string FileNameOf(const std::string& path) {
    return CodePagePath(NativePath(path).filename()).value_or(path);
}

}  // namespace

Tfrm_Main::Tfrm_Main(const Seams& seams, QWidget* parent)
    : Tfrm_Common<QMainWindow>(parent), m_seams(seams), m_model(new ObjectTreeModel(this)) {
    setObjectName(QStringLiteral("frm_Main"));
    setWindowTitle(QStringLiteral("Tomlet"));
    setMinimumSize(DesignedWidth, MinimumHeight);
    resize(DesignedWidth, DesignedHeight);
    BuildMainWindowUi(*this, m_ui);
    m_ui.TreeView->setModel(m_model);
    // The editor page is in front until the creation switches to the browser view.
    m_ui.PageControl->setCurrentWidget(m_ui.tabsheet_Editor);

    ConnectFileCommands();
    ConnectViewCommands();
    ConnectCommand(m_ui.a_about_item_AboutProgram, &Tfrm_Main::a_about_item_AboutProgramExecute);
    ConnectPropertiesPage();
    ConnectTree();
    ConnectScanCommands();
    ConnectSearchCommands();
    BindCheckBoxToAction();
    BindCommitButton();
    ConnectObjectFields();
    ConnectTreeEditing();
    ConnectObjectActions();
    FormCreate();
}

Tfrm_Main::~Tfrm_Main() = default;

void Tfrm_Main::FormCreate() {
    if (!LoadLanguageAtStart(*this))
        Tell(MessageKind::Error, CatalogueText(TextId::message_CantOpenInifile));
    BuildLanguageMenu(*m_ui.menu_Language, *this);
    a_view_item_BrowserExecute();
    UpdateCaption(true);
    std::string startupPath = ProgramFolder() + "default.tml";
    TIniRec settings;
    if (ReadSettings(settings)) {
        ApplySettings(settings);
        startupPath = StartupProjectPath(settings);
    }
    OpenStartupProject(startupPath);
    if (!isMaximized())
        CentreOnScreen();
}

void Tfrm_Main::ApplySettings(const TIniRec& settings) {
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

void Tfrm_Main::OpenStartupProject(const std::string& path) {
    if (!FileExists(path))
        return;
    try {
        LoadProject(path);
    } catch (...) {
        Tell(MessageKind::Error, CatalogueText(TextId::message_CantOpenDefaultFile));
    }
}

void Tfrm_Main::ConnectFileCommands() {
    ConnectCommand(m_ui.a_files_item_New, &Tfrm_Main::a_files_item_NewExecute);
    ConnectCommand(m_ui.a_files_item_Open, &Tfrm_Main::a_files_item_OpenExecute);
    ConnectCommand(m_ui.a_files_item_OpenDefault, &Tfrm_Main::a_files_item_OpenDefaultExecute);
    ConnectCommand(m_ui.a_files_item_CloseFile, &Tfrm_Main::a_files_item_CloseFileExecute);
    ConnectCommand(m_ui.a_files_item_Save, &Tfrm_Main::a_files_item_SaveExecute);
    ConnectCommand(m_ui.a_files_item_SaveAS, &Tfrm_Main::a_files_item_SaveASExecute);
    ConnectCommand(m_ui.a_files_item_Exit, &Tfrm_Main::a_files_item_ExitExecute);
}

void Tfrm_Main::ConnectViewCommands() {
    ConnectCommand(m_ui.a_view_item_Browser, &Tfrm_Main::a_view_item_BrowserExecute);
    ConnectCommand(m_ui.a_view_item_Editor, &Tfrm_Main::a_view_item_EditorExecute);
    ConnectCommand(m_ui.a_view_item_SaveNBrowser, &Tfrm_Main::a_view_item_SaveNBrowserExecute);
    connect(m_ui.PageControl, &QStackedWidget::currentChanged, this,
            &Tfrm_Main::ScheduleUpdateActions);
    connect(m_ui.EditPageControl, &QTabWidget::currentChanged, this,
            &Tfrm_Main::ScheduleUpdateActions);
}

void Tfrm_Main::ConnectTree() {
    m_ui.TreeView->installEventFilter(this);
    m_ui.TreeView->viewport()->installEventFilter(this);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, signal, this, &Tfrm_Main::ScheduleUpdateActions);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &Tfrm_Main::ScheduleUpdateActions);
    connect(m_model, &QAbstractItemModel::modelReset, this, &Tfrm_Main::ScheduleUpdateActions);
    connect(m_ui.TreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // The tree keeps its current node selected, so "selected" and "current" agree.
                QItemSelectionModel* selection = m_ui.TreeView->selectionModel();
                if (current.isValid() && !selection->isSelected(current))
                    selection->select(current, QItemSelectionModel::ClearAndSelect);
                if (m_fieldsFollowSelection)
                    ShowObjectFields();
                ScheduleUpdateActions();
            });
}

void Tfrm_Main::BindCheckBoxToAction() {
    QCheckBox* box = m_ui.checkbox_AbsoluteLink;
    QAction* action = m_ui.a_options_item_AbsolutePath;
    const auto mirror = [box, action] {
        box->setText(action->text());
        box->setToolTip(action->toolTip());
        box->setEnabled(action->isEnabled());
        box->setChecked(action->isChecked());
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

bool Tfrm_Main::IsAbsolutePath() const {
    return m_ui.a_options_item_AbsolutePath->isChecked();
}

void Tfrm_Main::SetAbsolutePath(bool absolute) {
    m_ui.a_options_item_AbsolutePath->setChecked(absolute);
    m_ui.checkbox_AbsoluteLink->setChecked(absolute);
}

bool Tfrm_Main::IsBrowserView() const {
    return m_ui.PageControl->currentWidget() == m_ui.tabsheet_View;
}

bool Tfrm_Main::IsEditorView() const {
    return m_ui.PageControl->currentWidget() == m_ui.tabsheet_Editor;
}

void Tfrm_Main::Tell(MessageKind kind, const QString& text) {
    m_seams.UserPrompts->ShowMessage(this, kind, text);
}

ProgressSink& Tfrm_Main::Progress() {
    return ProgramProgress();
}

MessagePump& Tfrm_Main::Pump() {
    return m_pump;
}

// ---- The open project

void Tfrm_Main::LoadProject(const std::string& path) {
    if (!FileExists(path))
        return;
    BusyScope busy(*this);
    TProjectRec project;
    ObjectTree loaded;
    const ReadResult result = ReadProjectFile(path, project, loaded, Progress(), Pump());
    if (result.Status == ReadStatus::CannotOpen)
        throw std::runtime_error(result.Error);
    if (!result.Ok()) {
        ShowReadFailure(result);
        CloseProject(true);
        return;
    }
    m_model->Adopt(std::move(loaded), nullptr);
    ShowProjectProperties(project);
    m_currentDataDir = project.ProjectDataDir;
    m_currentFileName = path;
    if (IsAbsolutePath() && !DirectoryExists(m_currentDataDir))
        Tell(MessageKind::Information, CatalogueText(TextId::message_ProjectDataDirNotExist) +
                                           QLatin1Char('\n') + ToQString(m_currentDataDir));
}

void Tfrm_Main::ShowReadFailure(const ReadResult& result) {
    if (result.Status == ReadStatus::VersionTooNew)
        Tell(MessageKind::Warning, CatalogueText(TextId::message_FileVersionHigherUseNewerTomlet));
    Tell(MessageKind::Error, CatalogueText(TextId::message_IncorrectFormatFile));
}

void Tfrm_Main::SaveProject(const std::string& path) {
    BusyScope busy(*this);
    const WriteResult result =
        WriteProjectFile(path, GatherProjectProperties(), m_model->Tree(), Progress(), Pump());
    if (!result.Saved) {
        QString text = CatalogueText(TextId::SaveFailure);
        if (!result.Error.empty())
            text += QLatin1Char('\n') + ToQString(result.Error);
        Tell(MessageKind::Error, text);
    }
    m_currentFileName = path;
    UpdateCaption(true);
}

void Tfrm_Main::CloseProject(bool forgetFileName) {
    m_fieldsFollowSelection = false;
    try {
        m_model->ClearObjectTree();
    } catch (...) {
        // The rest of the reset runs whatever happened to the tree.
    }
    m_fieldsFollowSelection = true;
    if (forgetFileName)
        m_currentFileName.clear();
    UpdateCaption(forgetFileName);
    m_currentDataDir.clear();
    ResetProjectProperties();
    ClearObjectFields();
    m_ui.memo_BrowserComments->clear();
}

void Tfrm_Main::ShowProjectProperties(const TProjectRec& project) {
    m_ui.edit_ProjectDataDir->setText(ToQString(project.ProjectDataDir));
    m_ui.edit_ProjectName->setText(ToQString(project.ProjectName));
    m_ui.label_BrowserProjectName->setText(ToQString(project.ProjectName));
    m_ui.edit_ProjectName2->setText(ToQString(project.ProjectName2));
    m_ui.label_BrowserProjectName2->setText(ToQString(project.ProjectName2));
    m_ui.edit_SplashFileName->setText(ToQString(project.SplashFileName));
    m_ui.spinedit_SplashShowTime->setValue(project.SplashShowTime);
    SetAbsolutePath(project.AbsolutePath);
    SetMemoText(*m_ui.memo_ProjectDescription, project.ProjectDescription);
    SetMemoText(*m_ui.memo_BrowserProjectDescription, project.ProjectDescription);
}

TProjectRec Tfrm_Main::GatherProjectProperties() const {
    TProjectRec project;
    project.ProjectDataDir = FromQString(m_ui.edit_ProjectDataDir->text());
    project.ProjectName = FromQString(m_ui.edit_ProjectName->text());
    project.ProjectName2 = FromQString(m_ui.edit_ProjectName2->text());
    project.SplashFileName = FromQString(m_ui.edit_SplashFileName->text());
    project.SplashShowTime = m_ui.spinedit_SplashShowTime->value();
    project.AbsolutePath = m_ui.checkbox_AbsoluteLink->isChecked();
    project.ProjectDescription = MemoText(*m_ui.memo_ProjectDescription);
    return project;
}

void Tfrm_Main::ResetProjectProperties() {
    for (QLineEdit* edit : {m_ui.edit_ProjectDataDir, m_ui.edit_ProjectName, m_ui.edit_ProjectName2,
                            m_ui.edit_SplashFileName})
        edit->clear();
    m_ui.label_BrowserProjectName->clear();
    m_ui.label_BrowserProjectName2->clear();
    SetAbsolutePath(true);
    m_ui.spinedit_SplashShowTime->setValue(TProjectRec{}.SplashShowTime);
    m_ui.memo_ProjectDescription->clear();
    m_ui.memo_BrowserProjectDescription->clear();
}

void Tfrm_Main::UpdateCaption(bool withFileName) {
    try {
        QString caption = windowTitle();
        const QString version = ToQString(GetVersionText());
        if (m_ui.a_view_item_Browser->isChecked())
            caption = QStringLiteral("Tomlet   ") + version;
        if (m_ui.a_view_item_Editor->isChecked())
            caption = QStringLiteral("Tomlet EDITOR  ") + version;
        if (!m_currentFileName.empty() && withFileName)
            caption += QStringLiteral("    -   ") + ToQString(FileNameOf(m_currentFileName));
        setWindowTitle(caption);
    } catch (...) {
        // The caption is decoration: a failure keeps the old one.
    }
}

void Tfrm_Main::EnableCommands(bool enabled) {
    m_ui.toolbar_Editor->setEnabled(enabled);
    if (menuWidget() == nullptr)
        return;
    for (QAction* menu : m_ui.MainMenu1->actions())
        menu->setEnabled(enabled);
}

// ---- Busy state, commands and their enabling

Tfrm_Main::BusyScope::BusyScope(Tfrm_Main& window, bool disableCommands)
    : m_window(window), m_disableCommands(disableCommands) {
    if (m_window.m_busyDepth++ > 0)
        return;
    if (m_disableCommands)
        m_window.EnableCommands(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_window.UpdateActions();
}

Tfrm_Main::BusyScope::~BusyScope() {
    if (--m_window.m_busyDepth > 0)
        return;
    QApplication::restoreOverrideCursor();
    if (m_disableCommands)
        m_window.EnableCommands(true);
    m_window.UpdateActions();
}

void Tfrm_Main::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        Tell(MessageKind::Error, ToQString(error.what()));
    } catch (...) {
        Tell(MessageKind::Error, QStringLiteral("Unknown error"));
    }
}

void Tfrm_Main::ConnectCommand(QAction* action, void (Tfrm_Main::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] {
        // Shortcuts and queued events can reach a command while a load, save or scan walks the
        // tree; no command may run in the middle of one.
        if (IsBusy()) {
            SyncViewChecks();
            return;
        }
        RunCommand([this, handler] { (this->*handler)(); });
    });
}

void Tfrm_Main::ScheduleUpdateActions() {
    if (m_updateScheduled)
        return;
    m_updateScheduled = true;
    QTimer::singleShot(0, this, &Tfrm_Main::UpdateActions);
}

void Tfrm_Main::UpdateActions() {
    m_updateScheduled = false;
    const bool idle = !IsBusy();
    const bool hasNodes = !m_model->Tree().IsEmpty();

    for (QAction* always :
         {m_ui.a_files_item_New, m_ui.a_files_item_Open, m_ui.a_files_item_OpenDefault,
          m_ui.a_files_item_CloseFile, m_ui.a_files_item_Exit, m_ui.a_view_item_Browser,
          m_ui.a_view_item_Editor, m_ui.a_view_item_SaveNBrowser})
        always->setEnabled(idle);
    m_ui.a_files_item_Save->setEnabled(idle && hasNodes);
    m_ui.a_files_item_SaveAS->setEnabled(idle && hasNodes);

    // Tree-changing commands of the editing, scanning and search parts; their own rules join here.
    for (QAction* treeCommand :
         {m_ui.a_operation_item_AddObject, m_ui.a_operation_item_AddChildObject,
          m_ui.a_operation_item_DeleteObject, m_ui.a_operation_item_DeleteAll,
          m_ui.a_operation_item_CollapseTree, m_ui.a_operation_item_ExpandTree})
        treeCommand->setEnabled(idle);
    UpdateEditingActions(idle);
    m_ui.a_search_item_Find->setEnabled(idle && CanSearch());
    m_ui.a_search_item_FindForward->setEnabled(idle && CanSearch());

    const bool onDataPage = m_ui.EditPageControl->currentWidget() == m_ui.tabsheet_Data;
    const ObjectNode* selected = SelectedNode();
    m_ui.a_operation_item_ScanProjectDirectory->setEnabled(idle && !hasNodes && onDataPage);
    m_ui.a_operation_item_ScanCurrentFolder->setEnabled(
        idle && onDataPage && selected != nullptr && !m_currentDataDir.empty() &&
        selected->Data.ObjectType == otFolder);

    SyncViewChecks();
}

void Tfrm_Main::SyncViewChecks() {
    if (IsBrowserView())
        m_ui.a_view_item_Browser->setChecked(true);
    else if (IsEditorView())
        m_ui.a_view_item_Editor->setChecked(true);
}

// ---- Views

void Tfrm_Main::PlaceTree(bool browser) {
    (browser ? m_ui.browserTreeSlot : m_ui.dataTreeSlot)->addWidget(m_ui.TreeView);
    Tree().SetNodeDragging(!browser);
}

void Tfrm_Main::a_about_item_AboutProgramExecute() {
    Tfrm_About about;  // no owner, as the window stands on its own
    about.exec();
}

void Tfrm_Main::a_view_item_BrowserExecute() {
    if (!IsBrowserView())
        SwitchView(true);
}

void Tfrm_Main::a_view_item_EditorExecute() {
    if (!IsEditorView())
        SwitchView(false);
}

// Every change of view closes the project and reloads it from its file, unless Ctrl is held:
// then the project stays closed and its file is forgotten.
void Tfrm_Main::SwitchView(bool browser) {
    for (QAction* editorOnly : {m_ui.a_files_item_New, m_ui.a_files_item_Save,
                                m_ui.a_files_item_SaveAS, m_ui.mSeparator1})
        editorOnly->setVisible(!browser);
    const bool ctrl = IsCtrlHeld();
    CloseProject(ctrl);
    PlaceTree(browser);
    m_ui.PageControl->setCurrentWidget(browser ? m_ui.tabsheet_View : m_ui.tabsheet_Editor);
    if (!browser)
        m_ui.EditPageControl->setCurrentWidget(m_ui.tabsheet_ProjectProperties);
    m_ui.menu_Operations->menuAction()->setVisible(!browser);
    m_ui.menu_Utility->menuAction()->setVisible(!browser);
    (browser ? m_ui.a_view_item_Browser : m_ui.a_view_item_Editor)->setChecked(true);
    if (!ctrl)
        LoadProject(m_currentFileName);
    UpdateCaption(true);
}

void Tfrm_Main::a_view_item_SaveNBrowserExecute() {
    a_files_item_SaveExecute();
    a_view_item_BrowserExecute();
}

bool Tfrm_Main::eventFilter(QObject* watched, QEvent* event) {
    if (!IsBusy() || (watched != m_ui.TreeView && watched != m_ui.TreeView->viewport()))
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
    if (IsBusy()) {
        event->ignore();
        return;
    }
    if (IsEditorView()) {
        event->ignore();
        RunCommand([this] { a_view_item_BrowserExecute(); });
        return;
    }
    event->accept();
}

// ---- File commands

void Tfrm_Main::a_files_item_NewExecute() {
    CloseProject(true);
    m_ui.EditPageControl->setCurrentWidget(m_ui.tabsheet_ProjectProperties);
    edit_ProjectDataDirButtonClick();
}

void Tfrm_Main::a_files_item_OpenExecute() {
    const QString chosen = m_seams.UserPrompts->OpenFileName(
        this, m_ui.dialog_Open->Title(), m_ui.dialog_Open->Filter(),
        ToQString(StripTrailingBackslash(ProgramFolder())));
    if (!chosen.isEmpty()) {
        CloseProject(true);
        LoadProject(FromQString(chosen));
    }
    UpdateCaption(true);
}

void Tfrm_Main::a_files_item_OpenDefaultExecute() {
    const std::string path = ProgramFolder() + "default.tml";
    if (FileExists(path)) {
        CloseProject(true);
        LoadProject(path);
    } else {
        Tell(MessageKind::Warning, CatalogueText(TextId::message_DefaultFileNotFound));
    }
    UpdateCaption(true);
}

void Tfrm_Main::a_files_item_CloseFileExecute() {
    CloseProject(true);
}

void Tfrm_Main::a_files_item_SaveExecute() {
    if (!m_currentFileName.empty() && FileExists(m_currentFileName))
        SaveProject(m_currentFileName);
    else
        a_files_item_SaveASExecute();
}

void Tfrm_Main::a_files_item_SaveASExecute() {
    const QString chosen = m_seams.UserPrompts->SaveFileName(
        this, m_ui.dialog_Save->Title(), m_ui.dialog_Save->Filter(),
        ToQString(StripTrailingBackslash(ProgramFolder())));
    if (!chosen.isEmpty())
        SaveProject(FromQString(chosen));
}

void Tfrm_Main::a_files_item_ExitExecute() {
    close();
}

}  // namespace tomlet
