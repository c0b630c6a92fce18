#pragma once

#include <QAbstractItemModel>
#include <unordered_set>

#include "core/object_tree.h"

namespace tomlet {

struct DiscChanges;

// The one model over the project's object tree. Every change to the tree goes through the
// methods below, so that the views always see a tree consistent with their notifications.
// An index's internal pointer is its ObjectNode.
class ObjectTreeModel final : public QAbstractItemModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ObjectTreeModel)

public:
    explicit ObjectTreeModel(QObject* parent = nullptr);
    ~ObjectTreeModel() override;

    const ObjectTree& Tree() const { return m_tree; }

    static ObjectNode* NodeFromIndex(const QModelIndex& index);
    // The index of a node; the invalid index for nullptr (the hidden root).
    QModelIndex IndexFromNode(const ObjectNode* node) const;

    ObjectNode* Append(ObjectNode* parent, TNodeData data);
    // A new node just after `sibling`; the last top-level node for nullptr.
    ObjectNode* InsertAfter(ObjectNode* sibling, TNodeData data);
    // Refused moves (into the node's own subtree) change nothing and return false; a move to
    // where the node already is returns true.
    bool MoveBefore(ObjectNode* node, ObjectNode* target);
    bool MoveToLastChild(ObjectNode* node, ObjectNode* parent);
    void DeleteObjectTree(ObjectNode* node);
    // Whether `node` goes with the deletion under way (DeleteObjectTree): true while the views
    // hear that its rows are about to be removed.
    bool IsBeingDeleted(const ObjectNode* node) const;
    void ClearObjectTree();
    // Attaches a tree built detached (by the reader or a scan) with one notification.
    void Adopt(ObjectTree&& detached, ObjectNode* parent);
    // Applies an update from disc (ApplyDiscChanges, `leftOut` as there) as one layout change:
    // the kept nodes keep their persistent indexes, so expanded folders and the selection stay
    // where they are; the indexes of deleted nodes become invalid.
    void ApplyDiscChanges(DiscChanges&& changes,
                          const std::unordered_set<const ObjectNode*>& leftOut);
    // Replaces a node's record and shows its new caption.
    void SetRecord(ObjectNode* node, TNodeData data);
    // Tells the views that a node's record changed in place.
    void RefreshNode(const ObjectNode* node);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Begins a move of `node` to `row` under `newParent`; false when the node is already there.
    bool BeginMove(const ObjectNode* node, const ObjectNode* newParent, int row);

    ObjectTree m_tree;
    const ObjectNode* m_deleting = nullptr;
};

}  // namespace tomlet
