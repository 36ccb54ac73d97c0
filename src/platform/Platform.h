#pragma once

#include "platform/PlatformUi.h"

// The application title that message boxes, settings and the about box carry.
inline const QString kAppTitle = QStringLiteral("Cadrelle");

// The interaction in use: the Qt one in the program (installed at its start), a scripted one in
// tests; without one, messages go to standard error.
PlatformUi& Ui();
// Installs another interaction (not owned); nullptr puts back the one without windows.
void SetUi(PlatformUi* ui);

// Shortcut for the message box with the application title when none is given.
int MsgBox(const QString& prompt, int style = MsgStyle::OkOnly, const QString& title = QString());
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText = QString());
