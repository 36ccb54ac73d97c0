// The category tree and the document list it fills: order, row format, toolbar state, reloads and
// the failures the user is told about.

#include "MainWindowFixture.h"
#include "platform/AppError.h"
#include <QFont>

namespace {

QString addCategory(const QString& key, const QString& name, int order)
{
    return QStringLiteral("INSERT INTO tblcategory VALUES('%1','%2',%3)").arg(key, name).arg(order);
}

QString addDocument(const QString& key, const QString& ref, const QString& catkey, const QString& isoref)
{
    return QStringLiteral("INSERT INTO tbldocument VALUES('%1','%2','Title of %2','/docs/%2.rtf','%3',%4)")
        .arg(key, ref, catkey, isoref);
}

} // namespace

class TestCategoryList : public QObject
{
    Q_OBJECT

private slots:
    void loadListsTheCategoriesInTheirOrderAndShowsTheFirst()
    {
        MainWindowFixture f;
        QStringList names;
        for (int i = 0; i < f.w->tvMain->topLevelItemCount(); ++i) {
            QTreeWidgetItem* node = f.w->tvMain->topLevelItem(i);
            names << node->text(0);
            QVERIFY(node->font(0).bold());
            QVERIFY(!node->icon(0).isNull());
            QCOMPARE(node->childCount(), 0);
            const QString name = node->text(0);
            QCOMPARE(NodeTree::Key(node), f.sql("SELECT catkey FROM tblcategory WHERE catname='" + name + "'"));
        }
        QCOMPARE(names,
                 (QStringList {"QSM", "Policies", "Procedures", "Forms", "Work Instructions", "Management Reviews",
                               "Internal Audits", "Customer Complaints", "Corrective Action", "Document Templates"}));
        QCOMPARE(f.w->tvMain->currentItem(), f.w->tvMain->topLevelItem(0));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QCOMPARE(f.listed(), QStringList {"QM01"});
        QCOMPARE(f.enabledButtons(), kCategoryState);
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void rowsCarryKeyPathAndTextsInTheirPlaces()
    {
        MainWindowFixture f({addCategory("K-EMPTY", "Mixed", 11), addDocument("D-NULL", "N1", "K-EMPTY", "NULL"),
                             addDocument("D-BLANK", "N2", "K-EMPTY", "''"),
                             addDocument("D-FULL", "N3", "K-EMPTY", "'4.1,8.2.2'")});
        f.clickCategory("Mixed");
        const DocumentListModel& m = *f.w->lvModel;
        QCOMPARE(m.rowCount(), 3);
        QCOMPARE(m.ItemTag(2), QStringLiteral("D-FULL"));
        QCOMPARE(m.SubItemText(2, 1), QStringLiteral("N3"));
        QCOMPARE(m.SubItemTag(2, 1), QStringLiteral("/docs/N3.rtf"));
        QCOMPARE(m.SubItemText(2, 2), QStringLiteral("Title of N3"));
        QCOMPARE(m.SubItemText(2, 3), QStringLiteral("4.1,8.2.2"));
        QCOMPARE(m.SubItemText(2, 4), QStringLiteral("/docs/N3.rtf"));
        // A clause list that is null or empty shows as an empty cell.
        QCOMPARE(m.SubItemText(0, 3), QString());
        QCOMPARE(m.SubItemText(1, 3), QString());
        // What the view draws: no text and the small picture first, the reference in bold.
        QCOMPARE(m.data(m.index(2, 0)).toString(), QString());
        QVERIFY(!m.data(m.index(2, 0), Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(m.data(m.index(2, 1), Qt::FontRole).value<QFont>().bold());
        QVERIFY(!m.data(m.index(2, 2), Qt::FontRole).isValid());
        QCOMPARE(m.data(m.index(2, 0), Qt::UserRole).toString(), QStringLiteral("D-FULL"));
        QCOMPARE(m.data(m.index(2, 1), Qt::UserRole).toString(), QStringLiteral("/docs/N3.rtf"));
        QVERIFY_THROWS_EXCEPTION(AppError, m.ItemTag(3));
    }

    void referencesSortByTheirCharacterCodes()
    {
        MainWindowFixture f({addCategory("K-QP", "Sorted", 11), addDocument("D1", "QP2", "K-QP", "NULL"),
                             addDocument("D2", "ap1", "K-QP", "NULL"), addDocument("D3", "QP10", "K-QP", "NULL")});
        f.clickCategory("Sorted");
        QCOMPARE(f.listed(), (QStringList {"QP10", "QP2", "ap1"}));
    }

    void emptyCategoryShowsItsNameAndNoRowButtons()
    {
        MainWindowFixture f({addCategory("K-NONE", "Empty", 11)});
        f.clickCategory("Procedures");
        QCOMPARE(f.listed().size(), 11);
        f.clickCategory("Empty");
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Empty"));
        QVERIFY(f.listed().isEmpty());
        QCOMPARE(f.enabledButtons(), kEmptyCategoryState);
        // Back on a category with documents, and after a clause click, the states follow the click.
        f.clickClause("8.3");
        QCOMPARE(f.enabledButtons(), kClauseState);
        f.clickCategory("Forms");
        QCOMPARE(f.enabledButtons(), kCategoryState);
    }

    void clickingWithTheMouseAlsoOnTheSelectedNodeReloads()
    {
        MainWindowFixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        auto clickNode = [&](QTreeWidgetItem* node) {
            QTest::mouseClick(f.w->tvMain->viewport(), Qt::LeftButton, {}, f.w->tvMain->visualItemRect(node).center());
        };
        clickNode(f.category("Forms"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Forms"));
        QCOMPARE(f.listed(), (QStringList {"F01", "F02", "F03", "F04", "F05"}));

        DirectExec(f.folder.dbPath(),
                   addDocument("D-NEW", "F00",
                               f.sql("SELECT catkey FROM tblcategory WHERE "
                                     "catname='Forms'"),
                               "NULL"));
        clickNode(f.category("Forms"));
        QCOMPARE(f.listed().first(), QStringLiteral("F00"));

        // Choosing the next category with the keyboard lists it as a click does.
        f.w->tvMain->setFocus();
        QTest::keyClick(f.w->tvMain, Qt::Key_Down);
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Work Instructions"));
        QCOMPARE(f.listed(), QStringList {"WI01"});
    }

    void doubleClickOpensTheSelectedRowsFile()
    {
        MainWindowFixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        f.clickCategory("Forms");
        QWidget* list = f.w->lvMain->viewport();
        QTest::mouseDClick(list, Qt::LeftButton, {}, f.w->lvMain->visualRect(f.w->lvModel->index(1, 2)).center());
        QCOMPARE(f.w->lvMain->SelectedRow(), 1);
        QCOMPARE(f.ui.shellOpened, QStringList {f.sql("SELECT docpath FROM tbldocument WHERE docref='F02'")});
    }

    void loadSelectsTheFirstCategoryWhateverWasSelected()
    {
        MainWindowFixture f({addCategory("K-A", "Same order A", 0), addCategory("K-B", "Same order B", 0)});
        f.clickCategory("Forms");
        f.w->LoadCategories();
        QCOMPARE(f.w->tvMain->topLevelItemCount(), 12);
        // Equal positions keep the order the database gives them.
        QCOMPARE(f.w->tvMain->topLevelItem(0)->text(0), QStringLiteral("Same order A"));
        QCOMPARE(f.w->tvMain->topLevelItem(1)->text(0), QStringLiteral("Same order B"));
        QCOMPARE(f.w->tvMain->currentItem(), f.w->tvMain->topLevelItem(0));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Same order A"));
        QCOMPARE(f.enabledButtons(), kEmptyCategoryState);
    }

    void withoutCategoriesNothingIsClickedAndNothingOffered()
    {
        MainWindowFixture f({QStringLiteral("DELETE FROM tblcategory")});
        QCOMPARE(f.w->tvMain->topLevelItemCount(), 0);
        QCOMPARE(f.w->lblTitle->text(), QString());
        QVERIFY(f.listed().isEmpty());
        QCOMPARE(f.enabledButtons(), (QStringList {"NEWCAT", "MOVECAT", "EXIT"}));
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void aRefusedListingIsToldAndLeavesNoRow()
    {
        MainWindowFixture f;
        DirectExec(f.folder.dbPath(), QStringLiteral("ALTER TABLE tbldocument RENAME TO tblgone"));
        f.ui.boxes.clear();
        f.clickCategory("Procedures");
        QCOMPARE(f.ui.prompts(),
                 (QStringList {"no such table: tbldocument", "There is no field 'dockey' in the collection",
                               "MAIN8 - Object variable not set: no field 'dockey'"}));
        QCOMPARE(f.ui.boxes.last().style, 0);
        QCOMPARE(f.ui.boxes.last().title, QStringLiteral("Cadrelle"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Procedures"));
        QVERIFY(f.listed().isEmpty());
    }

    void aRefusedCategoryQueryIsToldUnderMain3()
    {
        MainWindowFixture f;
        DirectExec(f.folder.dbPath(), QStringLiteral("ALTER TABLE tblcategory RENAME TO tblgone"));
        f.ui.boxes.clear();
        f.w->LoadCategories();
        QCOMPARE(f.ui.prompts().last(), QStringLiteral("MAIN3 - Object variable not set: no field 'catkey'"));
        QCOMPARE(f.w->tvMain->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(TestCategoryList)
#include "tst_category_list.moc"
