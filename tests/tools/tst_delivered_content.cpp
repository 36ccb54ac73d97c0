// What the program folder carries: every template document has exactly one record in the
// delivered catalogue and every record one file, in every category; the help pages link only to
// each other.

#include "storage/ClauseMatch.h"
#include "mainwindow/ClauseTree.h"
#include "support/DirectSql.h"
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class TestDeliveredContent : public QObject
{
    Q_OBJECT

private slots:
    void everyTemplateHasOneRecordAndEveryCategoryATemplate()
    {
        const QString catalogue = QStringLiteral(CADRELLE_TEST_CATALOGUE);
        const QStringList files
            = QDir(QStringLiteral(CADRELLE_SOURCE_DIR "/install/documents")).entryList(QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 24);
        QSet<QString> clauses;
        for (const ClauseNode& node : ClauseTable())
            clauses << node.text;
        clauses.remove(kClauseRootText);
        QStringList paths;
        for (const QStringList& record :
             DirectQuery(catalogue, "SELECT docpath, docref, isoref FROM tbldocument ORDER BY docpath")) {
            paths << record[0];
            // Until the first run a record holds its file name alone: the reference and three letters.
            QVERIFY2(record[0] == record[1] + ".rtf" || record[0] == record[1] + ".csv", qPrintable(record[0]));
            for (const QString& clause : record[2].split(QLatin1Char(',')))
                QVERIFY2(clauses.contains(clause), qPrintable(record[1] + ": " + record[2]));
        }
        QCOMPARE(paths, files);
        const QString orphans = "SELECT count(*) FROM %1 WHERE catkey NOT IN (SELECT catkey FROM %2)";
        QCOMPARE(DirectValue(catalogue, orphans.arg("tblcategory", "tbldocument")), QStringLiteral("0"));
        QCOMPARE(DirectValue(catalogue, orphans.arg("tbldocument", "tblcategory")), QStringLiteral("0"));
    }

    void helpPagesLinkOnlyToEachOther()
    {
        const QDir help(QStringLiteral(CADRELLE_SOURCE_DIR "/install/help"));
        const auto text = [&](const QString& page) {
            QFile file(help.filePath(page));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QVERIFY(help.exists("index.htm"));
        const QRegularExpression link("(?:href|src)=\"([^\"#:]*)#?([^\"]*)\"");
        for (const QString& page : help.entryList({"*.htm"}, QDir::Files)) {
            QVERIFY2(!text(page).contains("<script", Qt::CaseInsensitive), qPrintable(page));
            for (auto match = link.globalMatch(text(page)); match.hasNext();) {
                const QRegularExpressionMatch found = match.next();
                const QString target = found.captured(1).isEmpty() ? page : found.captured(1);
                const QString where = page + " -> " + found.captured(0);
                QVERIFY2(!target.startsWith('/') && help.exists(target), qPrintable(where));
                QVERIFY2(text(target).contains("id=\"" + found.captured(2) + "\"") || found.captured(2).isEmpty(),
                         qPrintable(where));
            }
        }
    }
};

QTEST_MAIN(TestDeliveredContent)
#include "tst_delivered_content.moc"
