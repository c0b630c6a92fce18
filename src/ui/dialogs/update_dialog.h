#pragma once

#include <QDialog>
#include <unordered_set>
#include <utility>
#include <vector>

#include "ui/base/common_window.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace tomlet {

class ObjectNode;
struct DiscChanges;

// The review of an update from disc: the objects new on disc (as a tree, a new folder holding its
// content), the files renamed or moved (a gone object paired with a new file of the same content)
// and the objects whose file or folder is gone, all checked, each count following the checks.
// Only the checked ones are to change the catalogue; the dialog itself changes nothing.
class Tfrm_Update final : public Tfrm_Common<QDialog> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_Update)

public:
    // `changes` must outlive the dialog.
    explicit Tfrm_Update(const DiscChanges& changes, QWidget* parent = nullptr);

    // The unchecked objects, as ApplyDiscChanges takes them: of the new ones, not added (with
    // everything below them); of the missing ones, not deleted; of a renamed pair, its object:
    // deleted, while its file is added.
    std::unordered_set<const ObjectNode*> LeftOut() const;

private:
    void FormCreate(const DiscChanges& changes);
    void FillNewObjects(const DiscChanges& changes);
    void FillRenamedObjects(const DiscChanges& changes);
    void FillMissingObjects(const DiscChanges& changes);
    void UpdateCounts();
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, QTreeWidget* list, const ObjectNode& node,
                             const QString& text);
    // A new object comes only with its folder: unchecking one unchecks what lies below it,
    // checking one checks the folders above it.
    void tree_NewObjectsItemChanged(QTreeWidgetItem* item);

    QTreeWidget* m_new = nullptr;
    QTreeWidget* m_renamed = nullptr;
    QTreeWidget* m_missing = nullptr;
    QLabel* m_newLabel = nullptr;
    QLabel* m_renamedLabel = nullptr;
    QLabel* m_missingLabel = nullptr;
    std::vector<std::pair<const QTreeWidgetItem*, const ObjectNode*>> m_items;
};

}  // namespace tomlet
