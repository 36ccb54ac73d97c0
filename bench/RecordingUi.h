#pragma once

#include "platform/PlatformUi.h"
#include <QStringList>

// Stands in for the desktop while the driver runs: nothing modal is shown and no browser opens.
// Every message box is recorded, so a run that met an error can say so instead of timing it.
class RecordingUi : public PlatformUi
{
public:
    RecordingUi();
    ~RecordingUi() override;

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title) override;
    QString OpenFileName(const QString& filter) override;
    QString SaveFileName(const QString& filter) override;
    int ShowModal(QDialog& dialog) override;
    int ShellOpen(const QString& path) override;

    QStringList messages;
    QStringList shellOpened;
};
