#include "platform/Settings.h"

#include "platform/Platform.h"
#include <QSettings>

namespace {
QString storedText(const QVariant& value)
{
    return value.canConvert<QString>() ? value.toString() : QString();
}
} // namespace

QString GetSetting(const QString& application, const QString& section, const QString& key)
{
    QSettings settings(kAppTitle, application);
    return storedText(settings.value(section + QLatin1Char('/') + key));
}

void SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value)
{
    QSettings settings(kAppTitle, application);
    settings.setValue(section + QLatin1Char('/') + key, value);
}
