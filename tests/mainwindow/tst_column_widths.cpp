// The list's column widths: put back from the settings store when the window loads, written back
// when it closes.

#include "MainWindowFixture.h"
#include "platform/Settings.h"
#include <QHeaderView>
#include <QLocale>

namespace {

const QStringList kKeys = {"C2Width", "C3Width", "C4Width", "C5Width"};

// A window loaded after C2Width to C5Width were stored ("-" leaves the key out).
std::unique_ptr<MainWindowFixture> loadWith(const QStringList& values)
{
    return std::make_unique<MainWindowFixture>(QStringList(), [&] {
        for (int i = 0; i < kKeys.size(); ++i)
            if (values[i] != "-")
                SaveSetting("Cadrelle", "Settings", kKeys[i], values[i]);
    });
}

QString stored()
{
    QStringList values;
    for (const QString& key : kKeys)
        values << GetSetting("Cadrelle", "Settings", key);
    return values.join(' ');
}

QString widths(const frmMain& w) // the four in twips
{
    QStringList list;
    for (int column = 1; column < 5; ++column)
        list << QString::number(w.lvMain->ColumnWidthTwips(column));
    return list.join(' ');
}

} // namespace

class TestColumnWidths : public QObject
{
    Q_OBJECT

private slots:
    // Stored before, whether the load tells of a mismatch, the widths shown then saved.
    void widthsArePutBackAndSaved_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("mismatch");
        QTest::addColumn<QString>("widths");
        QTest::newRow("nothing stored") << "- - - -" << false << "1500 1000 1440 1000";
        QTest::newRow("all stored") << "2000 1200 900 3000" << false << "2000 1200 900 3000";
        QTest::newRow("C2Width missing: none used") << "- 1200 900 3000" << false << "1500 1000 1440 1000";
        QTest::newRow("C3Width missing: stops there") << "2000 - 900 3000" << true << "2000 1000 1440 1000";
        QTest::newRow("not a number: stops there") << "2000 1200 wide 3000" << true << "2000 1200 1440 1000";
        QTest::newRow("0 closes the column") << "2000 0 900 3000" << false << "2000 0 900 3000";
    }

    void widthsArePutBackAndSaved()
    {
        QFETCH(QString, before);
        QFETCH(bool, mismatch);
        QFETCH(QString, widths);
        auto f = loadWith(before.split(' '));
        QCOMPARE(::widths(*f->w), widths);
        QCOMPARE(f->w->lvMain->ColumnWidthTwips(0), 360);
        QCOMPARE(f->w->lvMain->header()->sectionSize(1), qRound(widths.section(' ', 0, 0).toDouble() / 15));
        QCOMPARE(f->ui.prompts(), mismatch ? QStringList {"MAIN1 - Type mismatch"} : QStringList());
        // The rest of the load went on; a click reloads the rows, not the columns.
        QCOMPARE(f->w->lblTitle->text(), QStringLiteral("Category - QSM"));
        f->clickCategory("Procedures");
        QCOMPARE(::widths(*f->w), widths);
        f->w->close();
        QCOMPARE(stored(), widths);
    }

    void aClosedColumnOpensWhenDraggedAndWidthsFollowTheNumberFormat()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        auto f = loadWith({"1234,5", "0", "1440", "1000"});
        QCOMPARE(widths(*f->w), QStringLiteral("1234.5 0 1440 1000"));
        QCOMPARE(f->w->lvMain->header()->sectionSize(2), 0);
        f->w->lvMain->header()->resizeSection(2, 90);
        f->w->close();
        QLocale::setDefault(QLocale::c());
        QCOMPARE(stored(), QStringLiteral("1234,5 1350 1440 1000"));
        QVERIFY(f->ui.boxes.isEmpty());
    }
};

QTEST_MAIN(TestColumnWidths)
#include "tst_column_widths.moc"
