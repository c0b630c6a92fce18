// The commands of the data page that change the shape of the tree, and their enabling rules.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "core/catalogue.h"
#include "ui/base/qt_text.h"
#include "ui/main_window/main_window.h"
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

bool MayHaveChildren(const ObjectNode* node) {
    return node != nullptr &&
           (node->Data.ObjectType == otFolder || node->Data.ObjectType == otVirtualFolder);
}

}  // namespace

ObjectTreeView& Tfrm_Main::Tree() const {
    return *static_cast<ObjectTreeView*>(m_ui.TreeView);
}

void Tfrm_Main::ConnectTreeEditing() {
    ConnectCommand(m_ui.a_operation_item_AddObject, &Tfrm_Main::a_operation_item_AddObjectExecute);
    ConnectCommand(m_ui.a_operation_item_AddChildObject,
                   &Tfrm_Main::a_operation_item_AddChildObjectExecute);
    ConnectCommand(m_ui.a_operation_item_DeleteObject,
                   &Tfrm_Main::a_operation_item_DeleteObjectExecute);
    ConnectCommand(m_ui.a_operation_item_DeleteAll, &Tfrm_Main::a_operation_item_DeleteAllExecute);
    ConnectCommand(m_ui.a_operation_item_CollapseTree,
                   &Tfrm_Main::a_operation_item_CollapseTreeExecute);
    ConnectCommand(m_ui.a_operation_item_ExpandTree,
                   &Tfrm_Main::a_operation_item_ExpandTreeExecute);
    Tree().SetBusyQuery([this] { return IsBusy(); });
}

void Tfrm_Main::UpdateEditingActions(bool idle) {
    const ObjectNode* selected = SelectedNode();
    const bool hasNodes = !m_model->Tree().IsEmpty();
    const bool dataPage = m_ui.EditPageControl->currentWidget() == m_ui.tabsheet_Data;
    const bool canAdd = idle && !m_currentDataDir.empty() && dataPage;
    m_ui.a_operation_item_AddObject->setEnabled(canAdd);
    m_ui.a_operation_item_AddChildObject->setEnabled(canAdd && selected != nullptr);
    m_ui.a_operation_item_DeleteObject->setEnabled(canAdd && selected != nullptr);
    m_ui.a_operation_item_DeleteAll->setEnabled(canAdd && hasNodes);
    const bool canFold = idle && hasNodes && (dataPage || IsBrowserView());
    m_ui.a_operation_item_CollapseTree->setEnabled(canFold);
    m_ui.a_operation_item_ExpandTree->setEnabled(canFold);
    m_ui.a_action_item_OpenFolderContainingObject->setEnabled(
        selected != nullptr && selected->Data.ObjectType != otVirtualFolder);

    if (!IsEditorView())
        return;
    for (QWidget* field : std::initializer_list<QWidget*>{
             m_ui.edit_PathFileName, m_ui.edit_Caption, m_ui.edit_Parameters, m_ui.edit_Hint,
             m_ui.combobox_Keywords, m_ui.combobox_ObjectType, m_ui.combobox_ObjectAction,
             m_ui.memo_Comments})
        field->setEnabled(selected != nullptr);
}

void Tfrm_Main::a_operation_item_AddObjectExecute() {
    try {
        ObjectNode* previous = SelectedNode();
        ObjectNode* created = previous != nullptr
                                  ? m_model->InsertBefore(previous, NewObjectRecord())
                                  : m_model->Append(nullptr, NewObjectRecord());
        SelectNode(created);
        // Inserted before the selected object, which then moves before it: the new object
        // follows the selected one as its next sibling.
        if (previous != nullptr)
            m_model->MoveBefore(previous, created);
    } catch (...) {
        // Adding never stops the author: the tree keeps whatever it reached.
    }
}

void Tfrm_Main::a_operation_item_AddChildObjectExecute() {
    ObjectNode* parent = SelectedNode();
    if (!MayHaveChildren(parent)) {
        Tell(MessageKind::Warning,
             ToQString(Text(TextId::message_NestedObjectsAddedOnlyFolderOrVirtualFolder)));
        return;
    }
    SelectNode(m_model->Append(parent, NewObjectRecord()));
    m_ui.TreeView->setFocus();
}

void Tfrm_Main::a_operation_item_DeleteObjectExecute() {
    ObjectNode* node = SelectedNode();
    if (node == nullptr)
        return;
    const std::string question =
        FormatString(Text(TextId::message_DeleteObject_S), node->Data.Caption);
    if (!m_seams.UserPrompts->Confirm(this, ToQString(question)))
        return;
    m_model->DeleteObjectTree(node);
    if (m_model->Tree().IsEmpty())
        ClearObjectFields();
}

void Tfrm_Main::a_operation_item_DeleteAllExecute() {
    if (!m_seams.UserPrompts->Confirm(this, ToQString(Text(TextId::message_DeleteAllInformation))))
        return;
    m_fieldsFollowSelection = false;
    try {
        m_model->ClearObjectTree();
    } catch (...) {
        // The fields are emptied whatever happened to the tree.
    }
    m_fieldsFollowSelection = true;
    ClearObjectFields();
}

void Tfrm_Main::a_operation_item_CollapseTreeExecute() {
    m_ui.TreeView->collapseAll();
}

void Tfrm_Main::a_operation_item_ExpandTreeExecute() {
    m_ui.TreeView->expandAll();
}

}  // namespace tomlet
