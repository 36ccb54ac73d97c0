#include "storage/RegisterCsv.h"

#include "storage/TextFold.h"
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <csv.h>

namespace {

// The file as UTF-8 text: by its byte-order mark, else UTF-8 when it is valid UTF-8, else the
// code page of older spreadsheets.
QByteArray asUtf8(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) // the text after the mark, not copied: bytes outlive it
        return QByteArray::fromRawData(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return QString(utf16(bytes.mid(2))).toUtf8();
    }
    if (QByteArrayView(bytes).isValidUtf8())
        return bytes;
    return FromWindows1252(bytes.constData(), int(bytes.size())).toUtf8();
}

struct Reader
{
    RegisterCsv::Table* table;
    QStringList row;
    int line = 1; // the line the current row began on
    int lineAfter = 1; // the line after the row just ended
    static void field(void* bytes, size_t size, void* self)
    {
        auto* r = static_cast<Reader*>(self);
        const QUtf8StringView text(static_cast<const char*>(bytes), qsizetype(size));
        r->lineAfter += int(std::count(text.begin(), text.end(), '\n'));
        // A field as the one above it shares its text: a register repeats its categories, kinds and
        // statuses down the columns, and a large one would hold a copy of each.
        const qsizetype column = r->row.size();
        if (!r->table->rows.isEmpty() && column < r->table->rows.constLast().size()
            && QAnyStringView::equal(text, r->table->rows.constLast()[column]))
            r->row << r->table->rows.constLast()[column];
        else
            r->row << text.toString();
    }
    static void end(int, void* self)
    {
        auto* r = static_cast<Reader*>(self);
        if (r->table->header.isEmpty() && r->table->rows.isEmpty() && r->table->error.isEmpty())
            r->table->header = r->row;
        else {
            r->table->rows << std::move(r->row);
            r->table->lines << r->line;
        }
        r->row = QStringList();
        r->row.reserve(r->table->header.size()); // one allocation for a row's fields
        r->line = ++r->lineAfter;
    }
};

} // namespace

QString RegisterCsv::Quoted(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray quoted(utf8.size() * 2 + 2, Qt::Uninitialized);
    const size_t size = csv_write(quoted.data(), size_t(quoted.size()), utf8.constData(), size_t(utf8.size()));
    return QString::fromUtf8(quoted.constData(), qsizetype(size));
}

const QStringList& RegisterCsv::Fields()
{
    static const QStringList fields = {"ref",
                                       "title",
                                       "category",
                                       "clauses",
                                       "path",
                                       "kind",
                                       "revision",
                                       "status",
                                       "owner",
                                       "approved_by",
                                       "approved_on",
                                       "next_review",
                                       "review_months",
                                       "retention_months",
                                       "retention_ends",
                                       "issuer",
                                       "edition",
                                       "key"};
    return fields;
}

QByteArray RegisterCsv::Line(const QStringList& cells)
{
    QByteArray line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += ',';
        const QByteArray utf8 = cells[i].toUtf8();
        const qsizetype start = line.size();
        line.resize(start + utf8.size() * 2 + 2);
        const size_t size
            = csv_write(line.data() + start, size_t(utf8.size()) * 2 + 2, utf8.constData(), size_t(utf8.size()));
        line.resize(start + qsizetype(size));
    }
    return line + "\r\n";
}

RegisterCsv::Table RegisterCsv::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Table table;
        table.error = file.errorString();
        return table;
    }
    return Parse(file.readAll());
}

RegisterCsv::Table RegisterCsv::Parse(const QByteArray& bytes)
{
    Table table;
    const QByteArray text = asUtf8(bytes);
    if (text.contains('\0')) {
        table.error = QStringLiteral("it is not a text file");
        return table;
    }
    csv_parser parser;
    csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL);
    Reader reader {&table};
    if (csv_parse(&parser, text.constData(), size_t(text.size()), Reader::field, Reader::end, &reader)
            != size_t(text.size())
        || csv_fini(&parser, Reader::field, Reader::end, &reader) != 0)
        table.error = QStringLiteral("it is not valid CSV near line %1 (%2)")
                          .arg(reader.line)
                          .arg(QString::fromLatin1(csv_strerror(csv_error(&parser))));
    csv_free(&parser);
    if (table.error.isEmpty() && table.header.isEmpty())
        table.error = QStringLiteral("it holds no header row");
    return table;
}
