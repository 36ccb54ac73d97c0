#pragma once

#include <QStyledItemDelegate>

// Draws the list's cells: a text too long for its cell is cut as the column asks (a path in the
// middle, so that its start and its file name stay readable), and the current cell has no focus
// frame of its own, since the whole row is what is selected.
class RowDelegate : public QStyledItemDelegate
{
public:
    RowDelegate(Qt::TextElideMode elide, QObject* parent) : QStyledItemDelegate(parent), m_elide(elide) { }

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = m_elide;
        option->state &= ~QStyle::State_HasFocus;
    }

private:
    Qt::TextElideMode m_elide;
};
