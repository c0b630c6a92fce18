// The object fields of the data page and the browser's comments box follow the selected node.
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>

#include "ui/main_window.h"
#include "ui/memo_text.h"
#include "ui/object_tree_model.h"
#include "ui/qt_text.h"

namespace tomlet {

namespace {

void ShowListItem(QComboBox& list, std::uint8_t value) {
    list.setCurrentIndex(value < list.count() ? value : -1);
}

}  // namespace

ObjectNode* Tfrm_Main::SelectedNode() const {
    return ObjectTreeModel::NodeFromIndex(m_ui.TreeView->selectionModel()->currentIndex());
}

void Tfrm_Main::SelectNode(const ObjectNode* node) {
    const QModelIndex index = m_model->IndexFromNode(node);
    m_ui.TreeView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_ui.TreeView->scrollTo(index);
}

void Tfrm_Main::ShowObjectFields() {
    try {
        const ObjectNode* node = SelectedNode();
        if (m_model->Tree().IsEmpty() || node == nullptr)
            return;
        const TNodeData& record = node->Data;
        m_ui.edit_PathFileName->setText(ToQString(record.PathFileName));
        m_ui.edit_Parameters->setText(ToQString(record.Parameters));
        m_ui.edit_Caption->setText(ToQString(record.Caption));
        m_ui.edit_Hint->setText(ToQString(record.Hint));
        ShowListItem(*m_ui.combobox_ObjectType, record.ObjectType);
        ShowListItem(*m_ui.combobox_ObjectAction, record.ObjectAction);
        SetMemoText(*m_ui.memo_Comments, record.Comments);
        SetMemoText(*m_ui.memo_BrowserComments, record.Comments);
        m_ui.a_button_Commit->setEnabled(false);
    } catch (...) {
        // Showing the fields never stops the user: the fields keep what they could show.
    }
}

void Tfrm_Main::ClearObjectFields() {
    for (QLineEdit* edit :
         {m_ui.edit_PathFileName, m_ui.edit_Parameters, m_ui.edit_Caption, m_ui.edit_Hint})
        edit->clear();
    m_ui.combobox_ObjectType->setCurrentIndex(-1);
    m_ui.combobox_ObjectAction->setCurrentIndex(-1);
    m_ui.memo_Comments->clear();
    m_ui.a_button_Commit->setEnabled(false);
}

}  // namespace tomlet
