#pragma once

#include <string>

class QWidget;

namespace tomlet {

class ObjectTreeModel;
class ProjectSession;
class Prompts;
struct MainWindowUi;

// The handlers of the project properties page: the data directory, the splash picture and the
// path mode. Loading, saving and closing the project fill, read and reset the page's controls.
class PropertiesPage final {
public:
    PropertiesPage(QWidget& window, const MainWindowUi& ui, const ObjectTreeModel& model,
                   ProjectSession& session, Prompts& prompts, std::string discFolder);
    PropertiesPage(const PropertiesPage&) = delete;
    PropertiesPage& operator=(const PropertiesPage&) = delete;

    // Picks the data directory: only for an empty project or while the directory is missing.
    void edit_ProjectDataDirButtonClick();
    // Picks the splash picture below the data directory.
    void edit_SplashFileNameButtonClick();
    void button_DontShowSplahScreenClick();
    void a_options_item_AbsolutePathExecute();

private:
    QWidget& m_window;
    const MainWindowUi& m_ui;
    const ObjectTreeModel& m_model;
    ProjectSession& m_session;
    Prompts& m_prompts;
    std::string m_discFolder;
};

}  // namespace tomlet
