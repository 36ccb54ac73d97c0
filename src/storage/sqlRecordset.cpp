#include "storage/sqlRecordset.h"

#include "platform/AppError.h"
#include "platform/ErrorTrap.h"
#include "storage/modSQLite.h"
#include "storage/sqlField.h"
#include "storage/sqlFields.h"

sqlRecordset::sqlRecordset() : m_fields(std::make_unique<sqlFields>()) { }
sqlRecordset::~sqlRecordset() = default;

bool sqlRecordset::namesRepeat() const
{
    for (int i = 0; i < m_columnCount; ++i) {
        for (int j = i + 1; j < m_columnCount; ++j) {
            if (m_table.at(i, 0).toText().compare(m_table.at(j, 0).toText(), Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

void sqlRecordset::OpenRecordset(const QString& sql, int32_t db)
{
    TrapBare([&] {
        const QByteArray text = (sql + QLatin1Char(';')).toUtf8();
        if (PSSQLITE3_ExecuteDB(db, text, m_rowCount, m_columnCount, m_table, m_errorText) != 0) {
            MsgBox(m_errorText);
            return;
        }
        if (m_rowCount <= 0) {
            m_eof = true;
            return;
        }
        // Two columns of one name would leave a row with more values than fields.
        if (namesRepeat()) {
            m_table = ResultTable();
            m_rowCount = 0;
            MsgBox(QStringLiteral("The query returns a column name more than once: ") + sql);
            return;
        }
        for (int i = 0; i < m_columnCount; ++i)
            Fields().Add(m_table.at(i, 0).toText());
        m_currentRow = 1;
        m_eof = false;
        MoveNext();
    });
}

bool sqlRecordset::ReadInBatches(const QString& sql, int32_t db, const std::function<bool(const ResultTable&)>& read,
                                 int batchRows)
{
    const QByteArray text = (sql + QLatin1Char(';')).toUtf8();
    if (PSSQLITE3_ExecuteDBInBatches(db, text, batchRows, m_table, read, m_errorText) == 0)
        return true;
    MsgBox(m_errorText);
    return false;
}

void sqlRecordset::MoveFirst()
{
    m_currentRow = 1;
    m_eof = false;
    MoveNext();
}

void sqlRecordset::MoveNext()
{
    TrapBare([&] {
        if (m_currentRow > m_rowCount) {
            m_eof = true;
            return;
        }
        for (int i = 0; i < m_columnCount; ++i) {
            sqlField* field = Fields().Item(i + 1);
            if (!field)
                throw AppError(QStringLiteral("The row has more values than the recordset has fields"));
            field->SetValue(m_table.at(i, m_currentRow));
        }
        ++m_currentRow;
    });
}

sqlFields& sqlRecordset::Fields()
{
    if (!m_fields)
        m_fields = std::make_unique<sqlFields>();
    return *m_fields;
}

void sqlRecordset::CloseRecordset()
{
    TrapBare([&] {
        for (int position = Fields().count(); position >= 1; --position)
            Fields().Remove(position);
    });
}

Variant sqlRecordset::Value(const QString& column)
{
    sqlField* field = Fields().Item(column);
    if (!field)
        throw AppError(QStringLiteral("Object variable not set: no field '%1'").arg(column));
    return field->Value();
}
