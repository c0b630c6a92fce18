#include "core/object_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tree_records.h"

namespace tomlet {
namespace {

using testing::Outline;
using testing::Record;

class ObjectTreeTest : public ::testing::Test {
protected:
    // A with children B (child D) and C, then a second root E.
    void SetUp() override {
        a = tree.Append(nullptr, Record("A"));
        b = tree.Append(a, Record("B"));
        d = tree.Append(b, Record("D"));
        c = tree.Append(a, Record("C"));
        e = tree.Append(nullptr, Record("E"));
    }

    ObjectTree tree;
    ObjectNode *a{}, *b{}, *c{}, *d{}, *e{};
};

TEST_F(ObjectTreeTest, WalksDepthFirstWithLevelsAndIndexes) {
    EXPECT_EQ(Outline(tree), "A0 B1 D2 C1 E0");
    EXPECT_EQ(tree.Count(), 5);
    const std::vector<ObjectNode*> order{a, b, d, c, e};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tree.AtAbsoluteIndex(i), order[static_cast<size_t>(i)]);
        EXPECT_EQ(tree.AbsoluteIndex(order[static_cast<size_t>(i)]), i);
    }
    EXPECT_EQ(tree.AtAbsoluteIndex(5), nullptr);
    EXPECT_EQ(tree.AtAbsoluteIndex(-1), nullptr);
    EXPECT_EQ(ObjectTree::Level(d), 2);
    EXPECT_EQ(d->Parent(), b);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(c->Row(), 1);
    EXPECT_EQ(e->Row(), 1);
}

TEST_F(ObjectTreeTest, DeletingASubtreeFreesItAndKeepsTheSiblingsDownToAnEmptyTree) {
    tree.Append(d, Record("F"));
    tree.Append(tree.TopLevel()[0]->Child(0)->Child(0)->Child(0), Record("G"));
    tree.DeleteObjectTree(b);
    EXPECT_EQ(Outline(tree), "A0 C1 E0");
    EXPECT_EQ(tree.Count(), 3);
    EXPECT_EQ(c->Row(), 0);

    tree.DeleteObjectTree(a);
    tree.DeleteObjectTree(e);
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_EQ(tree.First(), nullptr);
    EXPECT_EQ(Outline(tree), "");
}

TEST_F(ObjectTreeTest, ClearingEmptiesTheTreeAndFreedNodesAreReused) {
    tree.ClearObjectTree();
    EXPECT_TRUE(tree.IsEmpty());
    tree.ClearObjectTree();
    EXPECT_TRUE(tree.TopLevel().empty());
    ObjectNode* fresh = tree.Append(nullptr, Record("X"));
    EXPECT_TRUE(fresh->Children().empty());
    EXPECT_EQ(Outline(tree), "X0");
}

TEST_F(ObjectTreeTest, InsertAfterPutsTheNodeUnderTheSameParent) {
    tree.InsertAfter(b, Record("N"));
    tree.InsertAfter(e, Record("M"));
    EXPECT_EQ(Outline(tree), "A0 B1 D2 N1 C1 E0 M0");
    EXPECT_EQ(c->Row(), 2);
}

TEST_F(ObjectTreeTest, MovesCarryTheSubtree) {
    EXPECT_TRUE(tree.MoveBefore(b, e));
    EXPECT_EQ(Outline(tree), "A0 C1 B0 D1 E0");
    EXPECT_TRUE(tree.MoveToLastChild(a, e));
    EXPECT_EQ(Outline(tree), "B0 D1 E0 A1 C2");
    EXPECT_TRUE(tree.MoveToLastChild(e, nullptr));
    EXPECT_EQ(Outline(tree), "B0 D1 E0 A1 C2");
    EXPECT_EQ(tree.Count(), 5);
}

TEST_F(ObjectTreeTest, MovesIntoTheOwnSubtreeAreRefused) {
    EXPECT_FALSE(tree.MoveBefore(a, d));
    EXPECT_FALSE(tree.MoveToLastChild(a, b));
    EXPECT_FALSE(tree.MoveToLastChild(a, a));
    EXPECT_FALSE(tree.MoveBefore(b, b));
    EXPECT_EQ(Outline(tree), "A0 B1 D2 C1 E0");
}

TEST_F(ObjectTreeTest, AdoptingAttachesADetachedTreeInOrder) {
    ObjectTree built;
    ObjectNode* x = built.Append(nullptr, Record("X"));
    built.Append(x, Record("Y"));
    built.Append(nullptr, Record("Z"));
    tree.Adopt(std::move(built), b);
    EXPECT_TRUE(built.IsEmpty());
    EXPECT_EQ(Outline(tree), "A0 B1 D2 X2 Y3 Z2 C1 E0");
    EXPECT_EQ(tree.Count(), 8);
    x = b->Child(1);
    EXPECT_EQ(x->Parent(), b);
    EXPECT_EQ(x->Child(0)->Parent(), x);
    tree.DeleteObjectTree(x);
    EXPECT_EQ(Outline(tree), "A0 B1 D2 Z2 C1 E0");

    // Each at its own place: first under A, then after a node adopted before it.
    ObjectNode* p = built.Append(nullptr, Record("P"));
    built.Append(nullptr, Record("Q"));
    built.Append(nullptr, Record("R"));
    const NodePlace places[] = {{a, nullptr}, {a, p}, {nullptr, a}};
    tree.AdoptAt(std::move(built), places);
    EXPECT_TRUE(built.IsEmpty());
    EXPECT_EQ(Outline(tree), "A0 P1 Q1 B1 D2 Z2 C1 R0 E0");
    EXPECT_EQ(tree.Count(), 9);
}

TEST_F(ObjectTreeTest, DeletingObjectsAloneLetsTheirChildrenTakeTheirPlace) {
    tree.Append(d, Record("F"));
    tree.Append(e, Record("G"));
    const std::vector<ObjectNode*> removed{b, d, e};
    tree.DeleteObjects(removed);
    EXPECT_EQ(Outline(tree), "A0 F1 C1 G0");
    EXPECT_EQ(tree.Count(), 4);
    EXPECT_EQ(c->Row(), 1);
    EXPECT_EQ(tree.TopLevel()[1]->Row(), 1);
    EXPECT_EQ(tree.TopLevel()[1]->Parent(), nullptr);
}

// Scans are built apart and adopted; the partly used storage of each must not stay behind.
TEST_F(ObjectTreeTest, AdoptionsOfSmallTreesDeletedAgainHoldNoMoreMemory) {
    const size_t reserved = tree.ReservedNodes();
    for (int i = 0; i < 1000; ++i) {
        ObjectTree scanned;
        scanned.Append(scanned.Append(nullptr, Record("folder")), Record("file"));
        tree.Adopt(std::move(scanned), e);
        tree.DeleteObjectTree(e->Child(0));
    }
    EXPECT_EQ(tree.ReservedNodes(), reserved);
    EXPECT_EQ(Outline(tree), "A0 B1 D2 C1 E0");
}

// Trees are moved around (into results, out of them); what is left behind stays usable.
TEST_F(ObjectTreeTest, AMovedFromTreeCanBeFilledAndAdoptedAgain) {
    ObjectTree built;
    built.Append(nullptr, Record("X"));
    ObjectTree taken = std::move(built);
    tree.Adopt(std::move(built), nullptr);
    built.Append(nullptr, Record("Y"));
    tree.Adopt(std::move(built), nullptr);
    tree.Adopt(std::move(taken), nullptr);
    EXPECT_EQ(Outline(tree), "A0 B1 D2 C1 E0 Y0 X0");
}

TEST_F(ObjectTreeTest, AdoptingATreeLargerThanAChunkKeepsEveryLink) {
    ObjectTree built;
    ObjectNode* node = nullptr;
    for (int i = 0; i < 5000; ++i)  // more than one chunk, the last one partly used
        node = built.Append(i % 3 == 0 ? nullptr : node, Record("n" + std::to_string(i)));
    const std::string shape = Outline(built);
    tree.Adopt(std::move(built), nullptr);

    EXPECT_EQ(tree.Count(), 5005);
    EXPECT_EQ(Outline(tree), "A0 B1 D2 C1 E0 " + shape);
    tree.ForEachDepthFirst([&](const ObjectNode& each, int) {
        const auto& siblings = tree.ChildrenOf(each.Parent());
        ASSERT_EQ(siblings[static_cast<size_t>(each.Row())], &each);
        for (const ObjectNode* child : each.Children())
            ASSERT_EQ(child->Parent(), &each);
    });
}

TEST(ObjectTree, UnknownTypeAndActionValuesSurvive) {
    ObjectTree tree;
    TNodeData data = Record("odd", 200);
    data.ObjectAction = 99;
    ObjectNode* node = tree.Append(nullptr, data);
    EXPECT_EQ(node->Data.ObjectType, 200);
    EXPECT_EQ(node->Data.ObjectAction, 99);
    EXPECT_EQ(ObjectTypeDisplayName(200), "");
    EXPECT_EQ(ObjectTypeDisplayName(otWebPage), "Web-page");
    EXPECT_EQ(ObjectActionDisplayName(oaOpenByInternalViewer), "Open by internal viewer");
}

TEST(ObjectTree, AVeryDeepTreeIsWalkedAndFreedWithoutRecursion) {
    ObjectTree tree;
    ObjectNode* node = nullptr;
    for (int i = 0; i < 200000; ++i)
        node = tree.Append(node, Record("n"));
    int deepest = 0;
    tree.ForEachDepthFirst([&](const ObjectNode&, int level) { deepest = level; });
    EXPECT_EQ(deepest, 199999);
    tree.DeleteObjectTree(tree.First());
    EXPECT_TRUE(tree.IsEmpty());
}

}  // namespace
}  // namespace tomlet
