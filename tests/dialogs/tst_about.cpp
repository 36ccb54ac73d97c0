// The about box: the version line from the build's one version, and the keys that close it.

#include "dialogs/frmAbout.h"
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void showsTheVersionTheProjectDeclaresAndClosesOnEnterOrEscape()
    {
        QCOMPARE(VersionLine(2, 10, 0), QStringLiteral("Version 2.10.0"));
        QFile lists(QStringLiteral(CADRELLE_SOURCE_DIR "/CMakeLists.txt"));
        QVERIFY(lists.open(QIODevice::ReadOnly));
        const auto declared = QRegularExpression(QStringLiteral("project\\(Cadrelle VERSION (\\d+\\.\\d+\\.\\d+)"))
                                  .match(QString::fromUtf8(lists.readAll()));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            frmAbout d;
            QCOMPARE(d.lblVersion->text(), QStringLiteral("Version ") + declared.captured(1));
            QCOMPARE(d.Label3->text() + d.Label2->text(), QStringLiteral("Cadrelle"));
            d.show();
            QTest::keyClick(&d, key);
            QVERIFY(!d.isVisible());
        }
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
