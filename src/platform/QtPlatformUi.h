#pragma once

#include "platform/PlatformUi.h"

// The real boxes, dialogs and desktop services.
class QtPlatformUi : public PlatformUi
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
