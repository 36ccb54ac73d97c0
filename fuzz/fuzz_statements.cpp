// Builds every statement that carries typed text from fuzzed texts and runs it on an in-memory
// copy of the delivered catalogue: the row it aims at holds exactly the text, and no other row of
// any table changes. A text the engine cannot take (one holding NUL) is refused and changes nothing.

#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/modSQLite.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

namespace {

#define CHECK(condition)                                                                                               \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #condition);                               \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

ScriptedUi* g_ui = nullptr;

// Every row of every table as text, in a fixed order, leaving out the rows the input aims at.
QStringList snapshot(const QString& skipDockey, const QString& skipCatkey)
{
    sqlite3* db = SQLiteConnection(Catalogue::Current().Connection().db());
    QStringList rows;
    for (const char* sql : {"SELECT dockey,quote(docref),quote(doctitle),quote(docpath),quote(catkey),quote(isoref) "
                            "FROM tbldocument ORDER BY rowid",
                            "SELECT catkey,quote(catname),quote(catorder) FROM tblcategory ORDER BY rowid",
                            "SELECT quote(init) FROM tblinit"}) {
        sqlite3_stmt* statement = nullptr;
        CHECK(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const QString key = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                                                  sqlite3_column_bytes(statement, 0));
            if (key == skipDockey || key == skipCatkey)
                continue;
            QString row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                row += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                         sqlite3_column_bytes(statement, c))
                    + QLatin1Char('|');
            rows << row;
        }
        sqlite3_finalize(statement);
    }
    return rows;
}

// The one row a query gives, by column name; an empty list when it gives none or several.
QStringList onlyRow(const QString& sql, const QStringList& columns)
{
    sqlRecordset rs;
    rs.OpenRecordset(sql, Catalogue::Current().Connection().db());
    QStringList row;
    if (rs.AtEOF())
        return row;
    for (const QString& column : columns)
        row << rs.Value(column).toText();
    rs.MoveNext();
    return rs.AtEOF() ? row : QStringList();
}

QString categoryName(const QString& catkey)
{
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectCategories(), Catalogue::Current().Connection().db());
    for (; !rs.AtEOF(); rs.MoveNext()) {
        if (rs.Value(QStringLiteral("catkey")).toText() == catkey)
            return rs.Value(QStringLiteral("catname")).toText();
    }
    return QStringLiteral("<missing>");
}

QString text(FuzzedDataProvider& data)
{
    const std::string bytes = data.ConsumeRandomLengthString(4096);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

bool holdsNul(const QStringList& texts)
{
    for (const QString& t : texts) {
        if (t.contains(QChar(u'\0')))
            return true;
    }
    return false;
}

// Runs the statement; with a NUL in a text it must be refused, otherwise it must run.
bool run(const QString& statement, const QStringList& texts)
{
    const bool ran = Catalogue::Current().Connection().Execute(statement);
    CHECK(ran != holdsNul(texts));
    return ran;
}

void documentRecord(FuzzedDataProvider& data)
{
    const QString ref = text(data), title = text(data), path = text(data), iso = text(data);
    const QString dockey = QStringLiteral("FUZZ-D-") + text(data);
    const QString catkey = QStringLiteral("FUZZ-C-") + text(data);
    const QStringList texts {ref, title, path, iso, dockey, catkey};
    const QStringList before = snapshot(dockey, catkey);
    const QStringList columns {"dockey", "docref", "doctitle", "docpath", "isoref"};
    if (!run(Sql::InsertDocument(dockey, ref, title, path, catkey, iso), texts)) {
        CHECK(snapshot(QString(), QString()) == before);
        return;
    }
    CHECK(onlyRow(Sql::SelectCategoryDocuments(catkey), columns) == (QStringList {dockey, ref, title, path, iso}));
    const QString ref2 = text(data), title2 = text(data), path2 = text(data), iso2 = text(data);
    if (run(Sql::UpdateDocument(dockey, ref2, title2, path2, iso2), {ref2, title2, path2, iso2}))
        CHECK(onlyRow(Sql::SelectCategoryDocuments(catkey), columns)
              == (QStringList {dockey, ref2, title2, path2, iso2}));
    const QString catkey2 = QStringLiteral("FUZZ-C2-") + text(data);
    if (run(Sql::UpdateDocumentCategory(catkey2, dockey), {catkey2}))
        CHECK(onlyRow(Sql::SelectCategoryDocuments(catkey2), {"dockey"}) == QStringList {dockey});
    CHECK(snapshot(dockey, catkey) == before);
    CHECK(Catalogue::Current().Connection().Execute(Sql::DeleteDocument(dockey)));
    CHECK(snapshot(QString(), QString()) == before);
}

void documentPath(FuzzedDataProvider& data)
{
    // The update reaches every record of the reference; a prefix keeps the delivered ones out of reach.
    const QString folder = text(data), stem = QStringLiteral("FUZZ-") + text(data), extension = text(data);
    const QString dockey = QStringLiteral("FUZZ-P-") + stem;
    const QString catkey = QStringLiteral("FUZZ-PC");
    const QStringList before = snapshot(dockey, catkey);
    if (!run(Sql::InsertDocument(dockey, stem, QString(), QString(), catkey, QString()), {stem}))
        return;
    if (run(Sql::UpdateDocumentPath(folder, stem, extension), {folder, stem, extension}))
        CHECK(onlyRow(Sql::SelectCategoryDocuments(catkey), {"docpath"}) == QStringList {folder + stem + extension});
    CHECK(snapshot(dockey, catkey) == before);
    CHECK(Catalogue::Current().Connection().Execute(Sql::DeleteDocument(dockey)));
}

void category(FuzzedDataProvider& data)
{
    const bool stripped = data.ConsumeBool();
    const QString name = stripped ? StripQuotes(text(data)) : text(data);
    const QString rename = stripped ? StripQuotes(text(data)) : text(data);
    const QString catkey = QStringLiteral("FUZZ-K-") + text(data);
    const QStringList before = snapshot(QString(), catkey);
    if (!run(Sql::InsertCategory(catkey, name), {name, catkey})) {
        CHECK(snapshot(QString(), QString()) == before);
        return;
    }
    CHECK(categoryName(catkey) == name);
    if (run(Sql::RenameCategory(catkey, rename), {rename}))
        CHECK(categoryName(catkey) == rename);
    CHECK(Catalogue::Current().Connection().Execute(Sql::UpdateCategoryOrder(data.ConsumeIntegral<int>(), catkey)));
    CHECK(snapshot(QString(), catkey) == before);
    CHECK(Catalogue::Current().Connection().Execute(Sql::DeleteCategoryDocuments(catkey)));
    CHECK(Catalogue::Current().Connection().Execute(Sql::DeleteCategory(catkey)));
    CHECK(snapshot(QString(), QString()) == before);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_ui = new ScriptedUi;
    CHECK(Catalogue::Open(QStringLiteral(":memory:")));
    // The delivered catalogue, copied into memory once; every input leaves it as it found it.
    sqlite3* source = nullptr;
    CHECK(sqlite3_open_v2(CADRELLE_TEST_CATALOGUE, &source, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK);
    sqlite3_backup* backup
        = sqlite3_backup_init(SQLiteConnection(Catalogue::Current().Connection().db()), "main", source, "main");
    CHECK(backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE);
    sqlite3_backup_finish(backup);
    sqlite3_close(source);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    switch (data.ConsumeIntegralInRange(0, 2)) {
    case 0:
        documentRecord(data);
        break;
    case 1:
        documentPath(data);
        break;
    default:
        category(data);
        break;
    }
    // Only refusals of NUL are ever told to the user.
    for (const ShownBox& box : std::as_const(g_ui->boxes))
        CHECK(box.prompt == QStringLiteral("The statement holds a NUL character"));
    g_ui->boxes.clear();
    return 0;
}
