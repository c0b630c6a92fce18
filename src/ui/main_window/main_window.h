#pragma once

#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

#include "core/object_actions.h"
#include "core/progress.h"
#include "core/search.h"
#include "ui/base/common_window.h"
#include "ui/main_window/main_window_ui.h"
#include "ui/progress/message_pump.h"
#include "ui/seams/prompts.h"
#include "ui/seams/seams.h"

class QCloseEvent;

namespace tomlet {

class ObjectNode;
class ObjectTreeModel;
class ObjectTreeView;
struct ReadResult;
struct TIniRec;
struct TProjectRec;

// The program's one main window: the browser view for end users and the editor view for
// authors, with the open project.
class Tfrm_Main final : public Tfrm_Common<QMainWindow> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Main)

public:
    explicit Tfrm_Main(const Seams& seams, QWidget* parent = nullptr);
    ~Tfrm_Main() override;

    const MainWindowUi& Ui() const { return m_ui; }
    ObjectTreeModel& Model() const { return *m_model; }
    const Seams& Outside() const { return m_seams; }

    const std::string& CurrentDataDir() const { return m_currentDataDir; }
    void SetCurrentDataDir(std::string dataDir) { m_currentDataDir = std::move(dataDir); }
    const std::string& CurrentFileName() const { return m_currentFileName; }
    // The path mode: the checked state of "Absolute paths".
    bool IsAbsolutePath() const;
    void SetAbsolutePath(bool absolute);

    bool IsBrowserView() const;
    bool IsEditorView() const;

    // The open project's file operations.
    void LoadProject(const std::string& path);
    void SaveProject(const std::string& path);
    void CloseProject(bool forgetFileName);
    void UpdateCaption(bool withFileName);
    void EnableCommands(bool enabled);

    // The selected node of the tree (the current one), or nullptr.
    ObjectNode* SelectedNode() const;
    void SelectNode(const ObjectNode* node);
    void ShowObjectFields();
    void ClearObjectFields();

    // True while a load, save or scan walks the tree: no command may change the tree then.
    bool IsBusy() const { return m_busyDepth > 0; }
    // Marks the window busy for its lifetime: commands off, busy cursor, actions refreshed.
    // `disableCommands` false leaves the editor toolbar and the main menu enabled (their items
    // still refuse to run while the window is busy).
    class BusyScope final {
    public:
        explicit BusyScope(Tfrm_Main& window, bool disableCommands = true);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Tfrm_Main& m_window;
        bool m_disableCommands;
    };

    // Computes the enabled state of every action from the view, the tree and the busy state.
    void UpdateActions();
    // Runs UpdateActions once the program is idle; repeated calls before then run it once.
    void ScheduleUpdateActions();

    // Runs a command with the general error display: an escaping error's text is shown in an
    // error box and the program goes on.
    void RunCommand(const std::function<void()>& command);
    // Connects an action to a handler that runs through RunCommand.
    void ConnectCommand(QAction* action, void (Tfrm_Main::*handler)());

    // The progress sink and message pump of long operations.
    ProgressSink& Progress();
    MessagePump& Pump();

    // File commands
    void a_files_item_NewExecute();
    void a_files_item_OpenExecute();
    void a_files_item_OpenDefaultExecute();
    void a_files_item_CloseFileExecute();
    void a_files_item_SaveExecute();
    void a_files_item_SaveASExecute();
    void a_files_item_ExitExecute();
    // Views
    void a_view_item_BrowserExecute();
    void a_view_item_EditorExecute();
    void a_view_item_SaveNBrowserExecute();
    // Search
    void a_search_item_FindExecute();
    void a_search_item_FindForwardExecute();
    // Selects and reveals the first matching node from the search's start and focuses the tree;
    // false when none matches. Errors end the search silently.
    bool FindInTree(TFindRec& settings, bool forward);
    // The search settings, kept from one search to the next for as long as the program runs.
    const TFindRec& FindState() const { return m_findState; }
    // Project properties page
    void edit_ProjectDataDirButtonClick();
    void edit_SplashFileNameButtonClick();
    void button_DontShowSplahScreenClick();
    void a_options_item_AbsolutePathExecute();
    // Data page: the object fields and the shape of the tree
    void a_button_CommitExecute();
    void a_operation_item_AddObjectExecute();
    void a_operation_item_AddChildObjectExecute();
    void a_operation_item_DeleteObjectExecute();
    void a_operation_item_DeleteAllExecute();
    void a_operation_item_CollapseTreeExecute();
    void a_operation_item_ExpandTreeExecute();
    void ChooseObjectPath();
    // Object actions: runs an action (or the object's own) on the selected object, silently.
    void RunObjectAction(RequestedAction action);
    void a_action_item_OpenFolderContainingObjectExecute();
    // Where the selected object's paths lead under the current path mode and data directory.
    ActionContext ObjectActionContext() const;
    // Scanning
    void a_operation_item_ScanProjectDirectoryExecute();
    void a_operation_item_ScanCurrentFolderExecute();
    // The masks of the last confirmed scan, in scan order.
    const std::vector<std::string>& ScanMaskList() const { return m_scanMaskList; }
    // About
    void a_about_item_AboutProgramExecute();

protected:
    void closeEvent(QCloseEvent* event) override;
    // While busy, the tree takes no keys, clicks, drags or drops.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void ConnectFileCommands();
    void ConnectViewCommands();
    void ConnectPropertiesPage();
    void ConnectTree();
    void ConnectScanCommands();
    void ScanDirectory(const std::string& directory, ObjectNode* parent, bool nested,
                       bool disableCommands);
    void ConnectSearchCommands();
    bool CanSearch() const;
    void SelectTopmostVisibleNode();
    void BindCheckBoxToAction();
    void BindCommitButton();
    void ApplySettings(const TIniRec& settings);
    void OpenStartupProject(const std::string& path);
    void SwitchView(bool browser);
    void PlaceTree(bool browser);
    void SyncViewChecks();
    void ShowProjectProperties(const TProjectRec& project);
    TProjectRec GatherProjectProperties() const;
    void ResetProjectProperties();
    void ShowReadFailure(const ReadResult& result);
    void Tell(MessageKind kind, const QString& text);
    ObjectTreeView& Tree() const;
    void ConnectObjectFields();
    void ConnectTreeEditing();
    void ConnectObjectActions();
    void UpdateEditingActions(bool idle);
    void EnterInField(QWidget* field, Qt::KeyboardModifiers modifiers);
    void EnterInTree(Qt::KeyboardModifiers modifiers);
    void TreeDoubleClicked();
    void PrepareContextMenu();
    void RunOwnOrTaggedAction(const QAction* action);

    MainWindowUi m_ui;
    Seams m_seams;
    ObjectTreeModel* m_model = nullptr;
    std::string m_currentDataDir;
    std::string m_currentFileName;
    std::vector<std::string> m_scanMaskList;
    ThrottledMessagePump m_pump;
    int m_busyDepth = 0;
    bool m_updateScheduled = false;
    bool m_fieldsFollowSelection = true;
    QAction* m_boundMenuAction = nullptr;  // what the context menu's first item runs
    TFindRec m_findState;
};

}  // namespace tomlet
