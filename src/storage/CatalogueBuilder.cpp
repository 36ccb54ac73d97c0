#include "storage/CatalogueBuilder.h"

#include "storage/Statements.h"
#include "storage/modDB.h"
#include <QFile>
#include <QHash>
#include <QTextStream>
#include <filesystem>
#include <sqlite3.h>

namespace {

const char* kSchema = "CREATE TABLE tblcategory (catkey varchar PRIMARY KEY, catname varchar, catorder integer);"
                      "CREATE TABLE tbldocument (dockey varchar PRIMARY KEY, docref varchar, doctitle varchar,"
                      " docpath varchar, catkey varchar, isoref varchar);"
                      "CREATE TABLE tblinit (init integer);"
                      "CREATE INDEX idxdocumentcat ON tbldocument(catkey, docref);"
                      "CREATE INDEX idxdocumentref ON tbldocument(docref);"
                      "INSERT INTO tblinit VALUES(0);";

struct SeedRow
{
    QString docref, doctitle, category, isoref, file;
};

// The first run finds a template by its file name, which must be the reference followed by a dot
// and a three-letter extension; a reference listed twice would give one file two records.
bool checkRow(const SeedRow& row, const QList<SeedRow>& earlier, QString& error)
{
    const QString extension = row.file.mid(row.docref.size());
    if (row.docref.isEmpty() || !row.file.startsWith(row.docref) || extension.size() != 4
        || extension.front() != u'.') {
        error = QStringLiteral("the file of %1 must be named %1 and a three-letter extension, not '%2'")
                    .arg(row.docref, row.file);
        return false;
    }
    for (const SeedRow& other : earlier) {
        if (other.docref == row.docref) {
            error = QStringLiteral("%1 is listed twice").arg(row.docref);
            return false;
        }
    }
    return true;
}

bool readSeed(const QString& seedPath, QList<SeedRow>& rows, QString& error)
{
    QFile file(seedPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("Cannot read the seed file %1: %2").arg(seedPath, file.errorString());
        return false;
    }
    QTextStream in(&file);
    in.readLine(); // the heading line
    for (int line = 2; !in.atEnd(); ++line) {
        const QString text = in.readLine();
        if (text.trimmed().isEmpty())
            continue;
        const QStringList cells = text.split(QLatin1Char('\t'));
        if (cells.size() != 5) {
            error = QStringLiteral("%1:%2: expected 5 tab-separated cells").arg(seedPath).arg(line);
            return false;
        }
        const SeedRow row {cells[0], cells[1], cells[2], cells[3], cells[4]};
        if (!checkRow(row, rows, error)) {
            error = QStringLiteral("%1:%2: ").arg(seedPath).arg(line) + error;
            return false;
        }
        rows.append(row);
    }
    return true;
}

class Connection
{
public:
    explicit Connection(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    }
    ~Connection() { sqlite3_close(m_db); }
    bool run(const QString& sql, QString& error)
    {
        char* message = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
            return true;
        error = QString::fromUtf8(message ? message : sqlite3_errmsg(m_db)) + QStringLiteral(": ") + sql;
        sqlite3_free(message);
        return false;
    }

private:
    sqlite3* m_db = nullptr;
};

QString newKey(QString& error)
{
    const QString key = GetGUID();
    if (key.isEmpty())
        error = QStringLiteral("No key could be made");
    return key;
}

bool fill(Connection& db, const QList<SeedRow>& rows, QString& error)
{
    if (!db.run(QStringLiteral("BEGIN;") + QString::fromLatin1(kSchema), error))
        return false;
    QHash<QString, QString> keys;
    int order = 1;
    for (const QString& name : CatalogueBuilder::FreshCategories()) {
        keys[name] = newKey(error);
        if (keys[name].isEmpty())
            return false;
        if (!db.run(Sql::InsertCategoryAt(keys[name], name, order++), error))
            return false;
    }
    for (const SeedRow& row : rows) {
        if (!keys.contains(row.category)) {
            error = QStringLiteral("Unknown category '%1' for %2").arg(row.category, row.docref);
            return false;
        }
        const QString dockey = newKey(error);
        if (dockey.isEmpty())
            return false;
        const QString statement
            = Sql::InsertDocument(dockey, row.docref, row.doctitle, row.file, keys[row.category], row.isoref);
        if (!db.run(statement, error))
            return false;
    }
    return db.run(QStringLiteral("COMMIT"), error);
}

} // namespace

const QStringList& CatalogueBuilder::FreshCategories()
{
    static const QStringList names {
        QStringLiteral("QSM"),
        QStringLiteral("Policies"),
        QStringLiteral("Procedures"),
        QStringLiteral("Forms"),
        QStringLiteral("Work Instructions"),
        QStringLiteral("Management Reviews"),
        QStringLiteral("Internal Audits"),
        QStringLiteral("Customer Complaints"),
        QStringLiteral("Corrective Action"),
        QStringLiteral("Document Templates"),
    };
    return names;
}

bool CatalogueBuilder::Build(const QString& seedPath, const QString& dbPath, bool overwrite, QString& error)
{
    if (QFile::exists(dbPath) && !overwrite) {
        error = QStringLiteral("%1 exists already; it is kept").arg(dbPath);
        return false;
    }
    QList<SeedRow> rows;
    if (!readSeed(seedPath, rows, error))
        return false;
    // Built beside the target and moved into place, so no half-made catalogue is ever left there.
    const QString partial = dbPath + QStringLiteral(".partial");
    QFile::remove(partial);
    bool built;
    {
        Connection db(partial);
        built = fill(db, rows, error);
    }
    // Renaming replaces an old catalogue in one step: there is never a moment without one.
    std::error_code failure;
    if (built)
        std::filesystem::rename(QFile::encodeName(partial).constData(), QFile::encodeName(dbPath).constData(), failure);
    if (built && failure) {
        error = QStringLiteral("Cannot write %1: %2").arg(dbPath, QString::fromStdString(failure.message()));
        built = false;
    }
    QFile::remove(partial);
    return built;
}
