#include "ui/main_window/tree_editing.h"

#include "core/catalogue.h"
#include "ui/base/qt_text.h"
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

TreeEditing::TreeEditing(QWidget& window, ObjectTreeView& tree, ObjectTreeModel& model,
                         Prompts& prompts)
    : m_window(window), m_tree(tree), m_model(model), m_prompts(prompts) {}

void TreeEditing::a_operation_item_AddObjectExecute() {
    m_tree.SelectNode(m_model.InsertAfter(m_tree.SelectedNode(), NewObjectRecord()));
}

void TreeEditing::a_operation_item_AddChildObjectExecute() {
    ObjectNode* parent = m_tree.SelectedNode();
    if (parent == nullptr || !MayHaveChildren(parent->Data.ObjectType)) {
        m_prompts.ShowMessage(
            &m_window, MessageKind::Warning,
            ToQString(Text(TextId::message_NestedObjectsAddedOnlyFolderOrVirtualFolder)));
        return;
    }
    m_tree.SelectNode(m_model.Append(parent, NewObjectRecord()));
    m_tree.setFocus();
}

void TreeEditing::a_operation_item_DeleteObjectExecute() {
    ObjectNode* node = m_tree.SelectedNode();
    if (node == nullptr)
        return;
    const std::string question =
        FormatString(Text(TextId::message_DeleteObject_S), node->Data.Caption);
    if (m_prompts.Confirm(&m_window, ToQString(question)))
        m_model.DeleteObjectTree(node);
}

void TreeEditing::a_operation_item_DeleteAllExecute() {
    if (m_prompts.Confirm(&m_window, ToQString(Text(TextId::message_DeleteAllInformation))))
        m_model.ClearObjectTree();
}

void TreeEditing::a_operation_item_CollapseTreeExecute() {
    m_tree.collapseAll();
}

void TreeEditing::a_operation_item_ExpandTreeExecute() {
    m_tree.expandAll();
}

void TreeEditing::DropSelectedOn(ObjectNode* target, bool withCtrl) {
    ObjectNode* moved = m_tree.SelectedNode();
    if (moved == nullptr || target == nullptr)
        return;
    const bool changed = withCtrl && MayHaveChildren(target->Data.ObjectType)
                             ? m_model.MoveToLastChild(moved, target)
                             : m_model.MoveBefore(moved, target);
    if (changed && moved->Parent() != nullptr)
        m_tree.expand(m_model.IndexFromNode(moved->Parent()));
}

}  // namespace tomlet
