#include "mainwindow/CompactToolbarStyle.h"

int CompactToolbarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_ToolBarFrameWidth || metric == PM_ToolBarItemMargin)
        return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize CompactToolbarStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                                            const QWidget* widget) const
{
    QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
    if (type == CT_ToolButton)
        size.setHeight(contents.height() + 2);
    return size;
}
