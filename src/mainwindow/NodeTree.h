#pragma once

#include <QTreeWidget>

// A tree of keyed nodes (the key in Qt::UserRole of column 0). It reports a node click for a mouse
// click on a node, also on the node already selected, and for a node chosen with the keyboard.
// Set up as a drop target, it takes drags of one MIME type and only over a node. A tree whose node
// is not the one listed shows its selection in grey, so only one node looks current.
class NodeTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit NodeTree(QWidget* parent = nullptr);

    static QString Key(const QTreeWidgetItem* node);
    static void SetKey(QTreeWidgetItem* node, const QString& key);

    void AcceptDrops(const QString& mimeType);
    // Whether the list shows this tree's selected node.
    void SetListing(bool listing);

signals:
    void NodeClick(QTreeWidgetItem* node);
    // The drop point, in the tree's own (viewport) coordinates, and what the drag carried.
    void Dropped(const QPoint& pos, const QByteArray& data);
    // A context menu at pos (viewport coordinates): where the mouse was, or the current node's
    // place when the keyboard asked.
    void ContextMenu(const QPoint& pos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool takes(const QDropEvent* event) const;
    // Marks the node a drop would land on (nullptr: none).
    void markDropTarget(QTreeWidgetItem* node);
    QString m_mimeType;
    QPersistentModelIndex m_dropTarget;
};
