#include "platform/Platform.h"

#include "platform/QtPlatformUi.h"

namespace {
PlatformUi* g_ui = nullptr;
}

PlatformUi& Ui()
{
    static QtPlatformUi qtUi;
    return g_ui ? *g_ui : qtUi;
}

void SetUi(PlatformUi* ui)
{
    g_ui = ui;
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    return Ui().MsgBox(prompt, style, title.isEmpty() ? kAppTitle : title);
}

QString InputBox(const QString& prompt, const QString& title)
{
    return Ui().InputBox(prompt, title);
}
