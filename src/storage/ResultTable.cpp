#include "storage/ResultTable.h"

#include "storage/TextFold.h"
#include <QStringDecoder>
#include <algorithm>
#include <cstring>

namespace {

// Small enough for the allocator to reuse from one query to the next.
constexpr std::size_t kBlockSize = 64 * 1024;

// Texts are UTF-8, but catalogues written by older tools hold 8-bit text in Windows-1252, the code
// page their first writer used; read as UTF-8 it would show, and be saved back, as replacement
// characters. QString::fromUtf8 drops a leading byte order mark; a stored text comes back with
// every character it was given, a pasted U+FEFF at its start included. Only such a text takes the
// decoder that keeps it: fromUtf8 is several times quicker, and every value of every listed row
// passes here.
QString storedText(const char* bytes, int size)
{
    if (!QByteArrayView(bytes, size).isValidUtf8())
        return FromWindows1252(bytes, size);
    if (size < 3 || std::memcmp(bytes, "\xEF\xBB\xBF", 3) != 0)
        return QString::fromUtf8(bytes, size);
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(bytes, size));
}

} // namespace

void ResultTable::reset(int columns)
{
    m_columns = columns;
    m_cells.clear();
    m_blocks.clear();
    m_block = 0;
    m_blockUsed = 0;
    m_namesBlock = 0;
    m_namesUsed = 0;
}

void ResultTable::clearRows()
{
    m_cells.resize(std::min(m_cells.size(), std::size_t(m_columns)));
    m_block = m_namesBlock;
    m_blockUsed = m_namesUsed;
}

Variant ResultTable::at(int column, int row) const
{
    const Cell& cell = m_cells[std::size_t(row) * std::size_t(m_columns) + std::size_t(column)];
    switch (cell.type) {
    case Variant::Type::Integer:
        return Variant(cell.integer);
    case Variant::Type::Real:
        return Variant(cell.real);
    case Variant::Type::Text:
        return Variant(storedText(cell.bytes, cell.size));
    case Variant::Type::Blob:
        return Variant(QByteArray(cell.bytes, cell.size));
    case Variant::Type::Null:
        return Variant::null();
    case Variant::Type::Empty:
        break;
    }
    return Variant();
}

QString ResultTable::literalAt(int column, int row) const
{
    const Cell& cell = m_cells[std::size_t(row) * std::size_t(m_columns) + std::size_t(column)];
    const auto hex = [&cell] { return QString::fromLatin1(QByteArray(cell.bytes, cell.size).toHex()); };
    switch (cell.type) {
    case Variant::Type::Integer:
        return QString::number(cell.integer);
    case Variant::Type::Real:
        return QString::number(cell.real, 'g', 17);
    case Variant::Type::Text:
        return QStringLiteral("CAST(X'") + hex() + QStringLiteral("' AS TEXT)");
    case Variant::Type::Blob:
        return QStringLiteral("X'") + hex() + QLatin1Char('\'');
    default:
        return QStringLiteral("NULL");
    }
}

const char* ResultTable::keep(const char* bytes, int size)
{
    const auto length = std::size_t(size);
    if (length == 0)
        return "";
    // The blocks a cleared table holds are filled again before new ones are made; a value longer
    // than a block gets one of its own.
    while (m_blocks.empty() || length > m_blocks[m_block].size - m_blockUsed) {
        m_blockUsed = 0;
        if (!m_blocks.empty() && m_block + 1 < m_blocks.size()) {
            ++m_block;
            continue;
        }
        const std::size_t blockSize = std::max(kBlockSize, length);
        m_blocks.push_back({std::make_unique_for_overwrite<char[]>(blockSize), blockSize});
        m_block = m_blocks.size() - 1;
    }
    char* kept = m_blocks[m_block].bytes.get() + m_blockUsed;
    std::memcpy(kept, bytes, length);
    m_blockUsed += length;
    return kept;
}

void ResultTable::appendBytes(Variant::Type type, const char* bytes, int size)
{
    Cell cell;
    cell.bytes = keep(bytes, size);
    cell.size = size;
    cell.type = type;
    m_cells.push_back(cell);
    if (m_cells.size() <= std::size_t(m_columns)) {
        m_namesBlock = m_block;
        m_namesUsed = m_blockUsed;
    }
}

void ResultTable::appendText(const char* utf8, int size)
{
    appendBytes(Variant::Type::Text, utf8, size);
}

void ResultTable::appendBlob(const void* bytes, int size)
{
    appendBytes(Variant::Type::Blob, static_cast<const char*>(bytes), size);
}

void ResultTable::appendInteger(qint64 value)
{
    Cell cell;
    cell.integer = value;
    cell.type = Variant::Type::Integer;
    m_cells.push_back(cell);
}

void ResultTable::appendReal(double value)
{
    Cell cell;
    cell.real = value;
    cell.type = Variant::Type::Real;
    m_cells.push_back(cell);
}

void ResultTable::appendNull()
{
    Cell cell;
    cell.type = Variant::Type::Null;
    m_cells.push_back(cell);
}
