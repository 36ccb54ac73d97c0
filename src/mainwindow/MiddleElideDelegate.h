#pragma once

#include <QStyledItemDelegate>

// Draws a cell's text cut in the middle when it is too long, so that both ends stay readable: the
// start of a path and its file name.
class MiddleElideDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideMiddle;
    }
};
