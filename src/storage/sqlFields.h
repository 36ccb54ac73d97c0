#pragma once

#include <QString>
#include <memory>
#include <vector>

class sqlField;

// The fields of a recordset's current row, in column order, found by name (case ignored) or by
// 1-based position. A failed lookup is told to the user and gives no field.
class sqlFields
{
public:
    sqlFields();
    ~sqlFields();

    // Appends a field under key; a key already present (case ignored) is refused.
    sqlField* Add(const QString& key);
    sqlField* Item(const QString& key) const;
    sqlField* Item(int position) const;
    int count() const { return int(m_members.size()); }
    void Remove(int position);

    auto begin() const { return m_members.begin(); }
    auto end() const { return m_members.end(); }

private:
    int indexOf(const QString& key) const;
    std::vector<std::unique_ptr<sqlField>> m_members;
};
