#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/file_fingerprints.h"
#include "ui/main_window/busy_state.h"
#include "ui/seams/seams.h"

class QWidget;

namespace tomlet {

class MessagePump;
class ObjectNode;
class ObjectTreeModel;
class ObjectTreeView;
class ProjectSession;
class Tfrm_Scan;
struct DiscChanges;
struct DiscUpdateScope;

// The widgets the scan commands work with: the tree whose selected folder they scan, and the
// editor's pages, which are off while a scan lets window messages through.
struct ScanWidgets {
    ObjectTreeView* Tree;
    QWidget* EditorPages;
};

// The editor's scan commands, which fill the tree from a folder tree on disc under the masks of
// the scan options or bring it up to date with the disc, and the masks of the last confirmed
// scan.
class ScanCommands final {
public:
    ScanCommands(QWidget& window, const ScanWidgets& widgets, ObjectTreeModel& model,
                 ProjectSession& session, BusyState& busy, const Seams& seams, MessagePump& pump,
                 std::string discFolder);
    ScanCommands(const ScanCommands&) = delete;
    ScanCommands& operator=(const ScanCommands&) = delete;

    // The masks of the last confirmed scan, in scan order.
    const std::vector<std::string>& ScanMaskList() const { return m_scanMaskList; }

    // Fills the empty project from a folder, which becomes its data directory.
    void a_operation_item_ScanProjectDirectoryExecute();
    // Appends the content of the selected Folder object's folder below it.
    void a_operation_item_ScanCurrentFolderExecute();
    // Compares the selected Folder object's folder, or else the whole data directory, with the
    // disc and, once the user has reviewed the changes, adds the new objects and deletes those
    // whose file or folder is gone. Every other object stays exactly as it is.
    void a_operation_item_UpdateFromDiscExecute();

private:
    // The scan options, titled with the data directory, their folder field showing `folder`.
    std::unique_ptr<Tfrm_Scan> ScanOptions(const std::string& folder);
    // Shows the scan options; false when cancelled. On OK the masks become the scan's.
    bool AskScanOptions(Tfrm_Scan& dialog);
    void ScanDirectory(const std::string& directory, ObjectNode* parent, bool nested,
                       BusyState::Commands commands);
    DiscChanges ScanForChanges(const DiscUpdateScope& scope, FingerprintMap& fingerprints);
    // Shows the update's options with the choice of the project's last update; false when
    // cancelled. On OK the choice is remembered for the project.
    bool AskUpdateOptions(Tfrm_Scan& dialog);
    void ApplyReviewedChanges(DiscChanges&& changes,
                              const std::unordered_set<const ObjectNode*>& leftOut);

    QWidget& m_window;
    ScanWidgets m_widgets;
    ObjectTreeModel& m_model;
    ProjectSession& m_session;
    BusyState& m_busy;
    Seams m_seams;
    MessagePump& m_pump;
    std::string m_discFolder;
    std::vector<std::string> m_scanMaskList;
};

}  // namespace tomlet
