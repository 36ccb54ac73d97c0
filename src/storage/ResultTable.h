#pragma once

#include "storage/Variant.h"
#include <vector>

// The whole result of a query, addressed (column, row): row 0 holds the column names,
// rows 1 to rows() the values in the order the engine delivered them.
class ResultTable
{
public:
    void reset(int columns)
    {
        m_columns = columns;
        m_cells.clear();
    }
    int columns() const { return m_columns; }
    int rows() const { return m_columns == 0 ? 0 : int(m_cells.size() / m_columns) - 1; }
    const Variant& at(int column, int row) const { return m_cells[std::size_t(row) * m_columns + column]; }
    void append(Variant value) { m_cells.push_back(std::move(value)); }
    void reserveRows(int rows) { m_cells.reserve(std::size_t(rows + 1) * m_columns); }

private:
    int m_columns = 0;
    std::vector<Variant> m_cells;
};
