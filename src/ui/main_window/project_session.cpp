#include "ui/main_window/project_session.h"

#include <QAction>
#include <QScopedValueRollback>
#include <QWidget>
#include <algorithm>

#include "core/catalogue.h"
#include "core/code_page_texts.h"
#include "core/limits.h"
#include "core/paths.h"
#include "core/project_file.h"
#include "core/startup_context.h"
#include "core/version.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "platform/text_editor.h"
#include "ui/base/error_policy.h"
#include "ui/base/qt_text.h"
#include "ui/base/user_preferences.h"
#include "ui/dialogs/file_dialog_texts.h"
#include "ui/main_window/busy_state.h"
#include "ui/main_window/object_fields_editor.h"
#include "ui/main_window/recent_projects.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {

namespace {

QString CatalogueText(TextId id) {
    return ToQString(Text(id));
}

}  // namespace

ProjectSession::ProjectSession(QWidget& window, const ProjectSessionWidgets& widgets,
                               ObjectTreeModel& model, ObjectFieldsEditor& fields, BusyState& busy,
                               const Seams& seams, MessagePump& pump, UserPreferences& preferences,
                               RecentProjects& recent, const StartupContext& context)
    : m_window(window),
      m_widgets(widgets),
      m_model(model),
      m_fields(fields),
      m_busy(busy),
      m_seams(seams),
      m_pump(pump),
      m_preferences(preferences),
      m_recent(recent),
      m_context(context) {
    WatchTheTree();
}

// The tree changes through its one model, whichever command changes it.
void ProjectSession::WatchTheTree() {
    const auto changed = [this] { NoteChange(); };
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&m_model, signal, this, changed);
    connect(&m_model, &QAbstractItemModel::rowsMoved, this, changed);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, changed);
    connect(&m_model, &QAbstractItemModel::layoutChanged, this, changed);
    connect(&m_model, &QAbstractItemModel::modelReset, this, changed);
}

void ProjectSession::NoteChange() {
    if (m_replacingProject || m_readerView)
        return;
    ++m_changes;
    m_window.setWindowModified(true);
}

void ProjectSession::TakeAsSaved(std::uint64_t changes) {
    m_savedChanges = changes;
    m_window.setWindowModified(IsModified());
}

void ProjectSession::SetProperties(const TProjectRec& project) {
    if (project == m_project)
        return;
    if (project.ProjectDataDir != m_project.ProjectDataDir)
        m_dataDir = ResolveDataDirectory(project.ProjectDataDir, m_context.DiscFolder);
    m_project = project;
    NoteChange();
    Q_EMIT Changed();
}

void ProjectSession::SetDataDirectory(const std::string& folder) {
    TProjectRec project = m_project;
    project.ProjectDataDir = folder;
    SetProperties(project);
}

void ProjectSession::SetPathMode(PathMode mode) {
    TProjectRec project = m_project;
    project.AbsolutePath = mode == PathMode::Absolute;
    SetProperties(project);
}

PathMode ProjectSession::CurrentPathMode() const {
    return m_project.AbsolutePath ? PathMode::Absolute : PathMode::Relative;
}

ActionContext ProjectSession::ObjectActionContext() const {
    ActionContext context;
    context.Mode = CurrentPathMode();
    context.DataDir = m_dataDir;
    context.DiscFolder = m_context.DiscFolder;
    context.TextEditor = TextEditorCommand();
    return context;
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

bool ProjectSession::LoadProject(const std::string& path) {
    return FileExists(path) && Accept(path, ReadProject(path), QString());
}

ReadResult ProjectSession::ReadProject(const std::string& path) {
    const BusyState::Scope busy(m_busy);
    const QScopedValueRollback replacing(m_replacingProject, true);
    TProjectRec project;
    ObjectTree loaded;
    const ReadResult result = ReadProjectFile(path, project, loaded, m_seams.Progress, m_pump);
    if (!result.Ok())
        return result;
    m_model.Adopt(std::move(loaded), nullptr);
    // What the editor can show is what it saves.
    project.SplashShowTime = std::clamp(project.SplashShowTime, 0, MaxSplashShowTime);
    SetProperties(project);
    m_currentFileName = path;
    TakeAsSaved(m_changes);
    if (result.TextsReadWrong > 0)
        Tell(MessageKind::Warning,
             ToQString(TextsDoNotDecodeText(ProjectCodec().CodePage(), result.GuessedCodePage)));
    if (CurrentPathMode() == PathMode::Absolute && !DirectoryExists(m_dataDir))
        Tell(MessageKind::Information, CatalogueText(TextId::message_ProjectDataDirNotExist) +
                                           QLatin1Char('\n') + ToQString(m_dataDir));
    return result;
}

bool ProjectSession::Accept(const std::string& path, const ReadResult& result,
                            const QString& heading) {
    switch (result.Status) {
        case ReadStatus::Ok:
            return true;
        case ReadStatus::CannotOpen:
            // The reason names the file.
            Tell(MessageKind::Error, heading.isEmpty()
                                         ? ToQString(result.Error)
                                         : heading + QLatin1Char('\n') + ToQString(result.Error));
            return false;
        case ReadStatus::VersionTooNew:
            Tell(MessageKind::Warning,
                 CatalogueText(TextId::message_FileVersionHigherUseNewerTomlet));
            break;
        case ReadStatus::WrongSignature:
        case ReadStatus::Damaged:
        case ReadStatus::TooDeep:
            break;
    }
    QString text =
        CatalogueText(TextId::message_IncorrectFormatFile) + QLatin1Char('\n') + ToQString(path);
    if (!result.Error.empty())
        text += QLatin1Char('\n') + ToQString(result.Error);  // why it counts as damaged
    Tell(MessageKind::Error, text);
    CloseProject(ForgetFileName::Yes);
    return false;
}

bool ProjectSession::SaveProject(const std::string& path) {
    const BusyState::Scope busy(m_busy);
    // The properties page stays open to the author while the file is written; a change made
    // then is not in the file.
    const std::uint64_t changesWritten = m_changes;
    const TProjectRec written = m_project;
    const WriteResult result =
        WriteProjectFile(path, written, m_model.Tree(), m_seams.Progress, m_pump);
    if (!result.Saved) {
        QString text = CatalogueText(TextId::SaveFailure);
        if (!result.Error.empty())
            text += QLatin1Char('\n') + ToQString(result.Error);
        Tell(MessageKind::Error, text);
        return false;
    }
    m_recent.Add(path);
    if (!m_unsavedFingerprints.empty() || path != m_currentFileName) {
        // A copy saved elsewhere takes the record along.
        FingerprintMap record = Fingerprints();
        m_unsavedFingerprints = {};
        SaveFingerprints(FingerprintFileOf(path), record);
    }
    m_currentFileName = path;
    TakeAsSaved(changesWritten);
    UpdateCaption(Caption::WithFileName);
    Q_EMIT Changed();
    return true;
}

void ProjectSession::CloseProject(ForgetFileName forget) {
    const QScopedValueRollback replacing(m_replacingProject, true);
    if (forget == ForgetFileName::Yes && !m_currentFileName.empty()) {
        m_currentFileName.clear();
        Q_EMIT Changed();
    }
    // Either way the caption names no file afterwards.
    UpdateCaption(Caption::WithoutFileName);
    SetProperties(TProjectRec{});
    m_unsavedFingerprints = {};
    TakeAsSaved(m_changes);
    // The tree last, so that everything else is reset whatever becomes of it; the object fields
    // empty themselves with it.
    m_model.ClearObjectTree();
}

FingerprintMap ProjectSession::Fingerprints() const {
    if (m_currentFileName.empty())
        return m_unsavedFingerprints;
    FingerprintMap record = LoadFingerprints(FingerprintFileOf(m_currentFileName));
    record.SetAll(m_unsavedFingerprints);
    return record;
}

void ProjectSession::AddFingerprints(const FingerprintMap& scanned) {
    m_unsavedFingerprints.SetAll(scanned);
}

void ProjectSession::ReplaceFingerprints(FingerprintMap record) {
    if (m_currentFileName.empty()) {
        m_unsavedFingerprints = std::move(record);
        return;
    }
    m_unsavedFingerprints = {};
    SaveFingerprints(FingerprintFileOf(m_currentFileName), record);
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
        if (m_widgets.BrowserView->isChecked())
            text = QStringLiteral("Tomlet   ") + version;
        if (m_widgets.EditorView->isChecked())
            text = QStringLiteral("Tomlet EDITOR  ") + version;
        // A project without a file is named as the question before replacing it names it.
        if (!m_currentFileName.empty() && caption == Caption::WithFileName)
            text += QStringLiteral("    -   ") + ToQString(FileNamePart(m_currentFileName));
        else if (m_currentFileName.empty() && m_widgets.EditorView->isChecked())
            text += QStringLiteral("    -   ") + CatalogueText(TextId::message_NewProject);
        // Where Qt shows the window's modified mark.
        m_window.setWindowTitle(text + QStringLiteral("[*]"));
    });
}

void ProjectSession::OpenStartupProject(const std::string& path) {
    // A project handed over on the command line (by a file manager, say) is one the user chose.
    const bool named = path == m_context.NamedProject;
    if (!FileExists(path)) {
        if (named)
            TellNoProjectFile(path);
        return;
    }
    if (Accept(path, ReadProject(path), CatalogueText(TextId::message_CantOpenDefaultFile)) &&
        named)
        m_recent.Add(path);
}

void ProjectSession::OpenProjectFile(const std::string& path) {
    CloseProject(ForgetFileName::Yes);
    const bool loaded = LoadProject(path);
    UpdateCaption(Caption::WithFileName);
    if (loaded)
        m_recent.Add(path);
}

bool ProjectSession::MayOpenProjectFile(const std::string& path) {
    if (!FileExists(path)) {
        TellNoProjectFile(path);
        return false;
    }
    return MayReplaceProject();
}

void ProjectSession::OpenRecentProject(const std::string& path) {
    if (!FileExists(path))
        m_recent.Remove(path);
    if (MayOpenProjectFile(path))
        OpenProjectFile(path);
}

void ProjectSession::TellNoProjectFile(const std::string& path) {
    Tell(MessageKind::Warning, ToQString(NoProjectFileText(path)));
}

void ProjectSession::Tell(MessageKind kind, const QString& text) {
    m_seams.UserPrompts.ShowMessage(&m_window, kind, text);
}

// The file dialogs start where the user last chose a project, else in the disc's folder.
QString ProjectSession::DialogFolder() const {
    const QString last = m_preferences.LastFolder();
    if (!last.isEmpty() && DirectoryExists(FromQString(last)))
        return last;
    return ToQString(StripTrailingBackslash(m_context.DiscFolder));
}

void ProjectSession::RememberDialogFolder(const QString& chosenFile) {
    m_preferences.SetLastFolder(ToQString(ParentFolderPath(FromQString(chosenFile))));
}

void ProjectSession::a_files_item_OpenExecute() {
    if (!MayReplaceProject())
        return;
    const QString chosen = m_seams.UserPrompts.OpenFileName(
        &m_window, m_widgets.OpenDialog->Title(), m_widgets.OpenDialog->Filter(), DialogFolder());
    if (chosen.isEmpty()) {
        UpdateCaption(Caption::WithFileName);
        return;
    }
    RememberDialogFolder(chosen);
    OpenProjectFile(FromQString(chosen));
}

void ProjectSession::a_files_item_OpenDefaultExecute() {
    const std::string path = m_context.DefaultProjectPath();
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
        &m_window, m_widgets.SaveDialog->Title(), m_widgets.SaveDialog->Filter(), DialogFolder());
    if (chosen.isEmpty())
        return false;
    RememberDialogFolder(chosen);
    return SaveProject(FromQString(chosen));
}

}  // namespace tomlet
