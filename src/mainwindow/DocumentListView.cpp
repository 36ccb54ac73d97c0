#include "mainwindow/DocumentListView.h"

#include "mainwindow/DocumentListModel.h"
#include "mainwindow/RowDelegate.h"
#include "platform/Twips.h"
#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QMouseEvent>

DocumentListView::DocumentListView(QWidget* parent) : QTableView(parent)
{
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIconSize(QSize(16, 16));
    setSortingEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed); // rows are never asked for their size
    verticalHeader()->setDefaultSectionSize(rowHeight());
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setHighlightSections(false);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setMinimumSectionSize(0); // a column can be closed and dragged open again
    setItemDelegate(new RowDelegate(Qt::ElideRight, this));
    setItemDelegateForColumn(DocumentListModel::FileColumn, new RowDelegate(Qt::ElideMiddle, this));
}

// The height of a row with a 16-pixel picture and a line of text, as the style draws it.
int DocumentListView::rowHeight() const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasDisplay;
    option.decorationSize = iconSize();
    option.text = QStringLiteral("Xg");
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
}

QModelIndex DocumentListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    switch (action) {
    case MoveHome:
    case MoveEnd:
        return model()->index(action == MoveHome ? 0 : model()->rowCount() - 1, std::max(0, currentIndex().column()));
    case MoveLeft:
    case MoveRight:
    case MoveNext:
    case MovePrevious:
        return currentIndex();
    default:
        return QTableView::moveCursor(action, modifiers);
    }
}

void DocumentListView::SetColumnWidthTwips(int column, double twips)
{
    m_twips[column] = twips;
    header()->resizeSection(column, TwipsToPixels(twips));
}

double DocumentListView::ColumnWidthTwips(int column) const
{
    const int pixels = header()->sectionSize(column);
    const auto given = m_twips.constFind(column);
    if (given != m_twips.constEnd() && TwipsToPixels(*given) == pixels)
        return *given;
    return PixelsToTwips(pixels);
}

int DocumentListView::SelectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void DocumentListView::SelectRow(int row)
{
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void DocumentListView::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->position().toPoint());
    QTableView::mousePressEvent(event);
}

void DocumentListView::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event->position().toPoint());
    QTableView::mouseReleaseEvent(event);
}

void DocumentListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit DblClick();
}

// The drag carries the row's record key and a picture of its icon and reference, shown beside the
// pointer so that the category under it stays readable. A drop never removes the row here: the drop
// target refiles the record and reloads the list itself.
void DocumentListView::startDrag(Qt::DropActions)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    const QModelIndex first = model()->index(current.row(), 0);
    const QRect picture = visualRect(first).united(visualRect(model()->index(current.row(), 1)));
    auto* drag = new QDrag(this);
    drag->setMimeData(model()->mimeData({first}));
    drag->setPixmap(viewport()->grab(picture));
    drag->setHotSpot(QPoint(-16, -8));
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    emit DragEnded();
}

void DocumentListView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QTableView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit OpenKey();
        break;
    case Qt::Key_Delete:
        emit DeleteKey();
        break;
    default:
        QTableView::keyPressEvent(event);
    }
}

// The mouse's menu arrives through the viewport, in its coordinates; the keyboard's at the list itself.
void DocumentListView::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint pos = event->pos();
    if (event->reason() == QContextMenuEvent::Keyboard)
        pos = currentIndex().isValid() ? visualRect(currentIndex()).center() : viewport()->mapFrom(this, pos);
    emit ContextMenu(pos);
}
