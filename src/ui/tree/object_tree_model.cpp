#include "ui/tree/object_tree_model.h"

#include "core/disc_update.h"
#include "ui/base/qt_text.h"
#include "ui/tree/object_icons.h"

namespace tomlet {

ObjectTreeModel::ObjectTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

ObjectTreeModel::~ObjectTreeModel() = default;

ObjectNode* ObjectTreeModel::NodeFromIndex(const QModelIndex& index) {
    return index.isValid() ? static_cast<ObjectNode*>(index.internalPointer()) : nullptr;
}

QModelIndex ObjectTreeModel::IndexFromNode(const ObjectNode* node) const {
    return node != nullptr ? createIndex(node->Row(), 0, const_cast<ObjectNode*>(node))
                           : QModelIndex();
}

ObjectNode* ObjectTreeModel::Append(ObjectNode* parent, TNodeData data) {
    const int row = static_cast<int>(m_tree.ChildrenOf(parent).size());
    beginInsertRows(IndexFromNode(parent), row, row);
    ObjectNode* node = m_tree.Append(parent, std::move(data));
    endInsertRows();
    return node;
}

ObjectNode* ObjectTreeModel::InsertAfter(ObjectNode* sibling, TNodeData data) {
    if (sibling == nullptr)
        return Append(nullptr, std::move(data));
    const int row = sibling->Row() + 1;
    beginInsertRows(IndexFromNode(sibling->Parent()), row, row);
    ObjectNode* node = m_tree.InsertAfter(sibling, std::move(data));
    endInsertRows();
    return node;
}

bool ObjectTreeModel::BeginMove(const ObjectNode* node, const ObjectNode* newParent, int row) {
    return beginMoveRows(IndexFromNode(node->Parent()), node->Row(), node->Row(),
                         IndexFromNode(newParent), row);
}

bool ObjectTreeModel::MoveBefore(ObjectNode* node, ObjectNode* target) {
    if (node == nullptr || target == nullptr || node->Contains(target))
        return false;
    if (!BeginMove(node, target->Parent(), target->Row()))
        return true;
    m_tree.MoveBefore(node, target);
    endMoveRows();
    return true;
}

bool ObjectTreeModel::MoveToLastChild(ObjectNode* node, ObjectNode* parent) {
    if (node == nullptr || (parent != nullptr && node->Contains(parent)))
        return false;
    if (!BeginMove(node, parent, static_cast<int>(m_tree.ChildrenOf(parent).size())))
        return true;
    m_tree.MoveToLastChild(node, parent);
    endMoveRows();
    return true;
}

void ObjectTreeModel::DeleteObjectTree(ObjectNode* node) {
    if (node == nullptr)
        return;
    m_deleting = node;
    beginRemoveRows(IndexFromNode(node->Parent()), node->Row(), node->Row());
    m_tree.DeleteObjectTree(node);
    m_deleting = nullptr;
    endRemoveRows();
}

bool ObjectTreeModel::IsBeingDeleted(const ObjectNode* node) const {
    return m_deleting != nullptr && node != nullptr && m_deleting->Contains(node);
}

void ObjectTreeModel::ClearObjectTree() {
    beginResetModel();
    m_tree.ClearObjectTree();
    endResetModel();
}

void ObjectTreeModel::Adopt(ObjectTree&& detached, ObjectNode* parent) {
    const int count = static_cast<int>(detached.TopLevel().size());
    if (count == 0)
        return;
    // Filling an empty tree: a reset is far cheaper for the views than a million inserted rows.
    if (parent == nullptr && m_tree.IsEmpty()) {
        beginResetModel();
        m_tree.Adopt(std::move(detached), nullptr);
        endResetModel();
        return;
    }
    const int first = static_cast<int>(m_tree.ChildrenOf(parent).size());
    beginInsertRows(IndexFromNode(parent), first, first + count - 1);
    m_tree.Adopt(std::move(detached), parent);
    endInsertRows();
}

void ObjectTreeModel::ApplyDiscChanges(DiscChanges&& changes,
                                       const std::unordered_set<const ObjectNode*>& leftOut) {
    std::unordered_set<const ObjectNode*> deleted;
    for (const ObjectNode* node : changes.Missing)
        if (!leftOut.contains(node))
            deleted.insert(node);
    // Objects that stay with a new path, type or action are shown afresh.
    std::vector<const ObjectNode*> changed;
    for (const DiscChanges::Renaming& renaming : changes.Renamed) {
        if (leftOut.contains(renaming.Object))
            deleted.insert(renaming.Object);
        else
            changed.push_back(renaming.Object);
    }
    for (const DiscChanges::Retyping& retyping : changes.Retyped)
        changed.push_back(retyping.Object);
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<const ObjectNode*> nodes;
    nodes.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& index : before)
        nodes.push_back(NodeFromIndex(index));
    tomlet::ApplyDiscChanges(m_tree, std::move(changes), leftOut);
    QModelIndexList after;
    after.reserve(before.size());
    for (const ObjectNode* node : nodes)
        after.append(deleted.contains(node) ? QModelIndex() : IndexFromNode(node));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
    for (const ObjectNode* node : changed)
        RefreshNode(node);
}

void ObjectTreeModel::SetRecord(ObjectNode* node, TNodeData data) {
    node->Data = std::move(data);
    RefreshNode(node);
}

void ObjectTreeModel::RefreshNode(const ObjectNode* node) {
    const QModelIndex index = IndexFromNode(node);
    Q_EMIT dataChanged(index, index);
}

QModelIndex ObjectTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    const auto& children = m_tree.ChildrenOf(NodeFromIndex(parent));
    if (row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, 0, children[static_cast<size_t>(row)]);
}

QModelIndex ObjectTreeModel::parent(const QModelIndex& child) const {
    const ObjectNode* node = NodeFromIndex(child);
    return node != nullptr ? IndexFromNode(node->Parent()) : QModelIndex();
}

int ObjectTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(m_tree.ChildrenOf(NodeFromIndex(parent)).size());
}

int ObjectTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool ObjectTreeModel::hasChildren(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return false;
    return !m_tree.ChildrenOf(NodeFromIndex(parent)).empty();
}

QVariant ObjectTreeModel::data(const QModelIndex& index, int role) const {
    const ObjectNode* node = NodeFromIndex(index);
    if (node == nullptr)
        return {};
    if (role == Qt::DisplayRole)
        return ToQString(node->Data.Caption);
    if (role == Qt::DecorationRole)
        return ObjectTypeIcon(node->Data.ObjectType);
    return {};
}

Qt::ItemFlags ObjectTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace tomlet
