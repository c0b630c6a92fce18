#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "core/object_actions.h"
#include "ui/seams/prompts.h"
#include "ui/seams/seams.h"

class QWidget;

namespace tomlet {

class BusyState;
class MessagePump;
class ObjectFieldsEditor;
class ObjectTreeModel;
class RecentProjects;
class UserPreferences;
struct MainWindowUi;
struct ReadResult;
struct TProjectRec;

// The open project: the file it lives in, its data directory, reading, writing and closing it,
// whether it holds changes not yet saved, and the window caption that names it. Its properties
// live in the controls of the properties page: loading fills them, saving gathers them and
// closing resets them. Projects opened by the user and projects saved join the recent projects.
class ProjectSession final {
public:
    enum class ForgetFileName { No, Yes };
    enum class Caption { WithFileName, WithoutFileName };

    ProjectSession(QWidget& window, const MainWindowUi& ui, ObjectTreeModel& model,
                   ObjectFieldsEditor& fields, BusyState& busy, const Seams& seams,
                   MessagePump& pump, UserPreferences& preferences, RecentProjects& recent);
    ProjectSession(const ProjectSession&) = delete;
    ProjectSession& operator=(const ProjectSession&) = delete;

    const std::string& CurrentFileName() const { return m_currentFileName; }
    const std::string& CurrentDataDir() const { return m_currentDataDir; }
    void SetCurrentDataDir(std::string dataDir) { m_currentDataDir = std::move(dataDir); }
    // The checked state of "Absolute paths".
    PathMode CurrentPathMode() const;
    void SetPathMode(PathMode mode);
    // Where the objects' stored paths lead under the current path mode and data directory.
    ActionContext ObjectActionContext() const;

    // Counts from now on every change that a save would write, other than the session's own;
    // called once the window's controls are built and bound.
    void WatchForChanges();
    // Whether the tree or the properties changed since the project was loaded, saved, made new
    // or closed. The window's caption marks it.
    bool IsModified() const { return m_changes != m_savedChanges; }
    // Asks before the project is replaced or reloaded while it holds changes, or edits of the
    // object fields not yet committed: Yes commits and saves them, No discards them. False when
    // the project must stay: Cancel, or a save that failed or was cancelled. Every route that
    // replaces or reloads the tree asks here first.
    bool MayReplaceProject();

    // Reads a project into the empty tree and the properties; nothing when no file is there. A
    // relative data directory lies in the disc's folder.
    void LoadProject(const std::string& path);
    // Writes the properties and the tree. Only when the file was written does the project live in
    // `path` and count as saved; a failed save changes neither.
    bool SaveProject(const std::string& path);
    // Empties the tree, the properties and the object fields. Every route that replaces or
    // reloads the tree starts here, once MayReplaceProject agreed: New, Open, Open default file,
    // Close file and each change of view, so also closing the window in the editor.
    void CloseProject(ForgetFileName forget);
    // New: closes the project and forgets its file, then lets the author choose the data
    // directory of the new one, which is then unmodified.
    void NewProject(const std::function<void()>& chooseDataDir);
    void UpdateCaption(Caption caption);
    // The project opened at start: a load that fails with an error says "Can't open default
    // file!". A project named on the command line that is not there is reported.
    void OpenStartupProject(const std::string& path);
    // Replaces the open project by the one in `path`, once MayReplaceProject agreed. Every command
    // that opens a project the user names comes here: Open, Open default file and the recent
    // projects.
    void OpenProjectFile(const std::string& path);
    // A project chosen from the recent projects; one whose file is gone leaves the list.
    void OpenRecentProject(const std::string& path);

    void a_files_item_OpenExecute();
    void a_files_item_OpenDefaultExecute();
    void a_files_item_CloseFileExecute();
    void a_files_item_SaveExecute();
    void a_files_item_SaveASExecute();

private:
    // Save writes to the project's file, or asks for one; true when the project was written.
    bool Save();
    bool SaveAs();
    void NoteChange();
    // The project holds no changes beyond the first `changes` counted.
    void TakeAsSaved(std::uint64_t changes);
    void ShowProjectProperties(const TProjectRec& project);
    TProjectRec GatherProjectProperties() const;
    void ResetProjectProperties();
    void ShowReadFailure(const ReadResult& result);
    void TellNoProjectFile(const std::string& path);
    // The folder the file dialogs start in; RememberDialogFolder keeps a chosen file's folder.
    QString DialogFolder() const;
    void RememberDialogFolder(const QString& chosenFile);
    void Tell(MessageKind kind, const QString& text);

    QWidget& m_window;
    const MainWindowUi& m_ui;
    ObjectTreeModel& m_model;
    ObjectFieldsEditor& m_fields;
    BusyState& m_busy;
    Seams m_seams;
    MessagePump& m_pump;
    UserPreferences& m_preferences;
    RecentProjects& m_recent;
    std::string m_currentFileName;
    std::string m_currentDataDir;
    std::uint64_t m_changes = 0;
    std::uint64_t m_savedChanges = 0;
    // While the session fills or empties the project, which is no change of the author's.
    bool m_replacingProject = false;
};

}  // namespace tomlet
