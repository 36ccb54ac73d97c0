// The HTML report: the page against its golden copy, the page written and opened from the main
// window, the temp folder's life, and the failures the user sees.

#include "mainwindow/MainWindowFixture.h"
#include "reports/modReport.h"
#include "storage/modDB.h"
#include "support/FileSnapshot.h"
#include "support/ShownBoxes.h"
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cerrno>
#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace {

// The one file the system refuses to delete, as it refuses a file that another program holds.
QByteArray g_refusedPath;

// golden/report.htm is the page of these rows under this title: every text escaped, one line.
const QString kTitle = u"Category - R&D <lab> Übersicht"_s;
const QList<ReportRow> kRows = {{u"A1"_s, u"Plan \"x\" & 'y'"_s, u"4.1,8.2.2"_s, u"/d/A 1.csv"_s},
                                {u"B2"_s, u"Ölwechsel & <Prüfung>"_s, QString(), u"/d/line\r\nbreak & <x>.rtf"_s},
                                {u"C3"_s, u"<b>Bold</b>"_s, u"5.1>"_s, u"/d/C3.rtf"_s}};
const QByteArray kGolden = readAll(QStringLiteral(CADRELLE_SOURCE_DIR "/tests/reports/golden/report.htm"));

} // namespace

// Stands in for the C library's unlink so that one chosen file cannot be deleted, even by root.
extern "C" int unlink(const char* path)
{
    if (!g_refusedPath.isEmpty() && g_refusedPath == path) {
        errno = EACCES;
        return -1;
    }
    using Unlink = int (*)(const char*);
    static const auto next = reinterpret_cast<Unlink>(dlsym(RTLD_NEXT, "unlink"));
    return next(path);
}

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetGuidSource(nullptr);
        g_refusedPath.clear();
    }

    void pageIsTheGoldenPage()
    {
        QVERIFY(kGolden.startsWith("<HTML>"));
        QCOMPARE(BuildHTMLReportPage(kTitle, ReportRowsOf(kRows)).toUtf8(), kGolden);
    }

    // Report, HTML writes the title and rows shown, in the list's order, as UTF-8 in the temp folder
    // and opens it. Each page replaces the last under a new name; nothing but the report's own pages is deleted.
    void reportOfTheListShownReplacesTheLastPage()
    {
        MainWindowFixture f({u"INSERT INTO tblcategory VALUES('K-LAB','R&D <lab> Übersicht',11)"_s,
                             u"INSERT INTO tbldocument VALUES('D3','C3','<b>Bold</b>','/d/C3.rtf','K-LAB','5.1>'),"
                             "('D2','B2','Ölwechsel & <Prüfung>','/d/line'||char(13,10)||'break & <x>.rtf','K-LAB',"
                             "NULL), ('D1','A1','Plan \"x\" & ''y''','/d/A 1.csv','K-LAB','4.1,8.2.2')"_s});
        const QString old = f.folder.writeFile(u"temp/old.htm"_s); // not a report page: kept
        f.folder.writeFile(u"temp/.keep"_s);
        const QString nested = f.folder.writeFile(u"temp/sub/kept.htm"_s);
        f.clickCategory(u"R&D <lab> Übersicht"_s);
        f.w->mnuReportHTML->trigger();
        f.w->mnuReportHTML->trigger();
        const QStringList pages = f.ui.shellOpened;
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0] != pages[1] && !QFile::exists(pages[0]) && QFile::exists(nested));
        QCOMPARE(readAll(pages[1]), kGolden);
        QCOMPARE(pages[1], f.folder.filePath(u"temp/"_s + QFileInfo(pages[1]).fileName()));
        QCOMPARE(listing(f.folder.filePath(u"temp"_s)),
                 (QStringList {".keep", "old.htm", "sub", QFileInfo(pages[1]).fileName()}));
        QCOMPARE(f.ui.prompts(), QStringList());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // temp/ as a link: to the program folder itself, only report pages could go (the catalogue
    // stays); to a folder outside, nothing there is deleted, not even a page-named file.
    void tempLinkedElsewhereLosesNothing()
    {
        TestFolder folder;
        ScriptedUi ui;
        QTemporaryDir outside;
        const QString page = u"/temp0A0A0A0A-0A0A-0A0A-0A0A-0A0A0A0A0A0A.htm"_s;
        for (const QString& target : {folder.path(), outside.path()}) {
            QFile::remove(folder.filePath(u"temp"_s));
            QDir(folder.filePath(u"temp"_s)).removeRecursively();
            QVERIFY(QFile::link(target, folder.filePath(u"temp"_s)));
            const QString theirs = target + u"/notes.txt"_s, pageLike = target + page;
            QFile(theirs).open(QIODevice::WriteOnly);
            QFile(pageLike).open(QIODevice::WriteOnly);
            const QByteArray catalogue = readAll(folder.dbPath());
            WriteHTMLReport(ReportRowsOf(kRows), kTitle);
            QVERIFY(QFile::exists(theirs));
            QCOMPARE(QFile::exists(pageLike), target == outside.path());
            QCOMPARE(readAll(folder.dbPath()), catalogue);
            QFile::remove(folder.filePath(u"temp"_s));
        }
        QCOMPARE(ui.prompts(), QStringList());
    }

    // A file it cannot delete stops the clearing, but the page is written and opened all the same;
    // without the temp folder the report ends unopened.
    void tempFolderFailuresAreTold()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString before = folder.writeFile(u"temp/temp00000000-0000-0000-0000-000000000001.htm"_s);
        const QString locked = folder.writeFile(u"temp/temp00000000-0000-0000-0000-000000000002.htm"_s);
        const QString after = folder.writeFile(u"temp/temp00000000-0000-0000-0000-000000000003.htm"_s);
        g_refusedPath = QFile::encodeName(locked);
        WriteHTMLReport(ReportRowsOf(kRows), kTitle);
        QCOMPARE(boxes(ui), QStringList {"0|Cadrelle|MMAIN4 - Cannot delete " + locked + ": Permission denied"});
        QVERIFY(!QFile::exists(before) && QFile::exists(locked) && QFile::exists(after));
        QCOMPARE(listing(folder.filePath(u"temp"_s)).size(), 3);
        QCOMPARE(ui.shellOpened.size(), 1);
        QCOMPARE(readAll(ui.shellOpened[0]), kGolden);

        g_refusedPath.clear();
        ui.boxes.clear();
        ui.shellOpened.clear();
        QVERIFY(QDir(folder.filePath(u"temp"_s)).removeRecursively());
        SetGuidSource([](GuidBytes& b) { return b.fill(0x0A), true; });
        WriteHTMLReport(ReportRowsOf(kRows), kTitle);
        QCOMPARE(boxes(ui),
                 QStringList {"0|Cadrelle|MMAIN3 - Cannot write " + folder.path()
                              + "/temp/temp0A0A0A0A-0A0A-0A0A-0A0A-0A0A0A0A0A0A.htm: No such file or directory"});
        QCOMPARE(ui.shellOpened, QStringList());
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
