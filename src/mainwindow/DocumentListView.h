#pragma once

#include <QHash>
#include <QTableView>

class QHeaderView;

// The document list in report style: one row per record, whole rows selected one at a time, no
// editing in place. It tells its owner of presses, releases and double clicks anywhere in it, of the
// keys that act on the current row and of a context menu asked for, and lets a row be dragged out.
// The file column is cut in the middle, so the file name stays readable; the last column reaches
// the right edge. A table rather than a tree: a tree lays out every row of its model on each new
// list, and a category may hold a million.
class DocumentListView : public QTableView
{
    Q_OBJECT

public:
    explicit DocumentListView(QWidget* parent = nullptr);
    // The column headings.
    QHeaderView* header() const { return horizontalHeader(); }

    // Column widths in twips. A width given in twips is handed back unchanged for as long as the
    // column keeps the whole-pixel width it produced, so stored widths do not drift by rounding.
    void SetColumnWidthTwips(int column, double twips);
    double ColumnWidthTwips(int column) const;

    // The selected row, or -1 when none is selected.
    int SelectedRow() const;
    void SelectRow(int row);

signals:
    // Positions are in the list's own (viewport) coordinates.
    void MouseDown(const QPoint& pos);
    void MouseUp(const QPoint& pos);
    void DblClick();
    // A drag of a row has ended: dropped, refused or cancelled.
    void DragEnded();
    // Enter or Return, and Delete.
    void OpenKey();
    void DeleteKey();
    // A context menu at pos (viewport coordinates): where the mouse was, or the current row's
    // place when the keyboard asked.
    void ContextMenu(const QPoint& pos);

protected:
    // The cursor moves from row to row: Home and End go to the first and last row, and left and
    // right leave it where it is.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int rowHeight() const;
    QHash<int, double> m_twips;
};
