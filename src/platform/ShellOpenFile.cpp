#include "platform/ShellOpenFile.h"

#include "platform/HourGlass.h"
#include "platform/Platform.h"

QString ShellOpenMessage(int code)
{
    switch (code) {
    case 2:
        return QStringLiteral("File not found");
    case 3:
        return QStringLiteral("Path not found");
    case 5:
        return QStringLiteral("Access denied");
    case 11:
        return QStringLiteral("Bad file format");
    case 27:
        return QStringLiteral("Filename association is invalid or incomplete");
    case 31:
        return QStringLiteral("No application associated with filename extension");
    default:
        return QString();
    }
}

void ShellOpenFile(const QString& path)
{
    int code = 0;
    {
        // Finding the application asks the desktop, which can take a moment.
        HourGlass wait;
        code = Ui().ShellOpen(path);
    }
    const QString message = ShellOpenMessage(code);
    if (!message.isEmpty())
        MsgBox(message);
}
