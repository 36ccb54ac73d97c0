// The HTML report: the exact page, escaping, the temp folder's life and the failures the user sees.

#include "reports/modReport.h"
#include "storage/modDB.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <cerrno>
#include <dlfcn.h>

namespace {

// The one file the system refuses to delete, as it refuses a file that another program holds.
QByteArray g_refusedPath;

// Refuses the deletion of one file for its lifetime.
struct RefusedDeletion
{
    explicit RefusedDeletion(const QString& path) { g_refusedPath = QFile::encodeName(path); }
    ~RefusedDeletion() { g_refusedPath.clear(); }
};

const char* const kHead = "<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"><STYLE>"
                          ".stext{FONT-WEIGHT: normal;FONT-SIZE: 8pt;COLOR: black;FONT-FAMILY: Verdana}"
                          ".btext{FONT-WEIGHT: bold;FONT-SIZE: 8pt;COLOR: black;FONT-FAMILY: Verdana}"
                          ".ttext{FONT-WEIGHT: bold;FONT-SIZE: 14pt;COLOR: black;FONT-FAMILY: Verdana}"
                          "</STYLE></HEAD><BODY>"
                          "<TABLE cellSpacing=1 cellPadding=1 width=650 align=center border=0>";
const char* const kSpacer = "<TR><TD colspan=6 class=stext>&nbsp;</TD></TR>";
const char* const kHeadings = "<TR><TD class=btext bgcolor=#f0f0f0>Doc Ref</TD><TD class=stext>&nbsp;</TD>"
                              "<TD class=btext bgcolor=#f0f0f0>Title</TD><TD class=stext>&nbsp;</TD>"
                              "<TD class=btext bgcolor=#f0f0f0>ISO Ref</TD><TD class=stext>&nbsp;</TD></TR>";
const char* const kTail = "</TABLE></BODY></HTML>";

QString TitleRow(const QString& title)
{
    return QStringLiteral("<TR><TD colspan=6 class=ttext>") + title + QStringLiteral("</TD></TR>");
}

QString DocumentRows(const QString& ref, const QString& title, const QString& iso, const QString& path)
{
    const QString gap = QStringLiteral("</TD><TD class=stext>&nbsp;</TD>");
    return QStringLiteral("<TR><TD class=btext valign=top>") + ref + gap + QStringLiteral("<TD class=btext valign=top>")
        + title + gap + QStringLiteral("<TD class=btext valign=top>") + iso + gap
        + QStringLiteral("</TR><TR><TD colspan=6 class=stext valign=top>") + path + QStringLiteral("</TD></TR>")
        + QLatin1String(kSpacer);
}

QString Page(const QString& title, const QString& documentRows)
{
    return QLatin1String(kHead) + TitleRow(title) + QLatin1String(kSpacer) + QLatin1String(kHeadings)
        + QLatin1String(kSpacer) + documentRows + QLatin1String(kTail);
}

QStringList TempFiles(const TestFolder& folder)
{
    return QDir(folder.filePath(QStringLiteral("temp"))).entryList(QDir::Files | QDir::Hidden);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QList<ReportRow> kRows = {
    {QStringLiteral("QP01"), QStringLiteral("Control of documents"), QStringLiteral("4.2.3"),
     QStringLiteral("/opt/cadrelle/documents/QP01.rtf")},
    {QStringLiteral("QP02"), QStringLiteral("Control of records"), QStringLiteral("4.2.4,8.1"),
     QStringLiteral("/opt/cadrelle/documents/QP02.rtf")},
    {QStringLiteral("FRM7"), QStringLiteral("Audit plan"), QString(), QStringLiteral("/home/q/FRM7.csv")},
};

} // namespace

// Stands in for the C library's unlink so that one chosen file cannot be deleted, whoever runs the
// test (root deletes anything that permissions protect).
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
    void cleanup() { SetGuidSource(nullptr); }

    void emptyListGivesTheHeadingsOnly()
    {
        QCOMPARE(BuildHTMLReportPage(QStringLiteral("Category - Procedures"), {}),
                 Page(QStringLiteral("Category - Procedures"), QString()));
    }

    void everyRowTakesTwoTableRowsAndASpacerInListOrder()
    {
        const QString page
            = BuildHTMLReportPage(QStringLiteral("ISO Reference - 4.2 Documentation requirements"), kRows);
        QCOMPARE(page,
                 Page(QStringLiteral("ISO Reference - 4.2 Documentation requirements"),
                      DocumentRows("QP01", "Control of documents", "4.2.3", "/opt/cadrelle/documents/QP01.rtf")
                          + DocumentRows("QP02", "Control of records", "4.2.4,8.1", "/opt/cadrelle/documents/QP02.rtf")
                          + DocumentRows("FRM7", "Audit plan", "", "/home/q/FRM7.csv")));
    }

    void textsShowAsTypedAndStayOnOneLine()
    {
        const QList<ReportRow> rows = {{QStringLiteral("A&B"), QStringLiteral("<b>Bold</b> \"quoted\" 'single'"),
                                        QStringLiteral("5.1>"), QStringLiteral("/d/line\r\nbreak & <x>.rtf")}};
        const QString page = BuildHTMLReportPage(QStringLiteral("Category - R&D <draft>"), rows);
        QCOMPARE(page,
                 Page(QStringLiteral("Category - R&amp;D &lt;draft&gt;"),
                      DocumentRows("A&amp;B", "&lt;b&gt;Bold&lt;/b&gt; &quot;quoted&quot; 'single'", "5.1&gt;",
                                   "/d/line&#13;&#10;break &amp; &lt;x&gt;.rtf")));
        QVERIFY(!page.contains(QLatin1Char('\n')) && !page.contains(QLatin1Char('\r')));
    }

    void eachReportReplacesTheLastAndIsWrittenAsUtf8AndOpened()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.writeFile(QStringLiteral("temp/old.htm"));
        QFile::setPermissions(folder.writeFile(QStringLiteral("temp/readonly.txt")), QFile::ReadOwner);
        const QString hidden = folder.writeFile(QStringLiteral("temp/.keep"));
        const QString nested = folder.writeFile(QStringLiteral("temp/sub/kept.htm"));
        const QList<ReportRow> rows = {{QStringLiteral("QM"), QStringLiteral("Qualitätshandbuch – Übersicht"),
                                        QStringLiteral("4.2.2"), QStringLiteral("/d/qm.rtf")}};

        WriteHTMLReport(rows, QStringLiteral("Category - Prozesse"));
        const QStringList first = TempFiles(folder);
        QCOMPARE(first.size(), 2); // .keep and the page
        const QString firstPath = folder.filePath(QStringLiteral("temp/") + first[1]);
        const QByteArray bytes = ReadAll(firstPath);
        QCOMPARE(bytes, BuildHTMLReportPage(QStringLiteral("Category - Prozesse"), rows).toUtf8());
        QVERIFY(bytes.contains("Qualit\xC3\xA4tshandbuch \xE2\x80\x93 \xC3\x9C"));
        QVERIFY(!bytes.contains('\n') && !bytes.contains('\r') && !bytes.startsWith("\xEF\xBB\xBF"));

        WriteHTMLReport(kRows, QStringLiteral("Category - Procedures"));
        const QStringList second = TempFiles(folder);
        QCOMPARE(second.size(), 2);
        const QString secondPath = folder.filePath(QStringLiteral("temp/") + second[1]);

        // Each page replaces the last under a new name; the hidden file and the sub-folder stay.
        const QRegularExpression name(QStringLiteral("^temp[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\.htm$"));
        QVERIFY2(name.match(first[1]).hasMatch() && name.match(second[1]).hasMatch(), qPrintable(first[1]));
        QVERIFY(first[1] != second[1]);
        QVERIFY(QFile::exists(hidden) && QFile::exists(nested));
        QCOMPARE(ReadAll(secondPath), BuildHTMLReportPage(QStringLiteral("Category - Procedures"), kRows).toUtf8());
        QCOMPARE(ui.shellOpened, (QStringList {firstPath, secondPath}));
        QCOMPARE(ui.prompts(), QStringList());
    }

    void missingTempFolderEndsTheReportUnopened()
    {
        TestFolder folder;
        ScriptedUi ui;
        QVERIFY(QDir(folder.filePath(QStringLiteral("temp"))).removeRecursively());
        SetGuidSource([](GuidBytes& b) {
            b.fill(0x0A);
            return true;
        });

        WriteHTMLReport(kRows, QStringLiteral("Category - Procedures"));

        QCOMPARE(ui.prompts(),
                 QStringList {QStringLiteral("MMAIN3 - Cannot write ") + folder.path()
                              + QStringLiteral("/temp/temp0A0A0A0A-0A0A-0A0A-0A0A-0A0A0A0A0A0A.htm: "
                                               "No such file or directory")});
        QCOMPARE(ui.boxes[0].style, 0);
        QCOMPARE(ui.boxes[0].title, QStringLiteral("Cadrelle"));
        QCOMPARE(ui.shellOpened, QStringList());
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("temp"))));
    }

    void undeletableFileIsToldAndTheReportStillOpens()
    {
        TestFolder folder;
        ScriptedUi ui;
        const QString before = folder.writeFile(QStringLiteral("temp/a.htm"));
        const QString locked = folder.writeFile(QStringLiteral("temp/b.htm"));
        const QString after = folder.writeFile(QStringLiteral("temp/c.htm"));
        const RefusedDeletion refused(locked);

        WriteHTMLReport(kRows, QStringLiteral("Category - Procedures"));

        QCOMPARE(
            ui.prompts(),
            QStringList {QStringLiteral("MMAIN4 - Cannot delete ") + locked + QStringLiteral(": Permission denied")});
        QCOMPARE(ui.boxes[0].style, 0);
        QCOMPARE(ui.boxes[0].title, QStringLiteral("Cadrelle"));
        // The deletion stops at the file it cannot delete; the page is written all the same.
        QVERIFY(!QFile::exists(before) && QFile::exists(locked) && QFile::exists(after));
        QCOMPARE(TempFiles(folder).size(), 3);
        QCOMPARE(ui.shellOpened.size(), 1);
        QCOMPARE(ReadAll(ui.shellOpened[0]),
                 BuildHTMLReportPage(QStringLiteral("Category - Procedures"), kRows).toUtf8());
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
