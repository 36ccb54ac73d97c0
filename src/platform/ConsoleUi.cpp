#include "platform/ConsoleUi.h"

#include <cstdio>

int ConsoleUi::MsgBox(const QString& prompt, int style, const QString&)
{
    std::fprintf(stderr, "%s\n", qPrintable(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral(": "))));
    return (style & 7) == MsgStyle::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

QString ConsoleUi::InputBox(const QString&, const QString&, const QString&)
{
    return QString();
}

QString ConsoleUi::OpenFileName(const QString&)
{
    return QString();
}

QString ConsoleUi::SaveFileName(const QString&, const QString&)
{
    return QString();
}

QString ConsoleUi::FolderName(const QString&)
{
    return QString();
}

int ConsoleUi::ShowModal(QDialog&)
{
    return 0;
}

int ConsoleUi::ShellOpen(const QString&)
{
    return 2; // nothing can be opened without a desktop: as a file not found
}
