#include "ui/tree/object_tree_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <QStringList>

#include "core/disc_update.h"
#include "support/tree_records.h"
#include "ui/tree/object_icons.h"

namespace tomlet {
namespace {

using testing::Record;

// Collects the model tester's complaints, so that a broken notification fails the test.
class TesterWarnings final {
public:
    TesterWarnings() {
        Collected().clear();
        m_previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&,
                                               const QString& text) { Collected().append(text); });
    }
    ~TesterWarnings() { qInstallMessageHandler(m_previous); }
    static QStringList& Collected() {
        static QStringList texts;
        return texts;
    }

private:
    QtMessageHandler m_previous;
};

// Captions of a parent's children, in order.
QStringList Captions(const ObjectTreeModel& model, const QModelIndex& parent = {}) {
    QStringList captions;
    for (int row = 0; row < model.rowCount(parent); ++row)
        captions.append(model.index(row, 0, parent).data().toString());
    return captions;
}

class ObjectTreeModelTest : public ::testing::Test {
protected:
    // A root A with children B and C, B with child D, and a second root E.
    void BuildSample() {
        a = model.Append(nullptr, Record("A", otFolder));
        b = model.Append(a, Record("B", otFolder));
        c = model.Append(a, Record("C"));
        d = model.Append(b, Record("D"));
        e = model.Append(nullptr, Record("E"));
    }
    QModelIndex IndexOf(const ObjectNode* node) const { return model.IndexFromNode(node); }

    TesterWarnings warnings;
    ObjectTreeModel model;
    QAbstractItemModelTester tester{&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning};
    ObjectNode *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr, *e = nullptr;
};

TEST_F(ObjectTreeModelTest, EveryKindOfChangeKeepsTheModelConsistent) {
    BuildSample();
    model.InsertAfter(b, Record("B2"));
    EXPECT_TRUE(model.MoveBefore(e, b));
    EXPECT_TRUE(model.MoveToLastChild(d, nullptr));
    EXPECT_TRUE(model.MoveToLastChild(e, d));
    EXPECT_TRUE(model.MoveToLastChild(b, nullptr));
    model.SetRecord(c, Record("C renamed"));
    model.DeleteObjectTree(b);

    ObjectTree scanned;
    ObjectNode* folder = scanned.Append(nullptr, Record("scanned", otFolder));
    scanned.Append(folder, Record("inside"));
    model.Adopt(std::move(scanned), e);
    model.ClearObjectTree();

    EXPECT_TRUE(TesterWarnings::Collected().isEmpty())
        << TesterWarnings::Collected().join(u'\n').toStdString();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ObjectTreeModelTest, RowsFollowTheCoreTree) {
    BuildSample();
    EXPECT_EQ(Captions(model), (QStringList{u"A"_qs, u"E"_qs}));
    EXPECT_EQ(Captions(model, IndexOf(a)), (QStringList{u"B"_qs, u"C"_qs}));
    EXPECT_EQ(model.parent(IndexOf(d)), IndexOf(b));
    EXPECT_EQ(ObjectTreeModel::NodeFromIndex(model.index(1, 0, IndexOf(a))), c);
    EXPECT_FALSE(model.index(2, 0, IndexOf(a)).isValid());
    EXPECT_FALSE(model.hasChildren(IndexOf(c)));
}

TEST_F(ObjectTreeModelTest, EachRowShowsTheIconOfItsType) {
    BuildSample();
    const ObjectNode* odd = model.Append(nullptr, Record("Odd", 40));
    const auto picture = [&](const ObjectNode* node, QIcon::Mode mode) {
        return IndexOf(node).data(Qt::DecorationRole).value<QIcon>().pixmap(16, mode).toImage();
    };
    const auto typePicture = [](std::uint8_t type, QIcon::Mode mode) {
        return ObjectTypeIcon(type).pixmap(16, mode).toImage();
    };
    EXPECT_EQ(picture(a, QIcon::Normal), typePicture(otFolder, QIcon::Normal));
    EXPECT_EQ(picture(a, QIcon::Selected), typePicture(otFolder, QIcon::Selected));
    EXPECT_EQ(picture(odd, QIcon::Normal), typePicture(40, QIcon::Normal));
}

TEST_F(ObjectTreeModelTest, RefusedMovesChangeNothingAndSayNothing) {
    BuildSample();
    QSignalSpy aboutToMove(&model, &QAbstractItemModel::rowsAboutToBeMoved);
    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);

    EXPECT_FALSE(model.MoveBefore(a, d));       // into its own subtree
    EXPECT_FALSE(model.MoveToLastChild(a, b));  // under its own child
    EXPECT_FALSE(model.MoveBefore(b, b));       // onto itself
    EXPECT_TRUE(model.MoveBefore(b, c));        // already just before C
    EXPECT_TRUE(model.MoveToLastChild(c, a));   // already A's last child

    EXPECT_EQ(aboutToMove.count(), 0);
    EXPECT_EQ(layout.count(), 0);
    EXPECT_EQ(Captions(model), (QStringList{u"A"_qs, u"E"_qs}));
    EXPECT_EQ(Captions(model, IndexOf(a)), (QStringList{u"B"_qs, u"C"_qs}));
}

TEST_F(ObjectTreeModelTest, AMovedNodeKeepsItsPersistentIndexAndSubtree) {
    BuildSample();
    const QPersistentModelIndex moved(IndexOf(b));
    ASSERT_TRUE(model.MoveBefore(b, e));

    EXPECT_EQ(Captions(model), (QStringList{u"A"_qs, u"B"_qs, u"E"_qs}));
    EXPECT_EQ(moved.row(), 1);
    EXPECT_FALSE(moved.parent().isValid());
    EXPECT_EQ(Captions(model, moved), QStringList{u"D"_qs});
}

TEST_F(ObjectTreeModelTest, AdoptingIntoAnEmptyTreeResetsOnce) {
    ObjectTree loaded;
    for (int i = 0; i < 1000; ++i)
        loaded.Append(nullptr, Record("item " + std::to_string(i)));
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    model.Adopt(std::move(loaded), nullptr);

    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(model.index(999, 0).data().toString(), u"item 999"_qs);
    EXPECT_TRUE(loaded.IsEmpty());
}

TEST_F(ObjectTreeModelTest, AdoptingBelowANodeInsertsAllRowsInOneNotification) {
    BuildSample();
    ObjectTree scanned;
    scanned.Append(nullptr, Record("x"));
    scanned.Append(nullptr, Record("y"));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    model.Adopt(std::move(scanned), a);

    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][0].value<QModelIndex>(), IndexOf(a));
    EXPECT_EQ(inserted[0][1].toInt(), 2);
    EXPECT_EQ(inserted[0][2].toInt(), 3);
    EXPECT_EQ(Captions(model, IndexOf(a)), (QStringList{u"B"_qs, u"C"_qs, u"x"_qs, u"y"_qs}));
    EXPECT_EQ(model.Tree().Count(), 7);
}

TEST_F(ObjectTreeModelTest, ANewRecordShowsItsCaptionAtOnce) {
    BuildSample();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.SetRecord(d, Record("Папка"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<QModelIndex>(), IndexOf(d));
    EXPECT_EQ(IndexOf(d).data().toString(), QStringLiteral("Папка"));
}

TEST_F(ObjectTreeModelTest, DeletingANodeRemovesItsWholeSubtree) {
    BuildSample();
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.DeleteObjectTree(a);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(Captions(model), QStringList{u"E"_qs});
    EXPECT_EQ(model.Tree().Count(), 1);
}

TEST_F(ObjectTreeModelTest, AnUpdateFromDiscIsOneLayoutChangeThatKeepsTheKeptNodesIndexes) {
    BuildSample();
    DiscChanges changes;
    changes.New.Append(nullptr, Record("X"));
    changes.New.Append(nullptr, Record("Y"));
    changes.Places = {{a, b}, {nullptr, nullptr}};
    changes.Missing = {b, c};
    const QPersistentModelIndex deleted(IndexOf(b)), lifted(IndexOf(d)), leftOut(IndexOf(c)),
        last(IndexOf(e));
    QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    model.ApplyDiscChanges(std::move(changes), {c});

    EXPECT_EQ(layout.count(), 1);
    EXPECT_EQ(inserted.count() + removed.count() + reset.count(), 0);
    EXPECT_EQ(Captions(model), (QStringList{u"Y"_qs, u"A"_qs, u"E"_qs}));
    EXPECT_EQ(Captions(model, IndexOf(a)), (QStringList{u"D"_qs, u"X"_qs, u"C"_qs}));
    EXPECT_FALSE(deleted.isValid());
    EXPECT_EQ(lifted, IndexOf(d));
    EXPECT_EQ(leftOut, IndexOf(c));
    EXPECT_EQ(last.row(), 2);
    EXPECT_TRUE(TesterWarnings::Collected().isEmpty())
        << TesterWarnings::Collected().join(u'\n').toStdString();
}

}  // namespace
}  // namespace tomlet
