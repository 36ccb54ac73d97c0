// Arranging the categories: moves in the list, the positions stored on OK, nothing on Cancel.

#include "dialogs/frmArrangeCats.h"
#include "support/DirectSql.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

QStringList shown(const frmArrangeCats& d)
{
    QStringList names;
    for (int i = 0; i < d.List1->count(); ++i)
        names << d.List1->item(i)->text();
    return names;
}

// Names, positions and keys in stored order.
QList<QStringList> stored(const TestFolder& folder)
{
    return DirectQuery(folder.dbPath(),
                       QStringLiteral("SELECT catname,catorder,catkey FROM tblcategory ORDER BY catorder,rowid"));
}

const QStringList kFresh = {"QSM",
                            "Policies",
                            "Procedures",
                            "Forms",
                            "Work Instructions",
                            "Management Reviews",
                            "Internal Audits",
                            "Customer Complaints",
                            "Corrective Action",
                            "Document Templates"};

} // namespace

class TestArrangeCats : public QObject
{
    Q_OBJECT

private slots:
    void movesStopAtTheEndsAndKeepTheMovedNameSelected()
    {
        TestFolder folder;
        folder.openCatalogue();
        frmArrangeCats d;
        QCOMPARE(shown(d), kFresh);
        QCOMPARE(d.List1->currentRow(), 0);
        d.cmdUp->click();
        QCOMPARE(shown(d), kFresh);
        QCOMPARE(d.List1->currentRow(), 0);
        const int last = d.List1->count() - 1;
        d.List1->setCurrentRow(last);
        d.cmdDown->click();
        QCOMPARE(shown(d), kFresh);
        // From last to first takes n-1 moves, the name selected throughout.
        for (int i = last; i > 0; --i) {
            d.cmdUp->click();
            QCOMPARE(d.List1->currentRow(), i - 1);
            QCOMPARE(d.List1->currentItem()->text(), QStringLiteral("Document Templates"));
        }
        QCOMPARE(shown(d).mid(0, 2), QStringList({"Document Templates", "QSM"}));
    }

    void okStoresEveryPositionFromZeroAndCancelNothing()
    {
        TestFolder folder;
        folder.openCatalogue();
        const QList<QStringList> before = stored(folder);
        {
            frmArrangeCats d;
            d.List1->setCurrentRow(3); // Forms
            d.cmdUp->click();
            d.cmdCancel->click();
        }
        QCOMPARE(stored(folder), before);

        frmArrangeCats d;
        d.show();
        d.List1->setCurrentRow(3);
        d.cmdUp->click();
        d.cmdUp->click();
        d.cmdOK->click();
        QVERIFY(!d.isVisible());
        QStringList expected = kFresh;
        expected.move(3, 1);
        const QList<QStringList> rows = stored(folder);
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i].mid(0, 2), QStringList({expected[i], QString::number(i)}));
    }

    void twoCategoriesOfOneNameKeepTheOrderGiven()
    {
        TestFolder folder;
        DirectExec(folder.dbPath(),
                   QStringLiteral("DELETE FROM tblcategory; "
                                  "INSERT INTO tblcategory VALUES('K1','Forms',7);"
                                  "INSERT INTO tblcategory VALUES('K2','Audits',8);"
                                  "INSERT INTO tblcategory VALUES('K3','Forms',9);"));
        folder.openCatalogue();
        frmArrangeCats d;
        d.List1->setCurrentRow(2);
        d.cmdUp->click();
        d.cmdUp->click();
        d.cmdOK->click();
        QCOMPARE(stored(folder),
                 QList<QStringList>({{"Forms", "0", "K3"}, {"Forms", "1", "K1"}, {"Audits", "2", "K2"}}));
    }

    void withoutCategoriesOnlyCancelCanBeUsed()
    {
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(), QStringLiteral("DELETE FROM tblcategory"));
        folder.openCatalogue();
        frmArrangeCats d;
        QCOMPARE(d.List1->count(), 0);
        for (QWidget* control : std::initializer_list<QWidget*> {d.List1, d.cmdUp, d.cmdDown, d.cmdOK})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(d.cmdCancel->isEnabled());
        QVERIFY(ui.boxes.isEmpty());
    }
};

QTEST_MAIN(TestArrangeCats)
#include "tst_arrangecats.moc"
