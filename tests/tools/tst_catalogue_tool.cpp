// The catalogue the tool makes, and what the program folder carries: its keys, that it never
// replaces an existing file unless told to; every template document with exactly one record in
// every category and every record with one file; help pages that link only to each other.

#include "mainwindow/ClauseTree.h"
#include "storage/CatalogueBuilder.h"
#include "storage/ClauseMatch.h"
#include "support/DirectSql.h"
#include "support/FileSnapshot.h"
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCatalogueTool : public QObject
{
    Q_OBJECT

    const QString m_db = QStringLiteral(CADRELLE_TEST_CATALOGUE);

private slots:
    // Every key of categories and documents a distinct GUID.
    void freshCatalogueHasGuidKeys()
    {
        const QString keys = u"SELECT catkey AS k FROM tblcategory UNION ALL SELECT dockey FROM tbldocument"_s;
        QCOMPARE(DirectValue(m_db, "SELECT count(DISTINCT k) = count(*) FROM (" + keys + ")"), u"1"_s);
        const QRegularExpression guid(u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s);
        for (const QStringList& key : DirectQuery(m_db, keys))
            QVERIFY2(guid.match(key[0]).hasMatch(), qPrintable(key[0]));
    }

    void existingFileIsKeptUnlessOverwriteIsAsked()
    {
        const QString seed = QStringLiteral(CADRELLE_SOURCE_DIR "/install/seed/documents.tsv");
        QTemporaryDir dir;
        const QString target = dir.filePath(u"cadrelle.db"_s);
        QFile::copy(m_db, target);
        DirectExec(target, u"UPDATE tblinit SET init=1"_s);
        const QByteArray before = readAll(target);
        QString error;
        QVERIFY(!CatalogueBuilder::Build(seed, target, false, error));
        QCOMPARE(error, target + " exists already; it is kept");
        QCOMPARE(readAll(target), before);
        QVERIFY2(CatalogueBuilder::Build(seed, target, true, error), qPrintable(error));
        QCOMPARE(DirectValue(target, u"SELECT init FROM tblinit"_s), u"0"_s);
        QCOMPARE(listing(dir.path()), QStringList {u"cadrelle.db"_s});
    }

    // Until the first run a record holds its file name alone: the reference and three letters.
    void everyTemplateHasOneRecordAndEveryCategoryATemplate()
    {
        const QStringList files
            = QDir(QStringLiteral(CADRELLE_SOURCE_DIR "/install/documents")).entryList(QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 24);
        QSet<QString> clauses;
        for (const ClauseNode& node : ClauseTable())
            clauses << node.text;
        clauses.remove(kClauseRootText);
        QStringList paths;
        for (const QStringList& record :
             DirectQuery(m_db, u"SELECT docpath, docref, isoref FROM tbldocument ORDER BY docpath"_s)) {
            paths << record[0];
            QVERIFY2(record[0] == record[1] + ".rtf" || record[0] == record[1] + ".csv", qPrintable(record[0]));
            for (const QString& clause : record[2].split(u','))
                QVERIFY2(clauses.contains(clause), qPrintable(record[1] + ": " + record[2]));
        }
        QCOMPARE(paths, files);
        const QString orphans = u"SELECT count(*) FROM %1 WHERE catkey NOT IN (SELECT catkey FROM %2)"_s;
        QCOMPARE(DirectValue(m_db, orphans.arg("tblcategory", "tbldocument")), u"0"_s);
        QCOMPARE(DirectValue(m_db, orphans.arg("tbldocument", "tblcategory")), u"0"_s);
    }

    void helpPagesLinkOnlyToEachOther()
    {
        const QDir help(QStringLiteral(CADRELLE_SOURCE_DIR "/install/help"));
        const auto text = [&](const QString& page) { return QString::fromUtf8(readAll(help.filePath(page))); };
        QVERIFY(help.exists(u"index.htm"_s));
        const QRegularExpression link(u"(?:href|src)=\"([^\"#:]*)#?([^\"]*)\""_s);
        for (const QString& page : help.entryList({u"*.htm"_s}, QDir::Files)) {
            QVERIFY2(!text(page).contains(u"<script"_s, Qt::CaseInsensitive), qPrintable(page));
            for (auto match = link.globalMatch(text(page)); match.hasNext();) {
                const QRegularExpressionMatch found = match.next();
                const QString target = found.captured(1).isEmpty() ? page : found.captured(1);
                const QString where = page + " -> " + found.captured(0);
                QVERIFY2(!target.startsWith('/') && help.exists(target), qPrintable(where));
                QVERIFY2(found.captured(2).isEmpty() || text(target).contains("id=\"" + found.captured(2) + "\""),
                         qPrintable(where));
            }
        }
    }
};

QTEST_MAIN(TestCatalogueTool)
#include "tst_catalogue_tool.moc"
