#pragma once

#include "platform/ConsoleUi.h"
#include <QStringList>

// The tool's interaction: the catalogue's messages are kept, not shown, so the tool can say what
// went wrong in one line of its own.
class CliUi : public ConsoleUi
{
public:
    CliUi();
    ~CliUi() override;
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    // Every message so far on one line, its line breaks as ": ".
    QString Told() const;

private:
    QStringList m_messages;
};
