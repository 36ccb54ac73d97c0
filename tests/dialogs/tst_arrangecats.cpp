// Arranging the categories: moves in the list, the positions stored on OK, nothing on Cancel.

#include "dialogs/frmArrangeCats.h"
#include "support/DirectSql.h"
#include "platform/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList shown(const frmArrangeCats& d)
{
    QStringList names;
    for (int i = 0; i < d.List1->count(); ++i)
        names << d.List1->item(i)->text();
    return names;
}

QList<QStringList> stored(const TestFolder& folder)
{
    return DirectQuery(folder.dbPath(), u"SELECT catname,catorder,catkey FROM tblcategory ORDER BY catorder,rowid"_s);
}

} // namespace

class TestArrangeCats : public QObject
{
    Q_OBJECT

private slots:
    // Moves stop at the ends and keep the moved name selected; Cancel stores nothing, OK every
    // position from zero by key, so two categories of one name keep the order given.
    void movesThenCancelOrOk()
    {
        TestFolder folder;
        DirectExec(folder.dbPath(),
                   u"DELETE FROM tblcategory; INSERT INTO tblcategory VALUES('K1','Forms',9),"
                   u"('K2','Audits',8),('K3','Forms',7);"_s);
        folder.openCatalogue();
        const QList<QStringList> before = stored(folder);
        for (bool ok : {false, true}) {
            frmArrangeCats d;
            d.show();
            QCOMPARE(shown(d), QStringList({"Forms", "Audits", "Forms"}));
            QCOMPARE(d.List1->currentRow(), 0);
            d.cmdUp->click();
            d.List1->setCurrentRow(2);
            d.cmdDown->click();
            QCOMPARE(shown(d), QStringList({"Forms", "Audits", "Forms"}));
            d.cmdUp->click();
            d.cmdUp->click();
            QCOMPARE(d.List1->currentRow(), 0);
            QCOMPARE(shown(d), QStringList({"Forms", "Forms", "Audits"}));
            (ok ? d.cmdOK : d.cmdCancel)->click();
            QVERIFY(!d.isVisible());
            QCOMPARE(stored(folder),
                     ok ? QList<QStringList>({{"Forms", "0", "K1"}, {"Forms", "1", "K3"}, {"Audits", "2", "K2"}})
                        : before);
        }
    }

    // A refused write stores nothing at all and keeps the dialog open with the order given.
    void refusedOrderIsAllOrNothing()
    {
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(),
                   u"CREATE TRIGGER full BEFORE UPDATE OF catorder ON tblcategory "
                   u"WHEN NEW.catname='Forms' BEGIN SELECT RAISE(ABORT,'disk full'); END"_s);
        folder.openCatalogue();
        const QList<QStringList> before = stored(folder);
        frmArrangeCats d;
        d.show();
        d.List1->setCurrentRow(3);
        d.cmdUp->click();
        d.cmdOK->click();
        QCOMPARE(ui.prompts(), QStringList {u"disk full"_s});
        QVERIFY(d.isVisible());
        QCOMPARE(shown(d).mid(2, 2), QStringList({"Forms", "Procedures"}));
        QCOMPARE(stored(folder), before);
    }

    void withoutCategoriesOnlyCancelCanBeUsed()
    {
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(), u"DELETE FROM tblcategory"_s);
        folder.openCatalogue();
        frmArrangeCats d;
        for (QWidget* control : std::initializer_list<QWidget*> {d.List1, d.cmdUp, d.cmdDown, d.cmdOK})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(d.cmdCancel->isEnabled());
        QVERIFY(ui.boxes.isEmpty());
    }
};

QTEST_MAIN(TestArrangeCats)
#include "tst_arrangecats.moc"
