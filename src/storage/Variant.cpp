#include "storage/Variant.h"

Variant Variant::null()
{
    Variant v;
    v.m_value = NullValue {};
    return v;
}

QString Variant::toText() const
{
    switch (type()) {
    case Type::Integer:
        return QString::number(std::get<qint64>(m_value));
    case Type::Real:
        return QString::number(std::get<double>(m_value), 'g', 15);
    case Type::Text:
        return std::get<QString>(m_value);
    case Type::Blob:
        return QString::fromUtf8(std::get<QByteArray>(m_value));
    default:
        return QString();
    }
}

std::optional<double> Variant::toNumber() const
{
    switch (type()) {
    case Type::Integer:
        return double(std::get<qint64>(m_value));
    case Type::Real:
        return std::get<double>(m_value);
    case Type::Text: {
        bool ok = false;
        const double value = std::get<QString>(m_value).trimmed().toDouble(&ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}
