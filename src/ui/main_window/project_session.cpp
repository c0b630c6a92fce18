#include "ui/main_window/project_session.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QWidget>
#include <stdexcept>

#include "core/catalogue.h"
#include "core/paths.h"
#include "core/project_file.h"
#include "core/version.h"
#include "platform/file_system.h"
#include "platform/text_editor.h"
#include "ui/base/error_policy.h"
#include "ui/base/memo_text.h"
#include "ui/base/qt_text.h"
#include "ui/base/user_preferences.h"
#include "ui/dialogs/file_dialog_texts.h"
#include "ui/main_window/busy_state.h"
#include "ui/main_window/main_window_ui.h"
#include "ui/main_window/object_fields_editor.h"
#include "ui/main_window/recent_projects.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {

namespace {

QString CatalogueText(TextId id) {
    return ToQString(Text(id));
}

}  // namespace

ProjectSession::ProjectSession(QWidget& window, const MainWindowUi& ui, ObjectTreeModel& model,
                               ObjectFieldsEditor& fields, BusyState& busy, const Seams& seams,
                               MessagePump& pump, UserPreferences& preferences,
                               RecentProjects& recent)
    : m_window(window),
      m_ui(ui),
      m_model(model),
      m_fields(fields),
      m_busy(busy),
      m_seams(seams),
      m_pump(pump),
      m_preferences(preferences),
      m_recent(recent) {}

void ProjectSession::WatchForChanges() {
    const auto changed = [this] { NoteChange(); };
    // The tree through its one model, whichever command changes it.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        QObject::connect(&m_model, signal, &m_window, changed);
    QObject::connect(&m_model, &QAbstractItemModel::rowsMoved, &m_window, changed);
    QObject::connect(&m_model, &QAbstractItemModel::dataChanged, &m_window, changed);
    QObject::connect(&m_model, &QAbstractItemModel::layoutChanged, &m_window, changed);
    QObject::connect(&m_model, &QAbstractItemModel::modelReset, &m_window, changed);
    // The properties through the controls that a save gathers them from.
    for (QLineEdit* edit : {m_ui.edit_ProjectDataDir, m_ui.edit_ProjectName, m_ui.edit_ProjectName2,
                            m_ui.edit_SplashFileName})
        QObject::connect(edit, &QLineEdit::textChanged, &m_window, changed);
    QObject::connect(m_ui.spinedit_SplashShowTime, &QSpinBox::valueChanged, &m_window, changed);
    QObject::connect(m_ui.checkbox_AbsoluteLink, &QCheckBox::toggled, &m_window, changed);
    QObject::connect(m_ui.memo_ProjectDescription, &QPlainTextEdit::textChanged, &m_window,
                     changed);
}

void ProjectSession::NoteChange() {
    if (m_replacingProject)
        return;
    ++m_changes;
    m_window.setWindowModified(true);
}

void ProjectSession::TakeAsSaved(std::uint64_t changes) {
    m_savedChanges = changes;
    m_window.setWindowModified(IsModified());
}

bool ProjectSession::MayReplaceProject() {
    if (!IsModified() && !m_fields.HasPendingEdits())
        return true;
    const std::string project = m_currentFileName.empty() ? Text(TextId::message_NewProject)
                                                          : FileNamePart(m_currentFileName);
    const std::string question =
        FormatString(Text(TextId::message_SaveChangesToProject_S), project);
    switch (m_seams.UserPrompts.AskYesNoCancel(&m_window, ToQString(question))) {
        case Answer::Yes:
            m_fields.CommitPendingEdits();
            return Save();
        case Answer::No:
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

PathMode ProjectSession::CurrentPathMode() const {
    return m_ui.a_options_item_AbsolutePath->isChecked() ? PathMode::Absolute : PathMode::Relative;
}

void ProjectSession::SetPathMode(PathMode mode) {
    const bool absolute = mode == PathMode::Absolute;
    m_ui.a_options_item_AbsolutePath->setChecked(absolute);
    m_ui.checkbox_AbsoluteLink->setChecked(absolute);
}

ActionContext ProjectSession::ObjectActionContext() const {
    ActionContext context;
    context.Mode = CurrentPathMode();
    context.DataDir = m_currentDataDir;
    context.DiscFolder = DiscFolder();
    context.TextEditor = TextEditorCommand();
    return context;
}

void ProjectSession::LoadProject(const std::string& path) {
    if (!FileExists(path))
        return;
    const BusyState::Scope busy(m_busy);
    const QScopedValueRollback replacing(m_replacingProject, true);
    TProjectRec project;
    ObjectTree loaded;
    const ReadResult result = ReadProjectFile(path, project, loaded, m_seams.Progress, m_pump);
    if (result.Status == ReadStatus::CannotOpen)
        throw std::runtime_error(result.Error);
    if (!result.Ok()) {
        ShowReadFailure(result);
        CloseProject(ForgetFileName::Yes);
        return;
    }
    m_model.Adopt(std::move(loaded), nullptr);
    ShowProjectProperties(project);
    m_currentDataDir = ResolveDataDirectory(project.ProjectDataDir, DiscFolder());
    m_currentFileName = path;
    TakeAsSaved(m_changes);
    if (CurrentPathMode() == PathMode::Absolute && !DirectoryExists(m_currentDataDir))
        Tell(MessageKind::Information, CatalogueText(TextId::message_ProjectDataDirNotExist) +
                                           QLatin1Char('\n') + ToQString(m_currentDataDir));
}

void ProjectSession::ShowReadFailure(const ReadResult& result) {
    if (result.Status == ReadStatus::VersionTooNew)
        Tell(MessageKind::Warning, CatalogueText(TextId::message_FileVersionHigherUseNewerTomlet));
    QString text = CatalogueText(TextId::message_IncorrectFormatFile);
    if (!result.Error.empty())
        text += QLatin1Char('\n') + ToQString(result.Error);  // why it counts as damaged
    Tell(MessageKind::Error, text);
}

bool ProjectSession::SaveProject(const std::string& path) {
    const BusyState::Scope busy(m_busy);
    // The properties page stays open to the author while the file is written; a change made
    // then is not in the file.
    const std::uint64_t changesWritten = m_changes;
    const WriteResult result =
        WriteProjectFile(path, GatherProjectProperties(), m_model.Tree(), m_seams.Progress, m_pump);
    if (!result.Saved) {
        QString text = CatalogueText(TextId::SaveFailure);
        if (!result.Error.empty())
            text += QLatin1Char('\n') + ToQString(result.Error);
        Tell(MessageKind::Error, text);
        return false;
    }
    m_recent.Add(path);
    m_currentFileName = path;
    TakeAsSaved(changesWritten);
    UpdateCaption(Caption::WithFileName);
    return true;
}

void ProjectSession::CloseProject(ForgetFileName forget) {
    const QScopedValueRollback replacing(m_replacingProject, true);
    if (forget == ForgetFileName::Yes)
        m_currentFileName.clear();
    // Either way the caption names no file afterwards.
    UpdateCaption(Caption::WithoutFileName);
    m_currentDataDir.clear();
    ResetProjectProperties();
    m_fields.ClearObjectFields();
    m_ui.memo_BrowserComments->clear();
    TakeAsSaved(m_changes);
    // The tree last, so that everything else is reset whatever becomes of it.
    m_fields.ClearTreeQuietly();
}

void ProjectSession::NewProject(const std::function<void()>& chooseDataDir) {
    if (!MayReplaceProject())
        return;
    CloseProject(ForgetFileName::Yes);
    // The data directory is the new project's first property, not a change to it.
    const QScopedValueRollback replacing(m_replacingProject, true);
    chooseDataDir();
}

void ProjectSession::UpdateCaption(Caption caption) {
    // The caption is decoration: a failure keeps the old one.
    RunIgnoringErrors([&] {
        QString text = m_window.windowTitle().remove(QStringLiteral("[*]"));
        const QString version = ToQString(GetVersionText());
        if (m_ui.a_view_item_Browser->isChecked())
            text = QStringLiteral("Tomlet   ") + version;
        if (m_ui.a_view_item_Editor->isChecked())
            text = QStringLiteral("Tomlet EDITOR  ") + version;
        if (!m_currentFileName.empty() && caption == Caption::WithFileName)
            text += QStringLiteral("    -   ") + ToQString(FileNamePart(m_currentFileName));
        // Where Qt shows the window's modified mark.
        m_window.setWindowTitle(text + QStringLiteral("[*]"));
    });
}

void ProjectSession::OpenStartupProject(const std::string& path) {
    // A project handed over on the command line (by a file manager, say) is one the user chose.
    const bool named = path == NamedProject();
    if (!FileExists(path)) {
        if (named)
            TellNoProjectFile(path);
        return;
    }
    // The start-up project's errors are not the general error display's: they get their own text.
    if (!RunIgnoringErrors([&] { LoadProject(path); }))
        Tell(MessageKind::Error, CatalogueText(TextId::message_CantOpenDefaultFile));
    if (named && m_currentFileName == path)
        m_recent.Add(path);
}

void ProjectSession::OpenProjectFile(const std::string& path) {
    CloseProject(ForgetFileName::Yes);
    LoadProject(path);
    UpdateCaption(Caption::WithFileName);
    if (m_currentFileName == path)
        m_recent.Add(path);
}

void ProjectSession::OpenRecentProject(const std::string& path) {
    if (!FileExists(path)) {
        m_recent.Remove(path);
        TellNoProjectFile(path);
        return;
    }
    if (MayReplaceProject())
        OpenProjectFile(path);
}

void ProjectSession::TellNoProjectFile(const std::string& path) {
    Tell(MessageKind::Warning, ToQString(NoProjectFileText(path)));
}

void ProjectSession::ShowProjectProperties(const TProjectRec& project) {
    m_ui.edit_ProjectDataDir->setText(ToQString(project.ProjectDataDir));
    m_ui.edit_ProjectName->setText(ToQString(project.ProjectName));
    m_ui.label_BrowserProjectName->setText(ToQString(project.ProjectName));
    m_ui.edit_ProjectName2->setText(ToQString(project.ProjectName2));
    m_ui.label_BrowserProjectName2->setText(ToQString(project.ProjectName2));
    m_ui.edit_SplashFileName->setText(ToQString(project.SplashFileName));
    m_ui.spinedit_SplashShowTime->setValue(project.SplashShowTime);
    SetPathMode(project.AbsolutePath ? PathMode::Absolute : PathMode::Relative);
    SetMemoText(*m_ui.memo_ProjectDescription, project.ProjectDescription);
    SetMemoText(*m_ui.memo_BrowserProjectDescription, project.ProjectDescription);
}

TProjectRec ProjectSession::GatherProjectProperties() const {
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

void ProjectSession::ResetProjectProperties() {
    for (QLineEdit* edit : {m_ui.edit_ProjectDataDir, m_ui.edit_ProjectName, m_ui.edit_ProjectName2,
                            m_ui.edit_SplashFileName})
        edit->clear();
    m_ui.label_BrowserProjectName->clear();
    m_ui.label_BrowserProjectName2->clear();
    SetPathMode(PathMode::Absolute);
    m_ui.spinedit_SplashShowTime->setValue(TProjectRec{}.SplashShowTime);
    m_ui.memo_ProjectDescription->clear();
    m_ui.memo_BrowserProjectDescription->clear();
}

void ProjectSession::Tell(MessageKind kind, const QString& text) {
    m_seams.UserPrompts.ShowMessage(&m_window, kind, text);
}

// The file dialogs start where the user last chose a project, else in the disc's folder.
QString ProjectSession::DialogFolder() const {
    const QString last = m_preferences.LastFolder();
    if (!last.isEmpty() && DirectoryExists(FromQString(last)))
        return last;
    return ToQString(StripTrailingBackslash(DiscFolder()));
}

void ProjectSession::RememberDialogFolder(const QString& chosenFile) {
    m_preferences.SetLastFolder(ToQString(ParentFolderPath(FromQString(chosenFile))));
}

void ProjectSession::a_files_item_OpenExecute() {
    if (!MayReplaceProject())
        return;
    const QString chosen = m_seams.UserPrompts.OpenFileName(
        &m_window, m_ui.dialog_Open->Title(), m_ui.dialog_Open->Filter(), DialogFolder());
    if (chosen.isEmpty()) {
        UpdateCaption(Caption::WithFileName);
        return;
    }
    RememberDialogFolder(chosen);
    OpenProjectFile(FromQString(chosen));
}

void ProjectSession::a_files_item_OpenDefaultExecute() {
    const std::string path = DefaultProjectPath();
    if (!FileExists(path)) {
        Tell(MessageKind::Warning, CatalogueText(TextId::message_DefaultFileNotFound));
        UpdateCaption(Caption::WithFileName);
        return;
    }
    if (MayReplaceProject())
        OpenProjectFile(path);
}

void ProjectSession::a_files_item_CloseFileExecute() {
    if (MayReplaceProject())
        CloseProject(ForgetFileName::Yes);
}

void ProjectSession::a_files_item_SaveExecute() {
    Save();
}

void ProjectSession::a_files_item_SaveASExecute() {
    SaveAs();
}

bool ProjectSession::Save() {
    if (!m_currentFileName.empty() && FileExists(m_currentFileName))
        return SaveProject(m_currentFileName);
    return SaveAs();
}

bool ProjectSession::SaveAs() {
    const QString chosen = m_seams.UserPrompts.SaveFileName(
        &m_window, m_ui.dialog_Save->Title(), m_ui.dialog_Save->Filter(), DialogFolder());
    if (chosen.isEmpty())
        return false;
    RememberDialogFolder(chosen);
    return SaveProject(FromQString(chosen));
}

}  // namespace tomlet
