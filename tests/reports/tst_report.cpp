// The HTML report: the exact page, escaping, the temp folder's life and the failures the user sees.

#include "platform/ScriptedUi.h"
#include "reports/modReport.h"
#include "storage/modDB.h"
#include "support/TestFolder.h"
#include <QDir>
#include <QFile>
#include <QTest>
#include <cerrno>
#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace {

// The one file the system refuses to delete, as it refuses a file that another program holds.
QByteArray g_refusedPath;

const QString kGap = u"</TD><TD class=stext>&nbsp;</TD>"_s;
const QString kSpacer = u"<TR><TD colspan=6 class=stext>&nbsp;</TD></TR>"_s;

QString Page(const QString& title, const QString& documentRows)
{
    return u"<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"><STYLE>"
           ".stext{FONT-WEIGHT: normal;FONT-SIZE: 8pt;COLOR: black;FONT-FAMILY: Verdana}"
           ".btext{FONT-WEIGHT: bold;FONT-SIZE: 8pt;COLOR: black;FONT-FAMILY: Verdana}"
           ".ttext{FONT-WEIGHT: bold;FONT-SIZE: 14pt;COLOR: black;FONT-FAMILY: Verdana}"
           "</STYLE></HEAD><BODY><TABLE cellSpacing=1 cellPadding=1 width=650 align=center border=0>"
           "<TR><TD colspan=6 class=ttext>"_s
        + title + u"</TD></TR>"_s + kSpacer
        + u"<TR><TD class=btext bgcolor=#f0f0f0>Doc Ref</TD><TD class=stext>&nbsp;</TD>"
          "<TD class=btext bgcolor=#f0f0f0>Title</TD><TD class=stext>&nbsp;</TD>"
          "<TD class=btext bgcolor=#f0f0f0>ISO Ref</TD><TD class=stext>&nbsp;</TD></TR>"_s
        + kSpacer + documentRows + u"</TABLE></BODY></HTML>"_s;
}

QString Rows(const ReportRow& r)
{
    const QString cell = u"<TD class=btext valign=top>"_s;
    return u"<TR>"_s + cell + r.docRef + kGap + cell + r.title + kGap + cell + r.isoRef + kGap
        + u"</TR><TR><TD colspan=6 class=stext valign=top>"_s + r.path + u"</TD></TR>"_s + kSpacer;
}

QStringList TempFiles(const TestFolder& folder)
{
    return QDir(folder.filePath(u"temp"_s)).entryList(QDir::Files | QDir::Hidden);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ToldOnce(const ScriptedUi& ui, const QString& prompt)
{
    QCOMPARE(ui.prompts(), QStringList {prompt});
    QVERIFY(ui.boxes[0].style == 0 && ui.boxes[0].title == u"Cadrelle"_s);
}

const QString kTitle = u"Category - Procedures"_s;
const QList<ReportRow> kRows = {{u"QP01"_s, u"Control of documents"_s, u"4.2.3,8.1"_s, u"/d/QP01.rtf"_s},
                                {u"FRM7"_s, u"Audit plan"_s, QString(), u"/home/q/FRM7.csv"_s}};

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

    void pageIsTheTemplateFilledInEscapedOnOneLine()
    {
        QCOMPARE(BuildHTMLReportPage(kTitle, {}), Page(kTitle, QString()));
        QCOMPARE(BuildHTMLReportPage(kTitle, kRows), Page(kTitle, Rows(kRows[0]) + Rows(kRows[1])));
        const QString page = BuildHTMLReportPage(
            u"Category - R&D <draft> Übersicht"_s,
            {{u"A&B"_s, u"<b>Bold</b> \"quoted\" 'single'"_s, u"5.1>"_s, u"/d/line\r\nbreak & <x>.rtf"_s}});
        QCOMPARE(page,
                 Page(u"Category - R&amp;D &lt;draft&gt; Übersicht"_s,
                      Rows({u"A&amp;B"_s, u"&lt;b&gt;Bold&lt;/b&gt; &quot;quoted&quot; 'single'"_s, u"5.1&gt;"_s,
                            u"/d/line&#13;&#10;break &amp; &lt;x&gt;.rtf"_s})));
        QVERIFY(!page.contains('\n') && !page.contains('\r'));
    }

    // Each page replaces the last under a new name; nothing but the report's own pages is deleted.
    void eachReportReplacesTheLastAndIsWrittenAsUtf8AndOpened()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QStringList kept = {folder.writeFile(u"temp/old.htm"_s), folder.writeFile(u"temp/.keep"_s),
                                  folder.writeFile(u"temp/sub/kept.htm"_s), folder.writeFile(u"temp/temp1.htm"_s)};
        QStringList pages;
        for (const QString& title : {u"Category - Qualitätshandbuch – Übersicht"_s, kTitle}) {
            WriteHTMLReport(kRows, title);
            const QStringList files = QDir(folder.filePath(u"temp"_s)).entryList({u"temp?*-*.htm"_s}, QDir::Files);
            QCOMPARE(files.size(), 1);
            pages << folder.filePath(u"temp/"_s + files[0]);
            QCOMPARE(ReadAll(pages.last()), BuildHTMLReportPage(title, kRows).toUtf8());
        }
        QVERIFY(!QFile::exists(pages[0]) && pages[0] != pages[1]);
        for (const QString& file : kept)
            QVERIFY2(QFile::exists(file), qPrintable(file));
        QCOMPARE(ui.shellOpened, pages);
        QCOMPARE(ui.prompts(), QStringList());
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
            const QByteArray catalogue = ReadAll(folder.dbPath());
            WriteHTMLReport(kRows, kTitle);
            QVERIFY(QFile::exists(theirs));
            QCOMPARE(QFile::exists(pageLike), target == outside.path());
            QCOMPARE(ReadAll(folder.dbPath()), catalogue);
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
        WriteHTMLReport(kRows, kTitle);
        ToldOnce(ui, "MMAIN4 - Cannot delete " + locked + ": Permission denied");
        QVERIFY(!QFile::exists(before) && QFile::exists(locked) && QFile::exists(after));
        QCOMPARE(TempFiles(folder).size(), 3);
        QCOMPARE(ui.shellOpened.size(), 1);
        QCOMPARE(ReadAll(ui.shellOpened[0]), BuildHTMLReportPage(kTitle, kRows).toUtf8());

        g_refusedPath.clear();
        ui.boxes.clear();
        ui.shellOpened.clear();
        QVERIFY(QDir(folder.filePath(u"temp"_s)).removeRecursively());
        SetGuidSource([](GuidBytes& b) { return b.fill(0x0A), true; });
        WriteHTMLReport(kRows, kTitle);
        ToldOnce(ui,
                 "MMAIN3 - Cannot write " + folder.path()
                     + "/temp/temp0A0A0A0A-0A0A-0A0A-0A0A-0A0A0A0A0A0A.htm: No such file or directory");
        QCOMPARE(ui.shellOpened, QStringList());
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
