#pragma once

#include <Qt>

class QWidget;

namespace tomlet {

class ObjectNode;
class ObjectTreeModel;
class Prompts;
struct ActionContext;
struct MainWindowUi;
struct TNodeData;

// The object fields of the data page and the browser's comments box: they show the selected
// node's record, Commit writes the fields back and the path button picks a new path. Edits not
// yet committed are never lost to a change of selection: they are committed to the node being
// left first.
class ObjectFieldsEditor final {
public:
    ObjectFieldsEditor(QWidget& window, const MainWindowUi& ui, ObjectTreeModel& model,
                       Prompts& prompts);
    ObjectFieldsEditor(const ObjectFieldsEditor&) = delete;
    ObjectFieldsEditor& operator=(const ObjectFieldsEditor&) = delete;

    // Fills the fields from the selected node's record and turns Commit off.
    void ShowObjectFields();
    // Empties the fields (the keywords box keeps its text) and turns Commit off.
    void ClearObjectFields();
    // The tree's selection moved: the edits of the node left are committed and the fields show
    // the new node, except while the tree is cleared.
    void FollowSelection();
    // Whether the fields hold edits that Commit would write into the record they show.
    bool HasPendingEdits() const;
    void CommitPendingEdits();
    // Empties the tree while the fields do not follow the selection.
    void ClearTreeQuietly();
    // The editor's rule: the fields are enabled exactly when a node is selected.
    void EnableFields(bool nodeSelected);

    void a_button_CommitExecute();
    // The path button: a file or folder below the data directory of `paths` sets the path field
    // and, from what it is, the type and action.
    void ChooseObjectPath(const ActionContext& paths);

private:
    void ConnectFieldChanges();
    void ForgetShownNodeWhenRemoved();
    // The record as Commit writes it from the fields over `stored`.
    TNodeData EditedRecord(const TNodeData& stored) const;
    void CommitTo(ObjectNode& node);
    void ConnectEnterKey();
    void EnterInField(QWidget* field, Qt::KeyboardModifiers modifiers);
    ObjectNode* SelectedNode() const;

    QWidget& m_window;
    const MainWindowUi& m_ui;
    ObjectTreeModel& m_model;
    Prompts& m_prompts;
    bool m_fieldsFollowSelection = true;
    // The node whose record the fields show, if any.
    ObjectNode* m_shownNode = nullptr;
};

}  // namespace tomlet
