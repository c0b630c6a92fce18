#pragma once

#include <QPersistentModelIndex>
#include <QPoint>
#include <QString>
#include <QTreeView>
#include <functional>

class QMenu;

namespace tomlet {

class ObjectNode;
class ObjectTreeModel;
class ObjectItemDelegate;

// The object tree as both views show it: icons by object type, the hover hint on a node's icon,
// Enter, double click and the drop of a dragged node reported to the window, and the context
// menu. The window decides what each does; the view changes no node.
class ObjectTreeView final : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ObjectTreeView)

public:
    // Builds the hint text of a node (parts separated by lone CRs).
    using HintBuilder = std::function<QString(const ObjectNode&)>;

    static constexpr int HintShowTime = 60000;  // milliseconds

    explicit ObjectTreeView(QWidget* parent = nullptr);
    ~ObjectTreeView() override;

    void setModel(QAbstractItemModel* model) override;
    ObjectTreeModel* Model() const;

    ObjectNode* NodeAt(const QModelIndex& index) const;
    ObjectNode* SelectedNode() const;
    // Makes `node` the current and only selected node and scrolls it into view.
    void SelectNode(const ObjectNode* node);
    // The node whose icon lies under `position` (viewport coordinates), or none.
    ObjectNode* NodeWithIconAt(const QPoint& position) const;
    // The icon's rectangle of the node at `index`, in viewport coordinates.
    QRect IconRect(const QModelIndex& index) const;

    // Dragging nodes within the tree: on in the editor view only.
    void SetNodeDragging(bool enabled);
    bool NodeDragging() const { return m_nodeDragging; }
    // Whether a drag from `source` may end in the tree: only the tree's own drags, of a tree of at
    // least two nodes, while dragging is on.
    bool AcceptsDragFrom(const QObject* source) const;
    // A drag from `source` ends at `position` (viewport coordinates): sends NodeDropped with the
    // node there, when the drag is the tree's own and dragging is on.
    void DropAt(const QObject* source, const QPoint& position, Qt::KeyboardModifiers modifiers);

    void SetHintBuilder(HintBuilder builder);
    // The node whose hint is set, and the hint's text; none and empty while no hint is set.
    ObjectNode* HintedNode() const;
    const QString& HintText() const { return m_hintText; }

    void SetContextMenu(QMenu* menu);

Q_SIGNALS:
    // Enter or Return in the tree; the key itself never does anything else.
    void EnterPressed(Qt::KeyboardModifiers modifiers);
    // Delete, Insert or F2 in the tree (the editor's keys for its commands); the tree itself
    // does nothing else with them.
    void EditingKeyPressed(Qt::Key key);
    // A double click anywhere in the tree, after the tree has expanded or collapsed the node.
    void DoubleClicked();
    // The selected node was dropped on `target` (none below the last node), with Ctrl held
    // when `withCtrl`.
    void NodeDropped(ObjectNode* target, bool withCtrl);

protected:
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void StartNodeDrag();
    void UpdateHint(const QPoint& position);
    void ResetHint();
    void OpenContextMenuAtCurrentNode();
    void ShowHint(const QHelpEvent& event);

    ObjectItemDelegate* m_delegate;
    QMenu* m_contextMenu = nullptr;
    HintBuilder m_hintBuilder;
    QPersistentModelIndex m_hintedNode;
    QString m_hintText;
    bool m_nodeDragging = false;
    bool m_dragPending = false;
    QPoint m_pressPosition;
};

// Lone CRs, CR LF pairs and lone LFs each become one line break; blanks are kept.
QString HintToRichText(const QString& hint);

}  // namespace tomlet
