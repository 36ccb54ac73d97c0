// The catalogue the tool makes: its schema, its categories and keys, the first-run flag, and that
// it never replaces an existing file unless told to.

#include "storage/CatalogueBuilder.h"
#include "support/DirectSql.h"
#include "support/TestFolder.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class TestCatalogueTool : public QObject
{
    Q_OBJECT

private slots:
    void freshCatalogueHasTheSchemaTheCategoriesAndGuidKeys()
    {
        TestFolder folder;
        const QString db = folder.dbPath();
        // Each table with its columns, their declared types (in any case) and its key; then the indexes.
        QCOMPARE(
            DirectValue(db,
                        "SELECT group_concat(t, '; ') FROM (SELECT m.name || '(' || group_concat(p.name || ' ' "
                        "|| lower(p.type) || iif(p.pk, ' key', ''), ', ') || ')' AS t FROM sqlite_master m, "
                        "pragma_table_info(m.name) p WHERE m.type = 'table' GROUP BY m.name ORDER BY m.name)"),
            QStringLiteral("tblcategory(catkey varchar key, catname varchar, catorder integer); tbldocument(dockey "
                           "varchar key, docref varchar, doctitle varchar, docpath varchar, catkey varchar, "
                           "isoref varchar); tblinit(init integer)"));
        QCOMPARE(DirectValue(db,
                             "SELECT group_concat(name || ' ' || type || ' on ' || tbl_name, '; ') FROM (SELECT * "
                             "FROM sqlite_master WHERE sql NOT NULL AND type <> 'table' ORDER BY name)"),
                 QStringLiteral("idxdocumentcat index on tbldocument; idxdocumentref index on tbldocument"));
        QCOMPARE(DirectValue(db, "SELECT group_concat(init || ' ' || typeof(init)) FROM tblinit"),
                 QStringLiteral("0 integer"));
        QCOMPARE(DirectValue(db,
                             "SELECT group_concat(catorder || ' ' || typeof(catorder) || ' ' || catname, ', ') "
                             "FROM (SELECT * FROM tblcategory ORDER BY catorder)"),
                 QStringLiteral("1 integer QSM, 2 integer Policies, 3 integer Procedures, 4 integer Forms, 5 integer "
                                "Work Instructions, 6 integer Management Reviews, 7 integer Internal Audits, 8 integer "
                                "Customer Complaints, 9 integer Corrective Action, 10 integer Document Templates"));
        const QString keys = "SELECT catkey AS k FROM tblcategory UNION ALL SELECT dockey FROM tbldocument";
        QCOMPARE(DirectValue(db, "SELECT count(DISTINCT k) = count(*) FROM (" + keys + ")"), QStringLiteral("1"));
        const QRegularExpression guid("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
        for (const QStringList& key : DirectQuery(db, keys))
            QVERIFY2(guid.match(key[0]).hasMatch(), qPrintable(key[0]));
    }

    void existingFileIsKeptUnlessOverwriteIsAsked()
    {
        const QString seed = QStringLiteral(CADRELLE_SOURCE_DIR "/install/seed/documents.tsv");
        QTemporaryDir dir;
        const QString target = dir.filePath("cadrelle.db");
        QFile::copy(QStringLiteral(CADRELLE_TEST_CATALOGUE), target);
        DirectExec(target, "UPDATE tblinit SET init=1");
        const auto bytes = [&] {
            QFile file(target);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = bytes();
        QString error;
        QVERIFY(!CatalogueBuilder::Build(seed, target, false, error));
        QCOMPARE(error, target + " exists already; it is kept");
        QCOMPARE(bytes(), before);
        QVERIFY2(CatalogueBuilder::Build(seed, target, true, error), qPrintable(error));
        QCOMPARE(DirectValue(target, "SELECT init FROM tblinit"), QStringLiteral("0"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList("cadrelle.db"));
    }

    void faultySeedLeavesNoFile_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("error");
        const QString misnamed = "the file of QP01 must be named QP01 and a three-letter extension, not '%1'";
        QTest::newRow("misnamed") << QByteArray("QP01\tT\tForms\t4.1\tQP1.rtf") << misnamed.arg("QP1.rtf");
        QTest::newRow("four letters") << QByteArray("QP01\tT\tForms\t4.1\tQP01.docx") << misnamed.arg("QP01.docx");
        QTest::newRow("listed twice") << QByteArray("QM01\tT\tQSM\t4.1\tQM01.rtf") << "QM01 is listed twice";
        QTest::newRow("no category") << QByteArray("X01\tT\tNowhere\t4.1\tX01.rtf")
                                     << "Unknown category 'Nowhere' for X01";
    }

    void faultySeedLeavesNoFile()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QFile seed(dir.filePath("seed.tsv"));
        QVERIFY(seed.open(QIODevice::WriteOnly));
        seed.write("docref\tdoctitle\tcategory\tisoref\tfile\nQM01\tManual\tQSM\t4.1\tQM01.rtf\n" + line + "\n");
        seed.close();
        QString message;
        QVERIFY(!CatalogueBuilder::Build(seed.fileName(), dir.filePath("cadrelle.db"), false, message));
        QVERIFY2(message.endsWith(error), qPrintable(message));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList("seed.tsv"));
    }
};

QTEST_MAIN(TestCatalogueTool)
#include "tst_catalogue_tool.moc"
