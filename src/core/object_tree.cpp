#include "core/object_tree.h"

#include <cassert>
#include <functional>
#include <iterator>
#include <unordered_set>
#include <utility>

namespace tomlet {

ObjectNode* ObjectNode::Parent() const {
    return m_parent != nullptr && !m_parent->m_isRoot ? m_parent : nullptr;
}

bool ObjectNode::Contains(const ObjectNode* node) const {
    for (; node != nullptr; node = node->m_parent)
        if (node == this)
            return true;
    return false;
}

NodePool::NodePool(NodePool&& other) noexcept
    : m_chunks(std::move(other.m_chunks)),
      m_usedInLastChunk(std::exchange(other.m_usedInLastChunk, ChunkSize)),
      m_free(std::move(other.m_free)) {
    other.Clear();
}

NodePool& NodePool::operator=(NodePool&& other) noexcept {
    if (this != &other) {
        m_chunks = std::move(other.m_chunks);
        m_usedInLastChunk = std::exchange(other.m_usedInLastChunk, ChunkSize);
        m_free = std::move(other.m_free);
        other.Clear();
    }
    return *this;
}

ObjectNode* NodePool::Allocate(TNodeData data) {
    ObjectNode* node;
    if (!m_free.empty()) {
        node = m_free.back();
        m_free.pop_back();
    } else {
        if (m_usedInLastChunk == ChunkSize) {
            m_chunks.push_back(std::make_unique<ObjectNode[]>(ChunkSize));
            m_usedInLastChunk = 0;
        }
        node = &m_chunks.back()[m_usedInLastChunk++];
    }
    node->Data = std::move(data);
    return node;
}

void NodePool::Free(ObjectNode* node) {
    node->Data = TNodeData{};
    node->m_children = {};
    node->m_parent = nullptr;
    node->m_row = 0;
    m_free.push_back(node);
}

void NodePool::Absorb(NodePool&& other) {
    if (m_chunks.empty()) {
        *this = std::move(other);
        other.Clear();
        return;
    }
    std::unique_ptr<ObjectNode[]> partial;
    const size_t partialUsed = other.m_usedInLastChunk;
    if (partialUsed < ChunkSize) {
        partial = std::move(other.m_chunks.back());
        other.m_chunks.pop_back();
    }
    const auto inPartial = [&](const ObjectNode* node) {
        const std::less<const ObjectNode*> before;
        return partial && !before(node, partial.get()) && before(node, partial.get() + partialUsed);
    };
    // Full chunks are taken whole; our partly used chunk stays last.
    m_chunks.insert(m_chunks.end() - 1, std::make_move_iterator(other.m_chunks.begin()),
                    std::make_move_iterator(other.m_chunks.end()));
    for (ObjectNode* node : other.m_free)
        if (!inPartial(node))
            m_free.push_back(node);
    // A node in use always has a parent (a node or a tree's hidden root); a freed one has none.
    for (size_t i = 0; partial && i < partialUsed; ++i)
        if (partial[i].m_parent != nullptr)
            Relocate(partial[i]);
    other.Clear();
}

void NodePool::Relocate(ObjectNode& node) {
    ObjectNode* moved = Allocate(std::move(node.Data));
    moved->m_parent = node.m_parent;
    moved->m_row = node.m_row;
    moved->m_children = std::move(node.m_children);
    moved->m_parent->m_children[static_cast<size_t>(moved->m_row)] = moved;
    for (ObjectNode* child : moved->m_children)
        child->m_parent = moved;
}

void NodePool::Clear() {
    m_chunks.clear();
    m_free.clear();
    m_usedInLastChunk = ChunkSize;
}

ObjectTree::ObjectTree() : m_root(std::make_unique<ObjectNode>()) { m_root->m_isRoot = true; }

ObjectTree::~ObjectTree() = default;

ObjectTree::ObjectTree(ObjectTree&& other) noexcept
    : m_pool(std::move(other.m_pool)),
      m_root(std::exchange(other.m_root, std::make_unique<ObjectNode>())),
      m_count(std::exchange(other.m_count, 0)) {
    other.m_root->m_isRoot = true;
}

ObjectTree& ObjectTree::operator=(ObjectTree&& other) noexcept {
    if (this != &other) {
        ObjectTree moved(std::move(other));
        std::swap(m_pool, moved.m_pool);
        std::swap(m_root, moved.m_root);
        std::swap(m_count, moved.m_count);
    }
    return *this;
}

const std::vector<ObjectNode*>& ObjectTree::ChildrenOf(const ObjectNode* parent) const {
    return parent != nullptr ? parent->m_children : m_root->m_children;
}

void ObjectTree::Renumber(ObjectNode* parent, size_t from) {
    auto& children = parent->m_children;
    for (size_t i = from; i < children.size(); ++i)
        children[i]->m_row = static_cast<int>(i);
}

void ObjectTree::Detach(ObjectNode* node) {
    auto& siblings = node->m_parent->m_children;
    const auto row = static_cast<size_t>(node->m_row);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(row));
    Renumber(node->m_parent, row);
    node->m_parent = nullptr;
}

void ObjectTree::Attach(ObjectNode* node, ObjectNode* parent, size_t position) {
    auto& siblings = parent->m_children;
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(position), node);
    node->m_parent = parent;
    Renumber(parent, position);
}

ObjectNode* ObjectTree::Append(ObjectNode* parent, TNodeData data) {
    ObjectNode* node = m_pool.Allocate(std::move(data));
    ObjectNode* slot = ParentSlot(parent);
    node->m_parent = slot;
    node->m_row = static_cast<int>(slot->m_children.size());
    slot->m_children.push_back(node);
    ++m_count;
    return node;
}

ObjectNode* ObjectTree::InsertAfter(ObjectNode* sibling, TNodeData data) {
    assert(sibling != nullptr);
    ObjectNode* node = m_pool.Allocate(std::move(data));
    Attach(node, sibling->m_parent, static_cast<size_t>(sibling->m_row) + 1);
    ++m_count;
    return node;
}

bool ObjectTree::MoveBefore(ObjectNode* node, ObjectNode* target) {
    if (node == nullptr || target == nullptr || node->Contains(target))
        return false;
    Detach(node);
    Attach(node, target->m_parent, static_cast<size_t>(target->m_row));
    return true;
}

bool ObjectTree::MoveToLastChild(ObjectNode* node, ObjectNode* parent) {
    if (node == nullptr || (parent != nullptr && node->Contains(parent)))
        return false;
    Detach(node);
    ObjectNode* slot = ParentSlot(parent);
    Attach(node, slot, slot->m_children.size());
    return true;
}

int ObjectTree::FreeSubtree(ObjectNode* node) {
    // Iterative, children before their parent, so that a very deep tree cannot exhaust the stack.
    int freed = 0;
    std::vector<ObjectNode*> pending{node};
    std::vector<ObjectNode*> order;
    while (!pending.empty()) {
        ObjectNode* current = pending.back();
        pending.pop_back();
        order.push_back(current);
        pending.insert(pending.end(), current->m_children.begin(), current->m_children.end());
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it, ++freed)
        m_pool.Free(*it);
    return freed;
}

void ObjectTree::DeleteObjectTree(ObjectNode* node) {
    if (node == nullptr)
        return;
    Detach(node);
    m_count -= FreeSubtree(node);
}

void ObjectTree::ClearObjectTree() {
    m_root->m_children.clear();
    m_pool.Clear();
    m_count = 0;
}

namespace {

// The children of `parent` once the removed nodes are gone: each removed child gives way to its
// own children, recursively, in order.
std::vector<ObjectNode*> SurvivingChildren(const ObjectNode* parent,
                                           const std::unordered_set<ObjectNode*>& removed) {
    std::vector<ObjectNode*> survivors;
    std::vector<std::pair<const std::vector<ObjectNode*>*, size_t>> pending{
        {&parent->Children(), 0}};
    while (!pending.empty()) {
        auto& [children, next] = pending.back();
        if (next == children->size()) {
            pending.pop_back();
            continue;
        }
        ObjectNode* child = (*children)[next++];
        if (removed.contains(child))
            pending.emplace_back(&child->Children(), 0);
        else
            survivors.push_back(child);
    }
    return survivors;
}

}  // namespace

void ObjectTree::DeleteObjects(std::span<ObjectNode* const> nodes) {
    const std::unordered_set<ObjectNode*> removed(nodes.begin(), nodes.end());
    // Each nearest ancestor that stays gets its children list rebuilt once.
    std::unordered_set<ObjectNode*> parents;
    for (const ObjectNode* node : removed) {
        ObjectNode* parent = node->m_parent;
        while (removed.contains(parent))
            parent = parent->m_parent;
        parents.insert(parent);
    }
    for (ObjectNode* parent : parents) {
        parent->m_children = SurvivingChildren(parent, removed);
        for (ObjectNode* child : parent->m_children)
            child->m_parent = parent;
        Renumber(parent, 0);
    }
    for (ObjectNode* node : removed)
        m_pool.Free(node);
    m_count -= static_cast<int>(removed.size());
}

void ObjectTree::Adopt(ObjectTree&& other, ObjectNode* parent) {
    if (&other == this)
        return;
    m_pool.Absorb(std::move(other.m_pool));  // first: it may move the adopted nodes
    ObjectNode* slot = ParentSlot(parent);
    auto& adopted = other.m_root->m_children;
    const size_t start = slot->m_children.size();
    slot->m_children.insert(slot->m_children.end(), adopted.begin(), adopted.end());
    for (size_t i = start; i < slot->m_children.size(); ++i) {
        slot->m_children[i]->m_parent = slot;
        slot->m_children[i]->m_row = static_cast<int>(i);
    }
    adopted.clear();
    m_count += std::exchange(other.m_count, 0);
}

void ObjectTree::AdoptAt(ObjectTree&& other, std::span<const NodePlace> places) {
    assert(places.size() == other.TopLevel().size());
    if (&other == this)
        return;
    const std::vector<ObjectNode*> adopted = std::exchange(other.m_root->m_children, {});
    for (size_t i = 0; i < adopted.size(); ++i) {
        const NodePlace& place = places[i];
        ObjectNode* slot = ParentSlot(place.Parent);
        assert(place.After == nullptr || place.After->m_parent == slot);
        const size_t position = place.After ? static_cast<size_t>(place.After->m_row) + 1 : 0;
        Attach(adopted[i], slot, position);
    }
    m_count += std::exchange(other.m_count, 0);
    m_pool.Absorb(std::move(other.m_pool));
}

ObjectNode* ObjectTree::First() const {
    return m_root->m_children.empty() ? nullptr : m_root->m_children.front();
}

bool ObjectTree::IsLastChild(const ObjectNode* node) {
    return static_cast<size_t>(node->m_row) + 1 == node->m_parent->m_children.size();
}

ObjectNode* ObjectTree::NextAfterSubtree(const ObjectNode* node) const {
    while (node != nullptr && IsLastChild(node))
        node = node->Parent();
    if (node == nullptr)
        return nullptr;
    return node->m_parent->m_children[static_cast<size_t>(node->m_row) + 1];
}

ObjectNode* ObjectTree::NextDepthFirst(const ObjectNode* node) const {
    if (node == nullptr)
        return nullptr;
    if (node->HasChildren())
        return node->m_children.front();
    return NextAfterSubtree(node);
}

int ObjectTree::AbsoluteIndex(const ObjectNode* node) const {
    int index = 0;
    for (const ObjectNode* current = First(); current != nullptr; ++index) {
        if (current == node)
            return index;
        // Skip whole subtrees that cannot hold the node.
        if (current->HasChildren() && !current->Contains(node)) {
            index += SubtreeSize(current) - 1;
            current = NextAfterSubtree(current);
        } else {
            current = NextDepthFirst(current);
        }
    }
    return -1;
}

ObjectNode* ObjectTree::AtAbsoluteIndex(int index) const {
    if (index < 0 || index >= m_count)
        return nullptr;
    ObjectNode* node = First();
    for (int i = 0; i < index && node != nullptr; ++i)
        node = NextDepthFirst(node);
    return node;
}

int ObjectTree::SubtreeSize(const ObjectNode* node) {
    int size = 0;
    const ObjectNode* end = node;
    std::vector<const ObjectNode*> pending{end};
    while (!pending.empty()) {
        const ObjectNode* current = pending.back();
        pending.pop_back();
        ++size;
        pending.insert(pending.end(), current->m_children.begin(), current->m_children.end());
    }
    return size;
}

int ObjectTree::Level(const ObjectNode* node) {
    int level = -1;
    for (; node != nullptr; node = node->Parent())
        ++level;
    return level;
}

}  // namespace tomlet
