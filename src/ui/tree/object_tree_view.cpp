#include "ui/tree/object_tree_view.h"

#include <QApplication>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "core/object_tree.h"
#include "ui/tree/object_icons.h"
#include "ui/tree/object_tree_model.h"

namespace tomlet {

namespace {

// What a drag of a node carries: nothing but its origin, since the node moved is the selected one.
const QString NodeMimeType = QStringLiteral("application/x-tomlet-object");

}  // namespace

// Paints nodes as the default delegate does and knows where it puts their icons.
class ObjectItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QRect DecorationRect(QStyleOptionViewItem option, const QModelIndex& index) const {
        initStyleOption(&option, index);
        if (!(option.features & QStyleOptionViewItem::HasDecoration))
            return {};
        const QWidget* widget = option.widget;
        const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        return style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, widget);
    }
};

ObjectTreeView::ObjectTreeView(QWidget* parent)
    : QTreeView(parent), m_delegate(new ObjectItemDelegate(this)) {
    setObjectName(QStringLiteral("TreeView"));
    setItemDelegate(m_delegate);
    setHeaderHidden(true);
    setIndentation(19);
    setIconSize(QSize(16, 16));
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setDragDropMode(NoDragDrop);
    viewport()->setMouseTracking(true);
    // The selection stays as visible when the tree loses the focus.
    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);
}

ObjectTreeView::~ObjectTreeView() = default;

void ObjectTreeView::setModel(QAbstractItemModel* model) {
    ResetHint();
    QTreeView::setModel(model);
}

ObjectTreeModel* ObjectTreeView::Model() const {
    return qobject_cast<ObjectTreeModel*>(model());
}

ObjectNode* ObjectTreeView::NodeAt(const QModelIndex& index) const {
    const ObjectTreeModel* treeModel = Model();
    return treeModel != nullptr && index.isValid() ? treeModel->NodeFromIndex(index) : nullptr;
}

ObjectNode* ObjectTreeView::SelectedNode() const {
    return NodeAt(currentIndex());
}

void ObjectTreeView::SelectNode(const ObjectNode* node) {
    const ObjectTreeModel* treeModel = Model();
    if (treeModel == nullptr)
        return;
    const QModelIndex index = treeModel->IndexFromNode(node);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

QRect ObjectTreeView::IconRect(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return m_delegate->DecorationRect(option, index);
}

ObjectNode* ObjectTreeView::NodeWithIconAt(const QPoint& position) const {
    const QModelIndex index = indexAt(position);
    return IconRect(index).contains(position) ? NodeAt(index) : nullptr;
}

void ObjectTreeView::SetNodeDragging(bool enabled) {
    m_nodeDragging = enabled;
    m_dragPending = false;
    setAcceptDrops(enabled);
}

void ObjectTreeView::SetHintBuilder(HintBuilder builder) {
    m_hintBuilder = std::move(builder);
    ResetHint();
}

ObjectNode* ObjectTreeView::HintedNode() const {
    return NodeAt(m_hintedNode);
}

void ObjectTreeView::SetContextMenu(QMenu* menu) {
    m_contextMenu = menu;
}

bool ObjectTreeView::viewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::ToolTip:
            // The tree's own item tooltips are off; only the hover hint shows.
            ShowHint(*static_cast<QHelpEvent*>(event));
            return true;
        case QEvent::Leave:
            ResetHint();
            break;
        default:
            break;
    }
    return QTreeView::viewportEvent(event);
}

void ObjectTreeView::UpdateHint(const QPoint& position) {
    const QModelIndex index = indexAt(position);
    ObjectNode* node = IconRect(index).contains(position) ? NodeAt(index) : nullptr;
    if (node == nullptr) {
        ResetHint();
        return;
    }
    if (node == HintedNode())
        return;
    if (!m_hintText.isEmpty()) {
        // Another node's hint is still set: remove it first; the next move builds this one.
        ResetHint();
        return;
    }
    m_hintedNode = index;
    m_hintText = m_hintBuilder ? m_hintBuilder(*node) : QString();
}

void ObjectTreeView::ResetHint() {
    const bool wasSet = !m_hintText.isEmpty();
    m_hintedNode = QPersistentModelIndex();
    m_hintText.clear();
    if (wasSet && QToolTip::isVisible())
        QToolTip::hideText();
}

void ObjectTreeView::ShowHint(const QHelpEvent& event) {
    const QModelIndex index = indexAt(event.pos());
    if (m_hintText.isEmpty() || !m_hintedNode.isValid() || index != m_hintedNode) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event.globalPos(), HintToRichText(m_hintText), viewport(), IconRect(index),
                       HintShowTime);
}

void ObjectTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT EnterPressed(event->modifiers());
        return;
    }
    const auto key = static_cast<Qt::Key>(event->key());
    if (key == Qt::Key_Delete || key == Qt::Key_Insert || key == Qt::Key_F2) {
        event->accept();
        Q_EMIT EditingKeyPressed(key);
        return;
    }
    // The menu key opens the context menu by itself; Shift+F10 is its stand-in on every desktop.
    if (key == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        event->accept();
        OpenContextMenuAtCurrentNode();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ObjectTreeView::mousePressEvent(QMouseEvent* event) {
    m_dragPending = false;
    const QModelIndex index = indexAt(event->position().toPoint());
    QTreeView::mousePressEvent(event);
    if (!index.isValid())
        return;
    if (event->button() == Qt::RightButton && selectionModel() != nullptr)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    if (event->button() == Qt::LeftButton && m_nodeDragging) {
        m_dragPending = true;
        m_pressPosition = event->position().toPoint();
    }
}

void ObjectTreeView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    UpdateHint(position);
    if (m_dragPending && (event->buttons() & Qt::LeftButton)) {
        // Until the press becomes a drag, the selection does not follow the mouse.
        if ((position - m_pressPosition).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragPending = false;
            StartNodeDrag();
        }
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void ObjectTreeView::mouseReleaseEvent(QMouseEvent* event) {
    m_dragPending = false;
    QTreeView::mouseReleaseEvent(event);
}

void ObjectTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_dragPending = false;
    QTreeView::mouseDoubleClickEvent(event);
    Q_EMIT DoubleClicked();
}

void ObjectTreeView::contextMenuEvent(QContextMenuEvent* event) {
    if (m_contextMenu == nullptr)
        return;
    ResetHint();
    if (event->reason() == QContextMenuEvent::Keyboard)
        OpenContextMenuAtCurrentNode();
    else
        m_contextMenu->exec(event->globalPos());
}

// From the keyboard the menu opens below the current node, where the user is looking.
void ObjectTreeView::OpenContextMenuAtCurrentNode() {
    if (m_contextMenu == nullptr)
        return;
    ResetHint();
    const QRect node = visualRect(currentIndex());
    const QPoint place = node.isValid() ? node.bottomLeft() : QPoint(0, 0);
    m_contextMenu->exec(viewport()->mapToGlobal(place));
}

void ObjectTreeView::StartNodeDrag() {
    ObjectNode* node = SelectedNode();
    if (node == nullptr)
        return;
    ResetHint();
    auto* drag = new QDrag(this);
    auto* payload = new QMimeData;
    payload->setData(NodeMimeType, {});
    drag->setMimeData(payload);
    drag->setPixmap(ObjectTypeIcon(node->Data.ObjectType).pixmap(16));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

bool ObjectTreeView::AcceptsDragFrom(const QObject* source) const {
    const ObjectTreeModel* treeModel = Model();
    return m_nodeDragging && source == this && treeModel != nullptr &&
           treeModel->Tree().Count() >= 2;
}

void ObjectTreeView::DropAt(const QObject* source, const QPoint& position,
                            Qt::KeyboardModifiers modifiers) {
    if (source == this && m_nodeDragging)
        Q_EMIT NodeDropped(NodeAt(indexAt(position)), modifiers.testFlag(Qt::ControlModifier));
}

void ObjectTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDragFrom(event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ObjectTreeView::dragMoveEvent(QDragMoveEvent* event) {
    if (!AcceptsDragFrom(event->source())) {
        event->ignore();
        return;
    }
    // The base class scrolls the tree near its edges; whether the drag is accepted is ours.
    QTreeView::dragMoveEvent(event);
    event->acceptProposedAction();
}

void ObjectTreeView::dropEvent(QDropEvent* event) {
    if (event->source() != this) {
        event->ignore();
        return;
    }
    DropAt(event->source(), event->position().toPoint(), event->modifiers());
    // The window has moved the node; the drag must not remove anything at its source.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}

QString HintToRichText(const QString& hint) {
    QString lines = hint;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QString html = lines.toHtmlEscaped();
    html.replace(u'\n', QStringLiteral("<br>"));
    return QStringLiteral("<p style=\"white-space:pre\">") + html + QStringLiteral("</p>");
}

}  // namespace tomlet
