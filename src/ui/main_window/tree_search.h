#pragma once

#include "core/search.h"

class QWidget;

namespace tomlet {

class ObjectTreeModel;
class ObjectTreeView;
class Prompts;

// Finding objects in the tree: Find, Find forward and the search settings they share, which are
// kept from one search to the next for as long as the program runs.
class TreeSearch final {
public:
    TreeSearch(QWidget& window, ObjectTreeView& tree, const ObjectTreeModel& model,
               Prompts& prompts);
    TreeSearch(const TreeSearch&) = delete;
    TreeSearch& operator=(const TreeSearch&) = delete;

    const TFindRec& FindState() const { return m_findState; }

    void a_search_item_FindExecute();
    void a_search_item_FindForwardExecute();

private:
    // Where a search starts: from the selected node or the first, as the settings say, or after
    // the last match.
    enum class Start { AsSettingsSay, AfterLastMatch };

    // Selects and reveals the first matching node and focuses the tree; false when none matches.
    // Errors end the search silently.
    bool FindInTree(TFindRec& settings, Start start);
    void SelectTopmostVisibleNode();
    void TellNotFound();

    QWidget& m_window;
    ObjectTreeView& m_tree;
    const ObjectTreeModel& m_model;
    Prompts& m_prompts;
    TFindRec m_findState;
};

}  // namespace tomlet
