#include "mainwindow/WindowPlaceSettings.h"

#include "platform/Platform.h"
#include "platform/Settings.h"
#include <QtGlobal>

namespace {

const QString kSection = QStringLiteral("Settings");
const char* const kKeys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

// The part of the top edge that must show: as much as a title bar needs to be grabbed.
constexpr int kTopEdgeHeight = 20;
constexpr int kTopEdgeWidth = 100;

} // namespace

WindowPlaceSettings::Place WindowPlaceSettings::Saved()
{
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = GetSetting(kAppTitle, kSection, QLatin1String(kKeys[i])).toInt(&ok);
        if (!ok)
            return {};
    }
    const QRect geometry(values[0], values[1], values[2], values[3]);
    if (geometry.width() <= 0 || geometry.height() <= 0)
        return {};
    return {geometry, GetSetting(kAppTitle, kSection, QStringLiteral("MainMaximised")) == QLatin1String("1")};
}

void WindowPlaceSettings::Save(const Place& place)
{
    const QRect& g = place.geometry;
    const int values[4] = {g.x(), g.y(), g.width(), g.height()};
    for (int i = 0; i < 4; ++i)
        SaveSetting(kAppTitle, kSection, QLatin1String(kKeys[i]), QString::number(values[i]));
    SaveSetting(kAppTitle, kSection, QStringLiteral("MainMaximised"),
                place.maximised ? QStringLiteral("1") : QStringLiteral("0"));
}

QRect WindowPlaceSettings::OnScreen(const QRect& geometry, const QList<QRect>& areas)
{
    if (areas.isEmpty())
        return geometry;
    const QRect topEdge(geometry.left(), geometry.top(), geometry.width(), kTopEdgeHeight);
    const QRect* home = nullptr;
    for (const QRect& area : areas) {
        const QRect shown = area.intersected(topEdge);
        if (shown.height() == kTopEdgeHeight && shown.width() >= qMin(kTopEdgeWidth, geometry.width())) {
            home = &area;
            break;
        }
    }
    const QRect& area = home ? *home : areas.first();
    QRect place(geometry.topLeft(), geometry.size().boundedTo(area.size()));
    if (!home)
        place.moveCenter(area.center());
    place.moveLeft(qBound(area.left(), place.left(), area.right() - place.width() + 1));
    place.moveTop(qBound(area.top(), place.top(), area.bottom() - place.height() + 1));
    return place;
}
