// What the program folder carries: every template document has exactly one record in the
// delivered catalogue and every record one file, filed and referenced as a user would expect; the
// help pages link only to each other.

#include "support/DirectSql.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

const QString kInstall = QStringLiteral(CADRELLE_SOURCE_DIR "/install");
const QString kCatalogue = QStringLiteral(CADRELLE_TEST_CATALOGUE);

// The clause numbers of the clause tree.
const QSet<QString>& clauses()
{
    static const QSet<QString> numbers {
        "4",     "4.1",   "4.2",   "4.2.1", "4.2.2", "4.2.3", "4.2.4", "5",     "5.1",   "5.2",   "5.3",   "5.4",
        "5.4.1", "5.4.2", "5.5",   "5.5.1", "5.5.2", "5.5.3", "5.6",   "5.6.1", "5.6.2", "5.6.3", "6",     "6.1",
        "6.2",   "6.2.1", "6.2.2", "6.3",   "6.4",   "7",     "7.1",   "7.2",   "7.2.1", "7.2.2", "7.2.3", "7.3",
        "7.3.1", "7.3.2", "7.3.3", "7.3.4", "7.3.5", "7.3.6", "7.3.7", "7.4",   "7.4.1", "7.4.2", "7.4.3", "7.5",
        "7.5.1", "7.5.2", "7.5.3", "7.5.4", "7.5.5", "7.6",   "8",     "8.1",   "8.2",   "8.2.1", "8.2.2", "8.2.3",
        "8.2.4", "8.3",   "8.4",   "8.5",   "8.5.1", "8.5.2", "8.5.3"};
    return numbers;
}

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestDeliveredContent : public QObject
{
    Q_OBJECT

private slots:
    void everyTemplateHasOneRecordAndEveryRecordOneFile()
    {
        const QStringList files = QDir(kInstall + QStringLiteral("/documents")).entryList(QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 24);
        const QList<QStringList> records = DirectQuery(
            kCatalogue, QStringLiteral("SELECT docpath, docref, isoref FROM tbldocument ORDER BY docpath"));
        QStringList paths;
        for (const QStringList& record : records) {
            paths << record[0];
            // Until the first run a record holds its file name alone: the reference and three letters.
            QCOMPARE(record[0].chopped(4), record[1]);
            QVERIFY2(QRegularExpression(QStringLiteral("^\\.(rtf|csv)$")).match(record[0].right(4)).hasMatch(),
                     qPrintable(record[0]));
            for (const QString& clause : record[2].split(QLatin1Char(',')))
                QVERIFY2(clauses().contains(clause), qPrintable(record[1] + QStringLiteral(": ") + record[2]));
        }
        QCOMPARE(paths, files);
    }

    void everyCategoryHoldsATemplate()
    {
        QCOMPARE(DirectQuery(kCatalogue,
                             QStringLiteral("SELECT catname FROM tblcategory c WHERE NOT EXISTS "
                                            "(SELECT 1 FROM tbldocument d WHERE d.catkey = c.catkey)")),
                 QList<QStringList>());
        QCOMPARE(DirectValue(kCatalogue,
                             QStringLiteral("SELECT count(*) FROM tbldocument d WHERE NOT EXISTS "
                                            "(SELECT 1 FROM tblcategory c WHERE d.catkey = c.catkey)")),
                 QStringLiteral("0"));
    }

    void helpPagesLinkOnlyToEachOther()
    {
        const QDir help(kInstall + QStringLiteral("/help"));
        QVERIFY(help.exists(QStringLiteral("index.htm")));
        const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
        for (const QString& page : help.entryList({QStringLiteral("*.htm")}, QDir::Files)) {
            const QString text = readText(help.filePath(page));
            QVERIFY2(!text.contains(QStringLiteral("<script"), Qt::CaseInsensitive), qPrintable(page));
            for (auto match = link.globalMatch(text); match.hasNext();) {
                const QString target = match.next().captured(1);
                const QString file = target.section(QLatin1Char('#'), 0, 0);
                const QString anchor = target.section(QLatin1Char('#'), 1);
                const QString where = page + QStringLiteral(" -> ") + target;
                QVERIFY2(!target.contains(QLatin1Char(':')) && !target.startsWith(QLatin1Char('/')), qPrintable(where));
                const QString targetPage = file.isEmpty() ? page : file;
                QVERIFY2(help.exists(targetPage), qPrintable(where));
                if (!anchor.isEmpty())
                    QVERIFY2(readText(help.filePath(targetPage)).contains(QStringLiteral("id=\"%1\"").arg(anchor)),
                             qPrintable(where));
            }
        }
    }
};

QTEST_MAIN(TestDeliveredContent)
#include "tst_delivered_content.moc"
