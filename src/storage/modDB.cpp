#include "storage/modDB.h"

#include "platform/ErrorTrap.h"
#include <QRandomGenerator>

namespace {

bool systemGuid(GuidBytes& bytes)
{
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    // A version 4 identifier laid out as in memory: Data3 is stored least significant byte first.
    bytes[7] = uint8_t((bytes[7] & 0x0F) | 0x40);
    bytes[8] = uint8_t((bytes[8] & 0x3F) | 0x80);
    return true;
}

GuidSource& guidSource()
{
    static GuidSource source = systemGuid;
    return source;
}

} // namespace

void SetGuidSource(GuidSource source)
{
    guidSource() = source ? std::move(source) : GuidSource(systemGuid);
}

QString FormatGuid(const GuidBytes& bytes)
{
    QString digits;
    digits.reserve(32);
    for (uint8_t byte : bytes)
        digits += QStringLiteral("%1").arg(uint(byte), 2, 16, QLatin1Char('0')).toUpper();
    return digits.left(8) + QLatin1Char('-') + digits.mid(8, 4) + QLatin1Char('-') + digits.mid(12, 4)
        + QLatin1Char('-') + digits.mid(16, 4) + QLatin1Char('-') + digits.mid(20, 12);
}

QString GetGUID()
{
    QString key;
    Trap("MMAIN1", [&] {
        GuidBytes bytes {};
        if (!guidSource()(bytes)) {
            MsgBox(QStringLiteral("Error while creating GUID!"));
            return;
        }
        key = FormatGuid(bytes);
    });
    return key;
}

QString StripQuotes(const QString& text)
{
    QString cleaned;
    Trap("MMAIN2", [&] {
        cleaned = text;
        cleaned.remove(QLatin1Char('\''));
        cleaned.remove(QLatin1Char('"'));
    });
    return cleaned;
}

QString SqlText(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return escaped;
}
