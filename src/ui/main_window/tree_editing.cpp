#include "ui/main_window/tree_editing.h"

#include "core/catalogue.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/main_window_ui.h"
#include "ui/main_window/object_fields_editor.h"
#include "ui/seams/prompts.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {

namespace {

TNodeData NewObjectRecord() {
    TNodeData record;
    record.Caption = Text(TextId::text_NewObject);
    record.ObjectType = otVirtualFolder;
    record.ObjectAction = oaNoAction;
    return record;
}

}  // namespace

TreeEditing::TreeEditing(QWidget& window, const MainWindowUi& ui, ObjectTreeModel& model,
                         ObjectFieldsEditor& fields, Prompts& prompts)
    : m_window(window), m_ui(ui), m_model(model), m_fields(fields), m_prompts(prompts) {}

void TreeEditing::a_operation_item_AddObjectExecute() {
    ObjectTreeView& tree = *m_ui.TreeView;
    tree.SelectNode(m_model.InsertAfter(tree.SelectedNode(), NewObjectRecord()));
}

void TreeEditing::a_operation_item_AddChildObjectExecute() {
    ObjectTreeView& tree = *m_ui.TreeView;
    ObjectNode* parent = tree.SelectedNode();
    if (parent == nullptr || !MayHaveChildren(parent->Data.ObjectType)) {
        m_prompts.ShowMessage(
            &m_window, MessageKind::Warning,
            ToQString(Text(TextId::message_NestedObjectsAddedOnlyFolderOrVirtualFolder)));
        return;
    }
    tree.SelectNode(m_model.Append(parent, NewObjectRecord()));
    tree.setFocus();
}

void TreeEditing::a_operation_item_DeleteObjectExecute() {
    ObjectNode* node = m_ui.TreeView->SelectedNode();
    if (node == nullptr)
        return;
    const std::string question =
        FormatString(Text(TextId::message_DeleteObject_S), node->Data.Caption);
    if (!m_prompts.Confirm(&m_window, ToQString(question)))
        return;
    m_model.DeleteObjectTree(node);
    if (m_model.Tree().IsEmpty())
        m_fields.ClearObjectFields();
}

void TreeEditing::a_operation_item_DeleteAllExecute() {
    if (!m_prompts.Confirm(&m_window, ToQString(Text(TextId::message_DeleteAllInformation))))
        return;
    // The fields first, so that they are empty whatever becomes of the tree.
    m_fields.ClearObjectFields();
    m_fields.ClearTreeQuietly();
}

void TreeEditing::a_operation_item_CollapseTreeExecute() {
    m_ui.TreeView->collapseAll();
}

void TreeEditing::a_operation_item_ExpandTreeExecute() {
    m_ui.TreeView->expandAll();
}

}  // namespace tomlet
