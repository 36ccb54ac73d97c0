// The catalogue the tool makes: its schema, its categories and keys, the first-run flag, and that
// it never replaces an existing file unless told to.

#include "storage/CatalogueBuilder.h"
#include "support/DirectSql.h"
#include "support/TestFolder.h"
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSeed = QStringLiteral(CADRELLE_SOURCE_DIR "/install/seed/documents.tsv");

// name:declared type:primary key, one entry per column in order. The engine spells some
// declared types in capitals; their meaning does not depend on case.
QStringList columns(const QString& db, const QString& table)
{
    QStringList shape;
    for (const QStringList& row : DirectQuery(db, QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        shape << row[1] + QLatin1Char(':') + row[2].toLower() + QLatin1Char(':') + row[5];
    return shape;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCatalogueTool : public QObject
{
    Q_OBJECT

private slots:
    void freshCatalogueHasTheDeclaredSchema()
    {
        TestFolder folder;
        const QString db = folder.dbPath();
        QCOMPARE(columns(db, QStringLiteral("tblcategory")),
                 QStringList({"catkey:varchar:1", "catname:varchar:0", "catorder:integer:0"}));
        QCOMPARE(columns(db, QStringLiteral("tbldocument")),
                 QStringList({"dockey:varchar:1", "docref:varchar:0", "doctitle:varchar:0", "docpath:varchar:0",
                              "catkey:varchar:0", "isoref:varchar:0"}));
        QCOMPARE(columns(db, QStringLiteral("tblinit")), QStringList({"init:integer:0"}));
        // Nothing beyond the three tables but the two lookup indexes.
        QCOMPARE(DirectQuery(db,
                             QStringLiteral("SELECT type, name, tbl_name FROM sqlite_master WHERE sql NOT NULL "
                                            "AND type <> 'table' ORDER BY name")),
                 QList<QStringList>(
                     {{"index", "idxdocumentcat", "tbldocument"}, {"index", "idxdocumentref", "tbldocument"}}));
        QCOMPARE(DirectQuery(db, QStringLiteral("SELECT init, typeof(init) FROM tblinit")),
                 QList<QStringList>({{"0", "integer"}}));
    }

    void categoriesComeInTheirOrderWithGuidKeys()
    {
        TestFolder folder;
        const QList<QStringList> rows
            = DirectQuery(folder.dbPath(),
                          QStringLiteral("SELECT catname, catorder, typeof(catorder), catkey FROM tblcategory "
                                         "ORDER BY catorder"));
        const QStringList names {"QSM",
                                 "Policies",
                                 "Procedures",
                                 "Forms",
                                 "Work Instructions",
                                 "Management Reviews",
                                 "Internal Audits",
                                 "Customer Complaints",
                                 "Corrective Action",
                                 "Document Templates"};
        QCOMPARE(rows.size(), names.size());
        const QRegularExpression guid(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
        QSet<QString> keys;
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].mid(0, 3), QStringList({names[i], QString::number(i + 1), "integer"}));
            keys.insert(rows[i][3]);
        }
        for (const QStringList& row : DirectQuery(folder.dbPath(), QStringLiteral("SELECT dockey FROM tbldocument")))
            keys.insert(row[0]);
        const int records = DirectValue(folder.dbPath(), QStringLiteral("SELECT count(*) FROM tbldocument")).toInt();
        QCOMPARE(keys.size(), names.size() + records);
        for (const QString& key : keys)
            QVERIFY2(guid.match(key).hasMatch(), qPrintable(key));
    }

    void existingFileIsKeptUnlessOverwriteIsAsked()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("cadrelle.db"));
        QFile::copy(QStringLiteral(CADRELLE_TEST_CATALOGUE), target);
        DirectExec(target, QStringLiteral("UPDATE tblinit SET init=1"));
        const QByteArray before = readAll(target);

        QString error;
        QVERIFY(!CatalogueBuilder::Build(kSeed, target, false, error));
        QCOMPARE(error, target + QStringLiteral(" exists already; it is kept"));
        QCOMPARE(readAll(target), before);

        QVERIFY2(CatalogueBuilder::Build(kSeed, target, true, error), qPrintable(error));
        QCOMPARE(DirectValue(target, QStringLiteral("SELECT init FROM tblinit")), QStringLiteral("0"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"cadrelle.db"});
    }

    void faultySeedLeavesNoFile_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("error");
        QTest::newRow("file not named after the reference")
            << QByteArray("QP01\tControl\tProcedures\t4.2.3\tQP1.rtf")
            << "the file of QP01 must be named QP01 and a three-letter extension, not 'QP1.rtf'";
        QTest::newRow("four-letter extension") << QByteArray("QP01\tControl\tProcedures\t4.2.3\tQP01.docx")
                                               << "the file of QP01 must be named QP01 and a three-letter "
                                                  "extension, not 'QP01.docx'";
        QTest::newRow("listed twice") << QByteArray("QM01\tAgain\tQSM\t4.1\tQM01.rtf") << "QM01 is listed twice";
        QTest::newRow("unknown category")
            << QByteArray("X01\tStray\tNowhere\t4.1\tX01.rtf") << "Unknown category 'Nowhere' for X01";
    }

    void faultySeedLeavesNoFile()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString seed = dir.filePath(QStringLiteral("seed.tsv"));
        QFile file(seed);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("docref\tdoctitle\tcategory\tisoref\tfile\nQM01\tManual\tQSM\t4.1\tQM01.rtf\n" + line + "\n");
        file.close();
        QString message;
        QVERIFY(!CatalogueBuilder::Build(seed, dir.filePath(QStringLiteral("cadrelle.db")), false, message));
        QVERIFY2(message.endsWith(error), qPrintable(message));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"seed.tsv"});
    }
};

QTEST_MAIN(TestCatalogueTool)
#include "tst_catalogue_tool.moc"
