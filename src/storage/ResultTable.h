#pragma once

#include "storage/Variant.h"
#include <memory>
#include <vector>

// The whole result of a query, or one batch of it, addressed (column, row): row 0 holds the column
// names, rows 1 to rows() the values in the order the engine delivered them. Texts and blobs are kept as
// the engine's bytes, one after another in blocks that are never moved, and become a value only
// when a cell is read: a clause listing reads every record of the catalogue but shows few of them,
// and a cell that is never read costs neither a string of its own nor the freeing of it.
class ResultTable
{
public:
    void reset(int columns);
    // Drops the rows but keeps the column names and the memory, for the next batch of a query
    // read a batch at a time.
    void clearRows();
    int columns() const { return m_columns; }
    int rows() const { return m_columns == 0 ? 0 : int(m_cells.size() / std::size_t(m_columns)) - 1; }
    // The value of a cell, made afresh on each call.
    Variant at(int column, int row) const;
    // A cell as a statement's value that compares equal to it: a text by its bytes, which need not
    // be UTF-8.
    QString literalAt(int column, int row) const;

    // Text as the engine's UTF-8 bytes, kept as they are.
    void appendText(const char* utf8, int size);
    void appendBlob(const void* bytes, int size);
    void appendInteger(qint64 value);
    void appendReal(double value);
    void appendNull();
    void reserveRows(int rows) { m_cells.reserve(std::size_t(rows + 1) * std::size_t(m_columns)); }

private:
    struct Cell
    {
        union {
            qint64 integer;
            double real;
            const char* bytes; // of a text or blob, in one of the blocks
        };
        int size = 0;
        Variant::Type type = Variant::Type::Empty;
    };
    void appendBytes(Variant::Type type, const char* bytes, int size);
    // A copy of the bytes that stays where it is for as long as the table holds its values.
    const char* keep(const char* bytes, int size);

    struct Block
    {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
    };

    int m_columns = 0;
    std::vector<Cell> m_cells;
    std::vector<Block> m_blocks;
    std::size_t m_block = 0; // the block being filled
    std::size_t m_blockUsed = 0;
    // Where the column names end, the place clearRows goes back to.
    std::size_t m_namesBlock = 0;
    std::size_t m_namesUsed = 0;
};
