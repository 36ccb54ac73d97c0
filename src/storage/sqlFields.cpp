#include "storage/sqlFields.h"

#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "storage/sqlField.h"

sqlFields::sqlFields() = default;
sqlFields::~sqlFields() = default;

int sqlFields::indexOf(const QString& key) const
{
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        if (m_members[i]->Name().compare(key, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

sqlField* sqlFields::Add(const QString& key)
{
    sqlField* added = nullptr;
    TrapBare([&] {
        if (indexOf(key) >= 0)
            throw AppError(QStringLiteral("The field '%1' is already in the collection").arg(key));
        m_members.push_back(std::make_unique<sqlField>(key));
        added = m_members.back().get();
    });
    return added;
}

sqlField* sqlFields::Item(const QString& key) const
{
    sqlField* found = nullptr;
    TrapBare([&] {
        const int index = indexOf(key);
        if (index < 0)
            throw AppError(QStringLiteral("There is no field '%1' in the collection").arg(key));
        found = m_members[std::size_t(index)].get();
    });
    return found;
}

sqlField* sqlFields::Item(int position) const
{
    sqlField* found = nullptr;
    TrapBare([&] {
        if (position < 1 || position > count())
            throw AppError(QStringLiteral("There is no field at position %1 in the collection").arg(position));
        found = m_members[std::size_t(position - 1)].get();
    });
    return found;
}

void sqlFields::Remove(int position)
{
    TrapBare([&] {
        if (position < 1 || position > count())
            throw AppError(QStringLiteral("There is no field at position %1 in the collection").arg(position));
        m_members.erase(m_members.begin() + (position - 1));
    });
}
