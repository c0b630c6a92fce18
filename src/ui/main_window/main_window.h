#pragma once

#include <QMainWindow>

#include "core/startup_context.h"
#include "ui/base/common_window.h"
#include "ui/base/user_preferences.h"
#include "ui/main_window/busy_state.h"
#include "ui/main_window/command_runner.h"
#include "ui/main_window/main_window_ui.h"
#include "ui/main_window/object_fields_editor.h"
#include "ui/main_window/object_running.h"
#include "ui/main_window/project_session.h"
#include "ui/main_window/properties_page.h"
#include "ui/main_window/recent_projects.h"
#include "ui/main_window/scan_commands.h"
#include "ui/main_window/shelf_commands.h"
#include "ui/main_window/tree_editing.h"
#include "ui/main_window/tree_search.h"
#include "ui/main_window/web_page_command.h"
#include "ui/progress/message_pump.h"
#include "ui/seams/seams.h"

class QCloseEvent;

namespace tomlet {

class ObjectTreeModel;
struct TIniRec;

// The program's one main window: the browser view for end users and the editor view for
// authors. It holds the layout, the two views and the wiring; the state and the commands live in
// the owners below, each given the few widgets it works with and the seams. One UpdateActions
// computes every action's enabled state from the facts the owners hold.
class Tfrm_Main final : public Tfrm_Common<QMainWindow> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Main)

public:
    Tfrm_Main(const Seams& seams, const StartupContext& context, QWidget* parent = nullptr);
    ~Tfrm_Main() override;

    const MainWindowUi& Ui() const { return m_ui; }
    ObjectTreeModel& Model() const { return *m_model; }
    BusyState& Busy() { return m_busy; }
    const CommandRunner& Commands() const { return m_commands; }
    ProjectSession& Session() { return m_session; }
    ObjectFieldsEditor& Fields() { return m_fields; }
    const TreeSearch& Search() const { return m_search; }
    const ScanCommands& Scan() const { return m_scan; }

    bool IsBrowserView() const;
    bool IsEditorView() const;

    // Computes the enabled state of every action from the busy state, the view, the tree, the
    // open project, the object fields' edits and the recent projects. Nothing else enables or
    // disables an action.
    void UpdateActions();
    // Runs UpdateActions once the program is idle; repeated calls before then run it once.
    void ScheduleUpdateActions();

protected:
    // Closing in the editor switches to the browser instead; in the browser it asks first when
    // the project holds changes not yet saved. Nothing closes while the shelf is being indexed.
    void closeEvent(QCloseEvent* event) override;
    // While busy, the tree takes no keys, clicks, drags or drops.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class View { Browser, Editor };

    void FormCreate();
    void ApplySettings(const TIniRec& settings);
    // The place the user left the window in, unless the settings shape the window themselves;
    // false when there is none to restore.
    bool RestoreWindowPlace();
    void ShowObjectListTexts();
    void ConnectCommands();
    void ConnectObjectActions();
    void ConnectStateChanges();
    void ConnectTree();
    void BindCheckBoxToAction();
    void BindCommitButton();

    void a_files_item_NewExecute();
    void a_files_item_ExitExecute();
    void a_view_item_BrowserExecute();
    void a_view_item_EditorExecute();
    void a_view_item_SaveNBrowserExecute();
    void a_about_item_AboutProgramExecute();

    void SwitchView(View view);
    // Shows the view's page, menus and commands, with the tree placed on it; loads nothing.
    void ShowView(View view);
    // A hit chosen in the Shelf window: its catalogue opened in the browser view, once the open
    // project may be replaced, with the object at `objectIndex` (depth-first) selected and
    // scrolled into view.
    void OpenShelfObject(const QString& cataloguePath, int objectIndex);
    void PlaceTree(View view);
    void SyncViewChecks();
    void EnterInTree(Qt::KeyboardModifiers modifiers);
    void EditingKeyInTree(Qt::Key key);

    MainWindowUi m_ui;
    Seams m_seams;
    StartupContext m_context;
    ObjectTreeModel* m_model;
    ThrottledMessagePump m_pump;
    BusyState m_busy;
    CommandRunner m_commands;
    ObjectFieldsEditor m_fields;
    UserPreferences m_preferences;
    RecentProjects m_recent;
    ProjectSession m_session;
    PropertiesPage m_properties;
    TreeEditing m_editing;
    ObjectRunning m_running;
    TreeSearch m_search;
    ScanCommands m_scan;
    ShelfCommands m_shelf;
    WebPageCommand m_webPage;
    bool m_updateScheduled = false;
    // Off when tomlet.ini asks for a maximised or captionless window.
    bool m_remembersPlace = true;
};

}  // namespace tomlet
