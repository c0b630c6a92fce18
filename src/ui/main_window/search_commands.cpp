#include <QAction>
#include <QTabWidget>
#include <QTreeView>

#include "core/catalogue.h"
#include "ui/base/qt_text.h"
#include "ui/dialogs/find_dialog.h"
#include "ui/main_window/main_window.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {

void Tfrm_Main::ConnectSearchCommands() {
    ConnectCommand(m_ui.a_search_item_Find, &Tfrm_Main::a_search_item_FindExecute);
    ConnectCommand(m_ui.a_search_item_FindForward, &Tfrm_Main::a_search_item_FindForwardExecute);
}

// a_search_item_FindUpdate: a tree to search, shown in the browser or on the data page.
bool Tfrm_Main::CanSearch() const {
    return !m_model->Tree().IsEmpty() &&
           (IsBrowserView() || m_ui.EditPageControl->currentWidget() == m_ui.tabsheet_Data);
}

void Tfrm_Main::a_search_item_FindExecute() {
    Tfrm_Find dialog(this);
    dialog.LoadFindRec(m_findState);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.StoreFindRec(m_findState);
    if (!FindInTree(m_findState, false))
        Tell(MessageKind::Warning, ToQString(Text(TextId::message_RecordNotFound)));
}

void Tfrm_Main::a_search_item_FindForwardExecute() {
    if (m_findState.Text.empty() || m_findState.Fields == 0) {
        a_search_item_FindExecute();
        return;
    }
    if (!FindInTree(m_findState, true))
        Tell(MessageKind::Warning, ToQString(Text(TextId::message_RecordNotFound)));
}

bool Tfrm_Main::FindInTree(TFindRec& settings, bool forward) {
    try {
        int current = -1;
        if (!forward && settings.FromCurrent) {
            if (SelectedNode() == nullptr)
                SelectTopmostVisibleNode();
            current = m_model->Tree().AbsoluteIndex(SelectedNode());
        }
        const ObjectNode* found = FindObject(settings, m_model->Tree(), forward, current);
        if (found == nullptr)
            return false;
        for (const ObjectNode* parent = found->Parent(); parent != nullptr;
             parent = parent->Parent())
            m_ui.TreeView->expand(m_model->IndexFromNode(parent));
        SelectNode(found);
        m_ui.TreeView->setFocus();
        return true;
    } catch (...) {
        return false;
    }
}

// A tree that takes the focus with nothing selected starts at its topmost visible node.
void Tfrm_Main::SelectTopmostVisibleNode() {
    m_ui.TreeView->setFocus();
    if (SelectedNode() != nullptr)
        return;
    if (const ObjectNode* top = ObjectTreeModel::NodeFromIndex(m_ui.TreeView->indexAt({0, 0})))
        SelectNode(top);
}

}  // namespace tomlet
