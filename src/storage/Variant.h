#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

// A value as the database hands it over: nothing, null, an integer, a real, a text or a blob.
// Texts are QStrings so that copying a value from a result table into a field or a list row
// shares the characters instead of copying them.
class Variant
{
public:
    enum class Type
    {
        Empty,
        Null,
        Integer,
        Real,
        Text,
        Blob
    };

    Variant() = default;
    Variant(qint64 value) : m_value(value) { }
    Variant(int value) : m_value(qint64(value)) { }
    Variant(double value) : m_value(value) { }
    Variant(const QString& value) : m_value(value) { }
    Variant(QString&& value) : m_value(std::move(value)) { }
    Variant(const char* value) : m_value(QString::fromUtf8(value)) { }
    Variant(const QByteArray& blob) : m_value(blob) { }
    static Variant null();

    Type type() const { return static_cast<Type>(m_value.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }

    // The text a window shows: null and nothing give the empty text.
    QString toText() const;
    // The value as a number; a text converts when it holds one. No value when it cannot.
    std::optional<double> toNumber() const;

    bool operator==(const Variant& other) const { return m_value == other.m_value; }

private:
    struct NullValue
    {
        bool operator==(const NullValue&) const { return true; }
    };
    std::variant<std::monostate, NullValue, qint64, double, QString, QByteArray> m_value;
};
