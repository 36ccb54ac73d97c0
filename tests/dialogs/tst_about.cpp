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
    void showsTheVersionTheProjectDeclares()
    {
        QCOMPARE(VersionLine(2, 10, 0), QStringLiteral("Version 2.10.0"));
        QFile lists(QStringLiteral(CADRELLE_SOURCE_DIR "/CMakeLists.txt"));
        QVERIFY(lists.open(QIODevice::ReadOnly));
        const QString declared = QRegularExpression(QStringLiteral("project\\(Cadrelle VERSION (\\d+\\.\\d+\\.\\d+)"))
                                     .match(QString::fromUtf8(lists.readAll()))
                                     .captured(1);
        frmAbout d;
        QCOMPARE(d.windowTitle(), QStringLiteral("About Cadrelle"));
        QCOMPARE(d.lblTitle->text(), QStringLiteral("Cadrelle"));
        QCOMPARE(d.lblVersion->text(), QStringLiteral("Version ") + declared);
        QCOMPARE(d.Label3->text() + d.Label2->text(), QStringLiteral("Cadrelle"));
    }

    void enterAndEscapeClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void enterAndEscapeClose()
    {
        QFETCH(int, key);
        frmAbout d;
        d.show();
        QTest::keyClick(&d, Qt::Key(key));
        QVERIFY(!d.isVisible());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
