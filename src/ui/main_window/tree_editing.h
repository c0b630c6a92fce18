#pragma once

class QWidget;

namespace tomlet {

class ObjectNode;
class ObjectTreeModel;
class ObjectTreeView;
class Prompts;

// The data page's commands that change the shape of the tree, moving an object by drag and drop,
// and expanding and collapsing the tree.
class TreeEditing final {
public:
    TreeEditing(QWidget& window, ObjectTreeView& tree, ObjectTreeModel& model, Prompts& prompts);
    TreeEditing(const TreeEditing&) = delete;
    TreeEditing& operator=(const TreeEditing&) = delete;

    void a_operation_item_AddObjectExecute();
    void a_operation_item_AddChildObjectExecute();
    void a_operation_item_DeleteObjectExecute();
    void a_operation_item_DeleteAllExecute();
    void a_operation_item_CollapseTreeExecute();
    void a_operation_item_ExpandTreeExecute();
    // The selected object was dropped on `target`: it moves just before it, or with Ctrl to the
    // end of a folder's or virtual folder's children; never into its own subtree. The new parent
    // is expanded; the selection stays.
    void DropSelectedOn(ObjectNode* target, bool withCtrl);

private:
    QWidget& m_window;
    ObjectTreeView& m_tree;
    ObjectTreeModel& m_model;
    Prompts& m_prompts;
};

}  // namespace tomlet
