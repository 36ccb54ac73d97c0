#pragma once

#include "storage/Variant.h"

// One column of the current row of a recordset.
class sqlField
{
public:
    explicit sqlField(const QString& name) : m_name(name) { }
    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    const Variant& Value() const { return m_value; }
    void SetValue(const Variant& value) { m_value = value; }

private:
    QString m_name;
    Variant m_value;
};
