#include "ui/tree/object_tree_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include "core/object_tree.h"
#include "support/tree_records.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {
namespace {

using testing::Outline;
using testing::Record;

class ObjectTreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        a = model.Append(nullptr, Record("A", otFolder));
        a1 = model.Append(a, Record("A1", otTextFile));
        a2 = model.Append(a, Record("A2", otFile));
        b = model.Append(nullptr, Record("B", otVirtualFolder));
        c = model.Append(nullptr, Record("C", otTextFile));
        view.setModel(&model);
        view.resize(320, 240);
        view.show();
        view.expandAll();
        view.SetHintBuilder([this](const ObjectNode& node) {
            ++hintsBuilt;
            return QString::fromStdString(node.Data.Caption + "\rline two");
        });
    }

    QModelIndex Index(const ObjectNode* node) const { return model.IndexFromNode(node); }
    QPoint IconCentre(const ObjectNode* node) const { return view.IconRect(Index(node)).center(); }
    QPoint LabelPoint(const ObjectNode* node) const {
        const QRect icon = view.IconRect(Index(node));
        return {icon.right() + 12, icon.center().y()};
    }
    void MoveMouse(const QPoint& position) {
        QMouseEvent move(QEvent::MouseMove, position, view.viewport()->mapToGlobal(position),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
    }
    void Select(const ObjectNode* node) {
        view.selectionModel()->setCurrentIndex(Index(node), QItemSelectionModel::ClearAndSelect);
    }

    ObjectTreeModel model;
    ObjectTreeView view;
    ObjectNode* a = nullptr;
    ObjectNode* a1 = nullptr;
    ObjectNode* a2 = nullptr;
    ObjectNode* b = nullptr;
    ObjectNode* c = nullptr;
    int hintsBuilt = 0;
};

TEST_F(ObjectTreeViewTest, SettingsOfTheTree) {
    EXPECT_EQ(view.objectName(), QStringLiteral("TreeView"));
    EXPECT_EQ(view.indentation(), 19);
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(view.IconRect(Index(a1)).size(), QSize(16, 16));
    const QPalette colours = view.palette();
    EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::Highlight),
              colours.color(QPalette::Active, QPalette::Highlight));
}

TEST_F(ObjectTreeViewTest, HintOnTheIconOnlyAndRebuiltPerVisit) {
    MoveMouse(LabelPoint(a1));
    EXPECT_EQ(view.HintedNode(), nullptr);
    EXPECT_TRUE(view.HintText().isEmpty());

    MoveMouse(IconCentre(a1));
    EXPECT_EQ(view.HintedNode(), a1);
    EXPECT_EQ(view.HintText(), QStringLiteral("A1\rline two"));
    MoveMouse(IconCentre(a1) + QPoint(1, 1));
    EXPECT_EQ(hintsBuilt, 1);

    // Straight onto another icon: the old hint goes first, the next move builds the new one.
    MoveMouse(IconCentre(a2));
    EXPECT_EQ(view.HintedNode(), nullptr);
    EXPECT_TRUE(view.HintText().isEmpty());
    MoveMouse(IconCentre(a2));
    EXPECT_EQ(view.HintedNode(), a2);

    // A change made while the hint is set shows on the next visit.
    model.SetRecord(a2, Record("A2 renamed", otFile));
    MoveMouse(LabelPoint(a2));
    EXPECT_EQ(view.HintedNode(), nullptr);
    MoveMouse(IconCentre(a2));
    EXPECT_EQ(view.HintText(), QStringLiteral("A2 renamed\rline two"));
    EXPECT_EQ(hintsBuilt, 3);
}

TEST_F(ObjectTreeViewTest, HintShowsItsLinesAsLineBreaks) {
    MoveMouse(IconCentre(c));
    QHelpEvent help(QEvent::ToolTip, IconCentre(c), view.viewport()->mapToGlobal(IconCentre(c)));
    QApplication::sendEvent(view.viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("C<br>line two")))
        << QToolTip::text().toStdString();
    QToolTip::hideText();

    EXPECT_EQ(HintToRichText(QStringLiteral(" a <b>\rc\r\nd\ne  f")),
              QStringLiteral("<p style=\"white-space:pre\"> a &lt;b&gt;<br>c<br>d<br>e  f</p>"));
}

TEST_F(ObjectTreeViewTest, EnterIsReportedWithItsModifiersAndDoesNothingElse) {
    QSignalSpy enter(&view, &ObjectTreeView::EnterPressed);
    QSignalSpy activated(&view, &QAbstractItemView::activated);
    Select(b);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_Enter, Qt::ControlModifier);
    ASSERT_EQ(enter.size(), 2);
    EXPECT_EQ(enter[0][0].value<Qt::KeyboardModifiers>(), Qt::NoModifier);
    EXPECT_TRUE(enter[1][0].value<Qt::KeyboardModifiers>().testFlag(Qt::ControlModifier));
    EXPECT_EQ(activated.size(), 0);
}

TEST_F(ObjectTreeViewTest, DoubleClickFoldsTheFolderAndIsReported) {
    QSignalSpy doubleClicked(&view, &ObjectTreeView::DoubleClicked);
    const QPoint label = LabelPoint(a);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, label);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, label);
    EXPECT_EQ(doubleClicked.size(), 1);
    EXPECT_FALSE(view.isExpanded(Index(a)));
    EXPECT_EQ(view.SelectedNode(), a);
}

TEST_F(ObjectTreeViewTest, RightClickSelects) {
    Select(a);
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, LabelPoint(c));
    EXPECT_EQ(view.SelectedNode(), c);
}

TEST_F(ObjectTreeViewTest, DragsAreAcceptedFromTheTreeItselfInTheEditorOnly) {
    EXPECT_FALSE(view.AcceptsDragFrom(&view));  // dragging is off, as in the browser view
    view.SetNodeDragging(true);
    EXPECT_TRUE(view.AcceptsDragFrom(&view));
    EXPECT_FALSE(view.AcceptsDragFrom(nullptr));
    QWidget other;
    EXPECT_FALSE(view.AcceptsDragFrom(&other));

    model.ClearObjectTree();
    model.Append(nullptr, Record("Only", otFile));
    EXPECT_FALSE(view.AcceptsDragFrom(&view));
}

// The view changes nothing itself: it names the node under the drop, and whether Ctrl was held.
TEST_F(ObjectTreeViewTest, ADropOfTheTreesOwnDragNamesTheNodeUnderIt) {
    QSignalSpy dropped(&view, &ObjectTreeView::NodeDropped);
    view.DropAt(&view, LabelPoint(a2), Qt::NoModifier);  // dragging is off
    view.SetNodeDragging(true);
    view.DropAt(nullptr, LabelPoint(a2), Qt::NoModifier);
    QMimeData data;
    data.setText(QStringLiteral("from elsewhere"));
    QDropEvent foreign(LabelPoint(a1), Qt::MoveAction, &data, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(view.viewport(), &foreign);
    EXPECT_FALSE(foreign.isAccepted());
    EXPECT_TRUE(dropped.isEmpty());

    view.DropAt(&view, LabelPoint(a2), Qt::NoModifier);
    view.DropAt(&view, LabelPoint(b), Qt::ControlModifier);
    view.DropAt(&view, QPoint(5, view.viewport()->height() - 2), Qt::NoModifier);
    ASSERT_EQ(dropped.size(), 3);
    const auto target = [&](int drop) { return dropped[drop][0].value<ObjectNode*>(); };
    EXPECT_EQ(target(0), a2);
    EXPECT_FALSE(dropped[0][1].toBool());
    EXPECT_EQ(target(1), b);
    EXPECT_TRUE(dropped[1][1].toBool());
    EXPECT_EQ(target(2), nullptr);
    EXPECT_EQ(Outline(model.Tree()), "A0 A11 A21 B0 C0");
}

// Drag and drop needs a real window system: run with QT_QPA_PLATFORM=xcb under Xvfb.
TEST_F(ObjectTreeViewTest, RealMouseDragsReachTheirDrop) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "needs the xcb platform";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.SetNodeDragging(true);
    QSignalSpy dropped(&view, &ObjectTreeView::NodeDropped);
    QWindow* window = view.window()->windowHandle();
    const auto drag = [&](const ObjectNode* moved, const ObjectNode* target,
                          Qt::KeyboardModifiers modifiers) {
        const QPoint from = view.viewport()->mapTo(&view, LabelPoint(moved));
        const QPoint to = view.viewport()->mapTo(&view, LabelPoint(target));
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        // The drag runs its own event loop: the rest of the gesture comes from timers.
        QTimer::singleShot(100, &view, [&] {
            QTest::mouseMove(window, to - QPoint(0, 3));
            QTest::mouseMove(window, to);
            if (modifiers != Qt::NoModifier)
                QTest::keyPress(window, Qt::Key_Control, modifiers);
            QTimer::singleShot(100, &view, [&] {
                QTest::mouseRelease(window, Qt::LeftButton, modifiers, to);
                if (modifiers != Qt::NoModifier)
                    QTest::keyRelease(window, Qt::Key_Control);
            });
        });
        QTest::mouseMove(window, from + QPoint(0, QApplication::startDragDistance() + 2));
        QTest::qWait(300);
    };

    drag(c, a2, Qt::NoModifier);
    EXPECT_EQ(view.SelectedNode(), c);
    drag(a1, b, Qt::ControlModifier);
    ASSERT_EQ(dropped.size(), 2);
    EXPECT_EQ(dropped[0][0].value<ObjectNode*>(), a2);
    EXPECT_FALSE(dropped[0][1].toBool());
    EXPECT_EQ(dropped[1][0].value<ObjectNode*>(), b);
    EXPECT_TRUE(dropped[1][1].toBool());
}

}  // namespace
}  // namespace tomlet
