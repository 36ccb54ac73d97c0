#include "platform/LoginName.h"

#include <pwd.h>
#include <unistd.h>

QString LoginName()
{
    for (const char* variable : {"USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    const passwd* entry = getpwuid(getuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QStringLiteral("unknown");
}
