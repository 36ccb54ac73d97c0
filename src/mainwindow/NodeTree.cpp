#include "mainwindow/NodeTree.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>

NodeTree::NodeTree(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { emit NodeClick(node); });
}

QString NodeTree::Key(const QTreeWidgetItem* node)
{
    return node ? node->data(0, Qt::UserRole).toString() : QString();
}

void NodeTree::SetKey(QTreeWidgetItem* node, const QString& key)
{
    node->setData(0, Qt::UserRole, key);
}

void NodeTree::AcceptDrops(const QString& mimeType)
{
    m_mimeType = mimeType;
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
}

// Moving through the tree with the keys chooses a node as a click does.
void NodeTree::keyPressEvent(QKeyEvent* event)
{
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        emit NodeClick(currentItem());
}

bool NodeTree::takes(const QDropEvent* event) const
{
    return !m_mimeType.isEmpty() && event->mimeData() && event->mimeData()->hasFormat(m_mimeType);
}

void NodeTree::dragEnterEvent(QDragEnterEvent* event)
{
    if (!takes(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void NodeTree::markDropTarget(QTreeWidgetItem* node)
{
    if (QTreeWidgetItem* marked = itemFromIndex(m_dropTarget))
        marked->setData(0, Qt::BackgroundRole, QVariant());
    m_dropTarget = node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
    if (node)
        node->setBackground(0, QApplication::palette(this).color(QPalette::Highlight).lighter(170));
}

// Only a node takes the drop; the empty part of the tree shows the pointer that refuses it.
void NodeTree::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (!takes(event) || !node) {
        markDropTarget(nullptr);
        event->ignore();
        return;
    }
    markDropTarget(node);
    event->setDropAction(Qt::MoveAction);
    event->accept(visualItemRect(node));
}

void NodeTree::dragLeaveEvent(QDragLeaveEvent* event)
{
    markDropTarget(nullptr);
    event->accept();
}

void NodeTree::dropEvent(QDropEvent* event)
{
    markDropTarget(nullptr);
    if (!takes(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    emit Dropped(event->position().toPoint(), event->mimeData()->data(m_mimeType));
}

// The grey is the window's own colour a step darker, whatever the style's highlight is.
void NodeTree::SetListing(bool listing)
{
    QPalette colours = QApplication::palette(this);
    if (!listing) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            colours.setColor(group, QPalette::Highlight, colours.color(group, QPalette::Window).darker(118));
            colours.setColor(group, QPalette::HighlightedText, colours.color(group, QPalette::Text));
        }
    }
    setPalette(colours);
}

void NodeTree::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint pos = event->pos();
    if (event->reason() == QContextMenuEvent::Keyboard)
        pos = currentItem() ? visualItemRect(currentItem()).center() : viewport()->mapFrom(this, pos);
    emit ContextMenu(pos);
}
