#include "ui/main_window/tree_search.h"

#include "core/catalogue.h"
#include "ui/base/error_policy.h"
#include "ui/base/qt_text.h"
#include "ui/dialogs/find_dialog.h"
#include "ui/seams/prompts.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {

TreeSearch::TreeSearch(QWidget& window, ObjectTreeView& tree, const ObjectTreeModel& model,
                       Prompts& prompts)
    : m_window(window), m_tree(tree), m_model(model), m_prompts(prompts) {}

void TreeSearch::a_search_item_FindExecute() {
    Tfrm_Find dialog(&m_window);
    dialog.LoadFindRec(m_findState);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.StoreFindRec(m_findState);
    if (!FindInTree(m_findState, Start::AsSettingsSay))
        TellNotFound();
}

void TreeSearch::a_search_item_FindForwardExecute() {
    if (m_findState.Text.empty() || m_findState.Fields == 0) {
        a_search_item_FindExecute();
        return;
    }
    if (!FindInTree(m_findState, Start::AfterLastMatch))
        TellNotFound();
}

void TreeSearch::TellNotFound() {
    m_prompts.ShowMessage(&m_window, MessageKind::Warning,
                          ToQString(Text(TextId::message_RecordNotFound)));
}

bool TreeSearch::FindInTree(TFindRec& settings, Start start) {
    ObjectTreeView& tree = m_tree;
    const bool forward = start == Start::AfterLastMatch;
    bool found = false;
    // An error ends the search unreported, as a search that found nothing.
    RunIgnoringErrors([&] {
        int current = -1;
        if (!forward && settings.FromCurrent) {
            if (tree.SelectedNode() == nullptr)
                SelectTopmostVisibleNode();
            current = m_model.Tree().AbsoluteIndex(tree.SelectedNode());
        }
        const ObjectNode* match = FindObject(settings, m_model.Tree(), forward, current);
        if (match == nullptr)
            return;
        for (const ObjectNode* parent = match->Parent(); parent != nullptr;
             parent = parent->Parent())
            tree.expand(m_model.IndexFromNode(parent));
        tree.SelectNode(match);
        tree.setFocus();
        found = true;
    });
    return found;
}

// A tree that takes the focus with nothing selected starts at its topmost visible node.
void TreeSearch::SelectTopmostVisibleNode() {
    ObjectTreeView& tree = m_tree;
    tree.setFocus();
    if (tree.SelectedNode() != nullptr)
        return;
    if (const ObjectNode* top = ObjectTreeModel::NodeFromIndex(tree.indexAt({0, 0})))
        tree.SelectNode(top);
}

}  // namespace tomlet
