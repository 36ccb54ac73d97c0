#pragma once

#include <QProxyStyle>

// The toolbar is 52 pixels high by design, and each button shows a 32-pixel picture with its caption
// under it. The platform style's margins around the toolbar and inside each button would push the
// caption out of sight; this style keeps only a one-pixel frame so that picture, gap and caption fit.
class CompactToolbarStyle : public QProxyStyle
{
    Q_OBJECT

public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override;
};
