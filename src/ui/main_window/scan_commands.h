#pragma once

#include <string>
#include <vector>

#include "ui/main_window/busy_state.h"
#include "ui/seams/seams.h"

class QWidget;

namespace tomlet {

class MessagePump;
class ObjectNode;
class ObjectTreeModel;
class ProjectSession;
class Tfrm_Scan;
struct MainWindowUi;

// The editor's scan commands, which fill the tree from a folder tree on disc under the masks of
// the scan options, and the masks of the last confirmed scan.
class ScanCommands final {
public:
    ScanCommands(QWidget& window, const MainWindowUi& ui, ObjectTreeModel& model,
                 ProjectSession& session, BusyState& busy, const Seams& seams, MessagePump& pump);
    ScanCommands(const ScanCommands&) = delete;
    ScanCommands& operator=(const ScanCommands&) = delete;

    // The masks of the last confirmed scan, in scan order.
    const std::vector<std::string>& ScanMaskList() const { return m_scanMaskList; }

    // Fills the empty project from a folder, which becomes its data directory.
    void a_operation_item_ScanProjectDirectoryExecute();
    // Appends the content of the selected Folder object's folder below it.
    void a_operation_item_ScanCurrentFolderExecute();

private:
    // Shows the scan options; false when cancelled. On OK the masks become the scan's.
    bool AskScanOptions(Tfrm_Scan& dialog);
    void ScanDirectory(const std::string& directory, ObjectNode* parent, bool nested,
                       BusyState::Commands commands);

    QWidget& m_window;
    const MainWindowUi& m_ui;
    ObjectTreeModel& m_model;
    ProjectSession& m_session;
    BusyState& m_busy;
    Seams m_seams;
    MessagePump& m_pump;
    std::vector<std::string> m_scanMaskList;
};

}  // namespace tomlet
