#pragma once

#include "platform/PlatformUi.h"

// The interaction of a program without windows: every message goes to standard error, questions
// get their first button, and nothing modal or on the desktop is shown.
class ConsoleUi : public PlatformUi
{
public:
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString OpenFileName(const QString& filter) override;
    QString SaveFileName(const QString& filter, const QString& suggested) override;
    QString FolderName(const QString& prompt) override;
    int ShowModal(QDialog& dialog) override;
    int ShellOpen(const QString& path) override;
};
