#pragma once

class QWidget;

namespace tomlet {

class ObjectFieldsEditor;
class ObjectTreeModel;
class Prompts;
struct MainWindowUi;

// The data page's commands that change the shape of the tree, and expanding and collapsing it.
class TreeEditing final {
public:
    TreeEditing(QWidget& window, const MainWindowUi& ui, ObjectTreeModel& model,
                ObjectFieldsEditor& fields, Prompts& prompts);
    TreeEditing(const TreeEditing&) = delete;
    TreeEditing& operator=(const TreeEditing&) = delete;

    void a_operation_item_AddObjectExecute();
    void a_operation_item_AddChildObjectExecute();
    void a_operation_item_DeleteObjectExecute();
    void a_operation_item_DeleteAllExecute();
    void a_operation_item_CollapseTreeExecute();
    void a_operation_item_ExpandTreeExecute();

private:
    QWidget& m_window;
    const MainWindowUi& m_ui;
    ObjectTreeModel& m_model;
    ObjectFieldsEditor& m_fields;
    Prompts& m_prompts;
};

}  // namespace tomlet
