#include "platform/Platform.h"

#include "platform/ConsoleUi.h"

namespace {
PlatformUi* g_ui = nullptr;
}

PlatformUi& Ui()
{
    static ConsoleUi console;
    return g_ui ? *g_ui : console;
}

void SetUi(PlatformUi* ui)
{
    g_ui = ui;
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    return Ui().MsgBox(prompt, style, title.isEmpty() ? kAppTitle : title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return Ui().InputBox(prompt, title, defaultText);
}
