#include "mainwindow/ColumnWidthSettings.h"

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/Settings.h"
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

const QString kSection = QStringLiteral("Settings");

QString widthKey(int column)
{
    return QStringLiteral("C%1Width").arg(column + 1);
}

} // namespace

bool ColumnWidthSettings::Saved(int column)
{
    return !GetSetting(kAppTitle, kSection, widthKey(column)).isEmpty();
}

QList<int> ColumnWidthSettings::HiddenColumns()
{
    QList<int> columns;
    for (const QString& number : GetSetting(kAppTitle, kSection, QStringLiteral("HiddenColumns")).split(u',')) {
        bool ok = false;
        const int column = number.toInt(&ok);
        if (ok && column > kFirstColumn && column <= kLastControlColumn)
            columns << column;
    }
    return columns;
}

void ColumnWidthSettings::SaveHiddenColumns(const QList<int>& columns)
{
    QStringList numbers;
    for (int column : columns)
        numbers << QString::number(column);
    SaveSetting(kAppTitle, kSection, QStringLiteral("HiddenColumns"), numbers.join(u','));
}

double ColumnWidthSettings::Width(int column)
{
    bool ok = false;
    const float twips = QLocale().toFloat(GetSetting(kAppTitle, kSection, widthKey(column)), &ok);
    if (!ok)
        throw AppError(QStringLiteral("Type mismatch"));
    if (!std::isfinite(twips) || twips < 0 || twips > 15.0 * 0xFFFF)
        throw AppError(QStringLiteral("Invalid property value"));
    return twips;
}

void ColumnWidthSettings::Save(int column, double twips)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    SaveSetting(kAppTitle, kSection, widthKey(column), locale.toString(float(twips), 'g', 7));
}
