#include "storage/modDB.h"

#include "platform/ErrorTrap.h"
#include <QRandomGenerator>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The system's random source is asked for a few hundred keys at a time: an import makes one per row,
// and each call to it costs as much as filling a kilobyte.
bool systemGuid(GuidBytes& bytes)
{
    static std::array<quint32, 1024> pool;
    static std::size_t used = pool.size();
    constexpr std::size_t kWords = sizeof(GuidBytes) / sizeof(quint32);
    if (used + kWords > pool.size()) {
        QRandomGenerator::system()->fillRange(pool.data(), pool.size());
        used = 0;
    }
    std::memcpy(bytes.data(), pool.data() + used, sizeof(GuidBytes));
    used += kWords;
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

// Written digit by digit: an import makes a key for every row.
QString FormatGuid(const GuidBytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    QString key(36, QLatin1Char('-'));
    QChar* out = key.data();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            ++out; // past the dash of the 8-4-4-4-12 pattern
        *out++ = QLatin1Char(digits[bytes[i] >> 4]);
        *out++ = QLatin1Char(digits[bytes[i] & 0x0F]);
    }
    return key;
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

QStringList GetGUIDs(int count)
{
    QStringList keys;
    Trap("MMAIN1", [&] {
        std::vector<GuidBytes> made(std::size_t(std::max(count, 0)));
        for (GuidBytes& bytes : made) {
            if (!guidSource()(bytes)) {
                MsgBox(QStringLiteral("Error while creating GUID!"));
                return;
            }
        }
        // The bytes' order is their texts' order; compared as two big-endian numbers, a hundred
        // thousand sort in a few milliseconds.
        const auto number
            = [](const GuidBytes& bytes, std::size_t from) { return qFromBigEndian<quint64>(bytes.data() + from); };
        std::sort(made.begin(), made.end(), [&](const GuidBytes& a, const GuidBytes& b) {
            const quint64 highA = number(a, 0), highB = number(b, 0);
            return highA != highB ? highA < highB : number(a, 8) < number(b, 8);
        });
        keys.reserve(count);
        for (const GuidBytes& bytes : made)
            keys << FormatGuid(bytes);
    });
    return keys;
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
