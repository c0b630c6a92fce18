#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "core/file_fingerprints.h"
#include "core/object_actions.h"
#include "core/records.h"
#include "ui/seams/prompts.h"
#include "ui/seams/seams.h"

class QAction;
class QWidget;

namespace tomlet {

class BusyState;
class FileDialogTexts;
class MessagePump;
class ObjectFieldsEditor;
class ObjectTreeModel;
class RecentProjects;
class UserPreferences;
struct ReadResult;
struct StartupContext;

// What the session shows of itself: the window's caption names the view (from the two view
// commands) and the project; the file dialogs take their texts from the window.
struct ProjectSessionWidgets {
    const QAction* BrowserView;
    const QAction* EditorView;
    const FileDialogTexts* OpenDialog;
    const FileDialogTexts* SaveDialog;
};

// The open project: the file it lives in, its properties with its data directory and path mode,
// reading, writing and closing it, whether it holds changes not yet saved, and the window caption
// that names it. The properties are a value the session owns; Changed() tells whoever shows
// them. Projects opened by the user and projects saved join the recent projects.
class ProjectSession final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProjectSession)

public:
    enum class ForgetFileName { No, Yes };
    enum class Caption { WithFileName, WithoutFileName };

    ProjectSession(QWidget& window, const ProjectSessionWidgets& widgets, ObjectTreeModel& model,
                   ObjectFieldsEditor& fields, BusyState& busy, const Seams& seams,
                   MessagePump& pump, UserPreferences& preferences, RecentProjects& recent,
                   const StartupContext& context);
    ~ProjectSession() override = default;

    const std::string& CurrentFileName() const { return m_currentFileName; }
    // The project's properties as a save writes them.
    const TProjectRec& Project() const { return m_project; }
    // Where the data directory leads: a relative one lies in the disc's folder. Empty for none.
    const std::string& DataDir() const { return m_dataDir; }
    PathMode CurrentPathMode() const;
    // Where the objects' stored paths lead under the current path mode and data directory.
    ActionContext ObjectActionContext() const;

    // New properties: a change that a save would write, except while the session fills or
    // empties the project itself. A new data directory leads where ResolveDataDirectory says.
    void SetProperties(const TProjectRec& project);
    // A folder the author chose becomes the data directory.
    void SetDataDirectory(const std::string& folder);
    void SetPathMode(PathMode mode);
    // In the reader's view (the browser) nothing marks the project modified: what is chosen
    // there, such as the path mode, lasts only while the project is open there.
    void SetReaderView(bool reader) { m_readerView = reader; }

    // Whether the tree or the properties changed since the project was loaded, saved, made new
    // or closed. The window's caption marks it.
    bool IsModified() const { return m_changes != m_savedChanges; }
    // Asks before the project is replaced or reloaded while it holds changes, or edits of the
    // object fields not yet committed: Yes commits and saves them, No discards them. False when
    // the project must stay: Cancel, or a save that failed or was cancelled. Every route that
    // replaces or reloads the tree asks here first.
    bool MayReplaceProject();

    // Reads a project into the empty tree and the properties; nothing when no file is there. A
    // file that cannot be read is reported with the reason and leaves an empty project that
    // names no file, except one that cannot be opened at all, which keeps its name as a file
    // that is gone does. True when the project was read.
    bool LoadProject(const std::string& path);
    // Writes the properties and the tree. Only when the file was written does the project live in
    // `path` and count as saved; a failed save changes neither.
    bool SaveProject(const std::string& path);
    // Empties the tree and the properties. Every route that replaces or reloads the tree starts
    // here, once MayReplaceProject agreed: New, Open, Open default file, Close file and each
    // change of view, so also closing the window in the editor.
    void CloseProject(ForgetFileName forget);
    // New: closes the project and forgets its file, then lets the author choose the data
    // directory of the new one, which is then unmodified.
    void NewProject(const std::function<void()>& chooseDataDir);
    void UpdateCaption(Caption caption);
    // The project opened at start: a file that cannot be opened is reported under "Can't open
    // default file!" with the reason. A project named on the command line that is not there is
    // reported.
    void OpenStartupProject(const std::string& path);
    // Replaces the open project by the one in `path`, once MayReplaceProject agreed. Every command
    // that opens a project the user names comes here: Open, Open default file and the recent
    // projects.
    void OpenProjectFile(const std::string& path);
    // Whether the project in `path`, which the user chose, may replace the open one: not when
    // its file is gone, which the user is told, nor when MayReplaceProject keeps the open one.
    bool MayOpenProjectFile(const std::string& path);
    // A project chosen from the recent projects; one whose file is gone leaves the list.
    void OpenRecentProject(const std::string& path);

    // The record of the project's files that lets an update find them under other names: the
    // one kept for its file, with what scans added since the project was last saved.
    FingerprintMap Fingerprints() const;
    // What a scan recorded of the files it added; kept for the project's file when it is saved.
    void AddFingerprints(const FingerprintMap& scanned);
    // The record an update made: kept for the project's file at once, or at its first save.
    void ReplaceFingerprints(FingerprintMap record);

    void a_files_item_OpenExecute();
    void a_files_item_OpenDefaultExecute();
    void a_files_item_CloseFileExecute();
    void a_files_item_SaveExecute();
    void a_files_item_SaveASExecute();

Q_SIGNALS:
    // The properties, the data directory, the path mode or the file changed.
    void Changed();

private:
    void WatchTheTree();
    ReadResult ReadProject(const std::string& path);
    // Tells why a read failed, `heading` first for a file that cannot be opened at all; a file
    // that is no readable project leaves an empty project that names no file. True when the
    // project was read.
    bool Accept(const std::string& path, const ReadResult& result, const QString& heading);
    // Save writes to the project's file, or asks for one; true when the project was written.
    bool Save();
    bool SaveAs();
    void NoteChange();
    // The project holds no changes beyond the first `changes` counted.
    void TakeAsSaved(std::uint64_t changes);
    void TellNoProjectFile(const std::string& path);
    // The folder the file dialogs start in; RememberDialogFolder keeps a chosen file's folder.
    QString DialogFolder() const;
    void RememberDialogFolder(const QString& chosenFile);
    void Tell(MessageKind kind, const QString& text);

    QWidget& m_window;
    ProjectSessionWidgets m_widgets;
    ObjectTreeModel& m_model;
    ObjectFieldsEditor& m_fields;
    BusyState& m_busy;
    Seams m_seams;
    MessagePump& m_pump;
    UserPreferences& m_preferences;
    RecentProjects& m_recent;
    const StartupContext& m_context;
    std::string m_currentFileName;
    TProjectRec m_project;
    std::string m_dataDir;
    // Beyond the record kept for the file (or the whole record of a project without one).
    FingerprintMap m_unsavedFingerprints;
    std::uint64_t m_changes = 0;
    std::uint64_t m_savedChanges = 0;
    // While the session fills or empties the project, which is no change of the author's.
    bool m_replacingProject = false;
    bool m_readerView = true;  // the window starts in the browser
};

}  // namespace tomlet
