#pragma once

#include <QList>
#include <QRect>

// The main window's place between runs in the settings store, section "Settings": "MainLeft",
// "MainTop", "MainWidth" and "MainHeight", the normal (not maximised) geometry in pixels, and
// "MainMaximised" (1 or 0).
class WindowPlaceSettings
{
public:
    struct Place
    {
        QRect geometry; // invalid: nothing usable was saved
        bool maximised = false;
    };

    static Place Saved();
    static void Save(const Place& place);

    // Where a window saved at geometry goes among the screens' available areas, the primary
    // screen's first: into the area that holds enough of its top edge to take hold of, moved and
    // shrunk as needed to lie wholly in it; centred on the first area when no area holds it, as when
    // the screen it was on is gone.
    static QRect OnScreen(const QRect& geometry, const QList<QRect>& areas);
};
