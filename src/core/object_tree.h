#pragma once

#include <memory>
#include <span>
#include <vector>

#include "core/records.h"

namespace tomlet {

class ObjectTree;

// One node of the object tree. It owns its record for as long as it lives; the tree owns the
// node. Top-level nodes have no parent.
class ObjectNode final {
public:
    TNodeData Data;

    ObjectNode* Parent() const;
    int Row() const { return m_row; }
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    bool HasChildren() const { return !m_children.empty(); }
    ObjectNode* Child(int row) const { return m_children[static_cast<size_t>(row)]; }
    const std::vector<ObjectNode*>& Children() const { return m_children; }
    // True when `node` lies in this node's subtree (the node itself included).
    bool Contains(const ObjectNode* node) const;

private:
    friend class ObjectTree;
    friend class NodePool;

    ObjectNode* m_parent = nullptr;  // the tree's hidden root for top-level nodes
    std::vector<ObjectNode*> m_children;
    int m_row = 0;
    bool m_isRoot = false;
};

// Allocates nodes in chunks so that a large project costs few allocations and sits compactly in
// memory; freed nodes are reused.
class NodePool final {
public:
    NodePool() = default;
    // A moved-from pool is empty, and may be used again.
    NodePool(NodePool&& other) noexcept;
    NodePool& operator=(NodePool&& other) noexcept;

    ObjectNode* Allocate(TNodeData data);
    void Free(ObjectNode* node);
    // Takes over the nodes of `other`. Those in its partly used chunk move into this pool's
    // storage (their links follow them), so that absorbing many small pools keeps no unused
    // chunk tails.
    void Absorb(NodePool&& other);
    void Clear();
    // Nodes memory is held for, in use or not.
    size_t Reserved() const { return m_chunks.size() * ChunkSize; }

private:
    static constexpr size_t ChunkSize = 4096;
    void Relocate(ObjectNode& node);
    std::vector<std::unique_ptr<ObjectNode[]>> m_chunks;
    size_t m_usedInLastChunk = ChunkSize;
    std::vector<ObjectNode*> m_free;
};

// Where a node is attached: just after `After`, a child of `Parent`, or as the first child of
// `Parent` when `After` is nullptr. A nullptr `Parent` is the top level.
struct NodePlace {
    ObjectNode* Parent = nullptr;
    ObjectNode* After = nullptr;
};

// The project's objects: any number of top-level nodes, each with an ordered subtree. Depth-first
// order (a node, then its children's subtrees in order, then its next sibling) is the order of
// the project file and of absolute indexes.
class ObjectTree final {
public:
    ObjectTree();
    ~ObjectTree();
    ObjectTree(ObjectTree&& other) noexcept;
    ObjectTree& operator=(ObjectTree&& other) noexcept;
    ObjectTree(const ObjectTree&) = delete;
    ObjectTree& operator=(const ObjectTree&) = delete;

    int Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    const std::vector<ObjectNode*>& TopLevel() const { return m_root->m_children; }
    // The children of `parent`, or the top-level nodes for nullptr.
    const std::vector<ObjectNode*>& ChildrenOf(const ObjectNode* parent) const;

    // Appends a new node as the last child of `parent` (nullptr: the last top-level node).
    ObjectNode* Append(ObjectNode* parent, TNodeData data);
    // Inserts a new node just after `sibling`, under the same parent.
    ObjectNode* InsertAfter(ObjectNode* sibling, TNodeData data);

    // Moves `node` with its subtree to just before `target`, under the target's parent. Refused
    // (false, nothing changed) when the target lies in the node's own subtree.
    bool MoveBefore(ObjectNode* node, ObjectNode* target);
    // Moves `node` with its subtree to the end of `parent`'s children (nullptr: top level).
    // Refused when `parent` lies in the node's own subtree.
    bool MoveToLastChild(ObjectNode* node, ObjectNode* parent);

    // Removes the node with its whole subtree and frees every record in it.
    void DeleteObjectTree(ObjectNode* node);
    // Removes every node and frees every record.
    void ClearObjectTree();
    // Removes the given nodes alone and frees their records. The children of a removed node that
    // are not removed themselves take its place, in order.
    void DeleteObjects(std::span<ObjectNode* const> nodes);

    // Attaches every top-level node of `other` as the last children of `parent` (nullptr: the
    // top level), in order, and takes over their storage. `other` is left empty. Pointers to
    // nodes of `other` do not stay valid: some of them move (NodePool::Absorb).
    void Adopt(ObjectTree&& other, ObjectNode* parent);
    // Attaches the top-level nodes of `other` one by one, in order, the i-th at `places[i]` (one
    // place per node; a place may follow a node attached before it), and takes over their
    // storage. `other` is left empty. Pointers to nodes of `other` do not stay valid
    // afterwards, as with Adopt.
    void AdoptAt(ObjectTree&& other, std::span<const NodePlace> places);
    // Nodes the tree holds memory for, in use or free for reuse.
    size_t ReservedNodes() const { return m_pool.Reserved(); }

    // Depth-first walking.
    ObjectNode* First() const;
    ObjectNode* NextDepthFirst(const ObjectNode* node) const;
    // The node that follows the whole subtree of `node` in depth-first order.
    ObjectNode* NextAfterSubtree(const ObjectNode* node) const;
    int AbsoluteIndex(const ObjectNode* node) const;
    ObjectNode* AtAbsoluteIndex(int index) const;
    // Depth of the node: 0 for a top-level node.
    static int Level(const ObjectNode* node);
    // Number of nodes in the subtree of `node`, the node itself included.
    static int SubtreeSize(const ObjectNode* node);

    // Calls f(node, level) for every node in depth-first order.
    template <class F>
    void ForEachDepthFirst(F&& f) const {
        int level = 0;
        for (ObjectNode* node = First(); node != nullptr;) {
            f(*node, level);
            if (node->HasChildren()) {
                node = node->m_children.front();
                ++level;
                continue;
            }
            while (node != nullptr && IsLastChild(node)) {
                node = node->Parent();
                --level;
            }
            if (node != nullptr)
                node = node->m_parent->m_children[static_cast<size_t>(node->m_row) + 1];
        }
    }

private:
    static bool IsLastChild(const ObjectNode* node);
    ObjectNode* ParentSlot(ObjectNode* parent) const { return parent ? parent : m_root.get(); }
    static void Renumber(ObjectNode* parent, size_t from);
    static void Detach(ObjectNode* node);
    static void Attach(ObjectNode* node, ObjectNode* parent, size_t position);
    int FreeSubtree(ObjectNode* node);

    NodePool m_pool;
    std::unique_ptr<ObjectNode> m_root;
    int m_count = 0;
};

}  // namespace tomlet
