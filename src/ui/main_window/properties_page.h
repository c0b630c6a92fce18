#pragma once

#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QWidget;

namespace tomlet {

class ObjectTreeModel;
class ProjectSession;
class Prompts;
struct TProjectRec;

// The widgets that show the project's properties: the editor's properties page, the path mode's
// menu command, and the browser's title lines and description.
struct ProjectPropertiesWidgets {
    QLineEdit* DataDir;
    QLineEdit* Name;
    QLineEdit* Name2;
    QLineEdit* SplashFile;
    QSpinBox* SplashShowTime;
    QAction* AbsolutePaths;
    QCheckBox* AbsolutePathsBox;
    QPlainTextEdit* Description;
    QLabel* BrowserName;
    QLabel* BrowserName2;
    QPlainTextEdit* BrowserDescription;
};

// The project properties page: its widgets show the session's project, and what the author
// types goes back to it; the buttons pick the data directory and the splash picture, and the
// path mode's menu command and check box switch the mode. A property the author leaves alone
// keeps the file's bytes.
class PropertiesPage final {
public:
    PropertiesPage(QWidget& window, const ProjectPropertiesWidgets& widgets,
                   const ObjectTreeModel& model, ProjectSession& session, Prompts& prompts,
                   std::string discFolder);
    PropertiesPage(const PropertiesPage&) = delete;
    PropertiesPage& operator=(const PropertiesPage&) = delete;

    // Shows the session's project; the session's every change calls it.
    void ShowProject();

    // Picks the data directory: only for an empty project or while the directory is missing.
    void edit_ProjectDataDirButtonClick();
    // Picks the splash picture below the data directory.
    void edit_SplashFileNameButtonClick();
    void button_DontShowSplahScreenClick();
    // The menu command (or the check box bound to it) has inverted its check: the mode follows.
    void a_options_item_AbsolutePathExecute();

private:
    void ConnectEdits();
    // The session's project with what the author changed in the widgets.
    TProjectRec GatheredProject() const;

    QWidget& m_window;
    ProjectPropertiesWidgets m_widgets;
    const ObjectTreeModel& m_model;
    ProjectSession& m_session;
    Prompts& m_prompts;
    std::string m_discFolder;
    // While the page shows the project, which is no edit of the author's.
    bool m_showing = false;
};

}  // namespace tomlet
