#pragma once

#include <QString>

// The per-user settings store: organisation and application "Cadrelle"; section is the group.
// GetSetting gives the empty text when nothing is stored under the key.
QString GetSetting(const QString& application, const QString& section, const QString& key);
void SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value);
