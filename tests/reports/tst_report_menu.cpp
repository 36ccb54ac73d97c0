// Report, HTML on the main window: the rows and the title shown go into the page.

#include "mainwindow/MainWindowFixture.h"
#include "reports/modReport.h"
#include <QGuiApplication>

class TestReportMenu : public QObject
{
    Q_OBJECT

private slots:
    void reportsTheRowsAndTitleShown()
    {
        MainWindowFixture f(
            {"INSERT INTO tblcategory VALUES('K-LAB','R&D <lab>',11)",
             "INSERT INTO tbldocument VALUES('D2','B2','Ölwechsel & <Prüfung>','/d/B2.rtf','K-LAB',NULL)",
             "INSERT INTO tbldocument VALUES('D1','A1','Plan \"x\"','/d/A 1.csv','K-LAB','4.1,8.2.2')"});
        f.clickCategory(QStringLiteral("R&D <lab>"));

        f.w->mnuReportHTML->trigger();

        QCOMPARE(f.ui.prompts(), QStringList());
        QCOMPARE(f.ui.shellOpened.size(), 1);
        QCOMPARE(QFileInfo(f.ui.shellOpened[0]).absolutePath(), f.folder.filePath(QStringLiteral("temp")));
        QFile page(f.ui.shellOpened[0]);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QList<ReportRow> expected = {
            {"A1", "Plan \"x\"", "4.1,8.2.2", "/d/A 1.csv"},
            {"B2", "Ölwechsel & <Prüfung>", "", "/d/B2.rtf"},
        };
        QCOMPARE(QString::fromUtf8(page.readAll()), BuildHTMLReportPage("Category - R&D <lab>", expected));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestReportMenu)
#include "tst_report_menu.moc"
