// The list's column widths: put back from the settings store when the window loads, written back
// when it closes.

#include "MainWindowFixture.h"
#include "platform/Settings.h"
#include <QHeaderView>
#include <QLocale>
#include <QSettings>

namespace {

const QStringList kKeys = {"C2Width", "C3Width", "C4Width", "C5Width"};

void store(const QString& key, const QString& value)
{
    SaveSetting(QStringLiteral("Cadrelle"), QStringLiteral("Settings"), key, value);
}

QString stored(const QString& key)
{
    return GetSetting(QStringLiteral("Cadrelle"), QStringLiteral("Settings"), key);
}

void forget(const QString& key)
{
    QSettings(QStringLiteral("Cadrelle"), QStringLiteral("Cadrelle")).remove(QStringLiteral("Settings/") + key);
}

QList<double> widths(const frmMain& w)
{
    QList<double> list;
    for (int column = 0; column < 5; ++column)
        list << w.lvMain->ColumnWidthTwips(column);
    return list;
}

QStringList storedWidths()
{
    QStringList list;
    for (const QString& key : kKeys)
        list << stored(key);
    return list;
}

const QList<double> kDesign = {360, 1500, 1000, 1440, 1000};

// Stores C2Width to C5Width; a null text leaves the key out.
void storeWidths(const QStringList& values)
{
    for (int i = 0; i < kKeys.size(); ++i) {
        if (values[i].isNull())
            forget(kKeys[i]);
        else
            store(kKeys[i], values[i]);
    }
}

} // namespace

class TestColumnWidths : public QObject
{
    Q_OBJECT

private slots:
    void nothingStoredGivesTheDesignWidthsAndClosingStoresAllFour()
    {
        MainWindowFixture f;
        QCOMPARE(widths(*f.w), kDesign);
        QCOMPARE(f.w->lvMain->header()->sectionSize(0), 24);
        QCOMPARE(storedWidths(), (QStringList {"", "", "", ""}));
        f.w->close();
        QCOMPARE(storedWidths(), (QStringList {"1500", "1000", "1440", "1000"}));
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void storedWidthsArePutBackAndTheFirstColumnKeepsItsOwn()
    {
        TestFolder folder;
        storeWidths({"2000", "1200", "900", "3000"});
        ScriptedUi ui;
        folder.openCatalogue();
        frmMain w;
        w.Form_Load();
        QCOMPARE(widths(w), (QList<double> {360, 2000, 1200, 900, 3000}));
        QCOMPARE(w.lvMain->header()->sectionSize(1), 133);
        // A click reloads the rows, not the columns.
        w.tvMain_NodeClick(w.tvMain->topLevelItem(2));
        QCOMPARE(widths(w), (QList<double> {360, 2000, 1200, 900, 3000}));
        QVERIFY(ui.boxes.isEmpty());
    }

    void aMissingLaterWidthStopsTheRestoreWithMain1()
    {
        TestFolder folder;
        storeWidths({"2000", QString(), "900", "3000"});
        ScriptedUi ui;
        folder.openCatalogue();
        frmMain w;
        w.Form_Load();
        QCOMPARE(widths(w), (QList<double> {360, 2000, 1000, 1440, 1000}));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].prompt, QStringLiteral("MAIN1 - Type mismatch"));
        QCOMPARE(ui.boxes[0].style, 0);
        QCOMPARE(ui.boxes[0].title, QStringLiteral("Cadrelle"));
        // The rest of the load went on: both trees are there, the first category is listed.
        QCOMPARE(w.tvMain->topLevelItemCount(), 10);
        QCOMPARE(w.tvISO->topLevelItemCount(), 1);
        QCOMPARE(w.lblTitle->text(), QStringLiteral("Category - QSM"));
        w.close();
        QCOMPARE(storedWidths(), (QStringList {"2000", "1000", "1440", "1000"}));
    }

    void aWidthThatIsNotANumberStopsTheRestoreThere()
    {
        TestFolder folder;
        storeWidths({"2000", "1200", "wide", "3000"});
        ScriptedUi ui;
        folder.openCatalogue();
        frmMain w;
        w.Form_Load();
        QCOMPARE(widths(w), (QList<double> {360, 2000, 1200, 1440, 1000}));
        QCOMPARE(ui.prompts(), QStringList {"MAIN1 - Type mismatch"});
    }

    void withoutTheFirstWidthNoneIsUsed()
    {
        TestFolder folder;
        storeWidths({QString(), "1200", "900", "3000"});
        ScriptedUi ui;
        folder.openCatalogue();
        frmMain w;
        w.Form_Load();
        QCOMPARE(widths(w), kDesign);
        QVERIFY(ui.boxes.isEmpty());
    }

    void aWidthOfNothingClosesTheColumnUntilTheUserDragsItOpen()
    {
        TestFolder folder;
        storeWidths({"2000", "0", "900", "3000"});
        ScriptedUi ui;
        folder.openCatalogue();
        frmMain w;
        w.Form_Load();
        QCOMPARE(w.lvMain->header()->sectionSize(2), 0);
        w.lvMain->header()->resizeSection(2, 90);
        w.close();
        QCOMPARE(storedWidths(), (QStringList {"2000", "1350", "900", "3000"}));
        QVERIFY(ui.boxes.isEmpty());
    }

    void widthsFollowTheUsersNumberFormat()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        TestFolder folder;
        storeWidths({"1234,5", "1000", "1440", "1000"});
        ScriptedUi ui;
        folder.openCatalogue();
        {
            frmMain w;
            w.Form_Load();
            QCOMPARE(w.lvMain->ColumnWidthTwips(1), 1234.5);
            w.lvMain->header()->resizeSection(3, 1000);
            w.close();
        }
        QLocale::setDefault(QLocale::c());
        QCOMPARE(storedWidths(), (QStringList {"1234,5", "1000", "15000", "1000"}));
        QVERIFY(ui.boxes.isEmpty());
    }
};

QTEST_MAIN(TestColumnWidths)
#include "tst_column_widths.moc"
