// The category tree and the document list it fills: order, row format, toolbar state, reloads and
// the failures the user is told about.

#include "MainWindowFixture.h"
#include "dialogs/frmEditDocument.h"
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

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
    // Equal positions keep the order the database gives them; rows sort by the references' character
    // codes, each with its key, path and texts in place; the buttons follow each kind of click.
    void loadListsTheCategoriesAndClicksListTheirRows()
    {
        MainWindowFixture f({addCategory("K-A", "Same order A", 0), addCategory("K-B", "Same order B", 0),
                             addCategory("K-MIX", "Mixed", 11), addDocument("D1", "QP2", "K-MIX", "NULL"),
                             addDocument("D2", "ap1", "K-MIX", "''"),
                             addDocument("D3", "QP10", "K-MIX", "'4.1,8.2.2'")});
        QStringList names;
        for (int i = 0; i < f.w->tvMain->topLevelItemCount(); ++i) {
            QTreeWidgetItem* node = f.w->tvMain->topLevelItem(i);
            names << node->text(0);
            QVERIFY(node->font(0).bold() && !node->icon(0).isNull() && node->childCount() == 0);
            QCOMPARE(NodeTree::Key(node), f.sql("SELECT catkey FROM tblcategory WHERE catname='" + names.last() + "'"));
        }
        QCOMPARE(names,
                 (QStringList {"Same order A", "Same order B", "QSM", "Policies", "Procedures", "Forms",
                               "Work Instructions", "Management Reviews", "Internal Audits", "Customer Complaints",
                               "Corrective Action", "Document Templates", "Mixed"}));
        for (int load = 0; load < 2; ++load) { // a load shows the first, whatever was selected
            QCOMPARE(f.w->tvMain->currentItem(), f.w->tvMain->topLevelItem(0));
            QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Same order A"));
            QVERIFY(f.listed().isEmpty());
            QCOMPARE(f.enabledButtons(), kEmptyCategoryState);
            f.clickCategory("Mixed");
            QCOMPARE(f.enabledButtons(), kCategoryState);
            f.clickClause("8.3");
            QCOMPARE(f.enabledButtons(), kClauseState);
            f.clickCategory("Mixed");
            f.w->LoadCategories();
        }
        f.clickCategory("Mixed");
        QCOMPARE(f.listed(), (QStringList {"QP10", "QP2", "ap1"}));
        const DocumentListModel& m = *f.w->lvModel;
        QCOMPARE(m.ItemTag(0), QStringLiteral("D3"));
        QCOMPARE(m.SubItemTag(0, 1), QStringLiteral("/docs/QP10.rtf"));
        QCOMPARE(m.SubItemText(0, 2), QStringLiteral("Title of QP10"));
        QCOMPARE(m.SubItemText(0, 3), QStringLiteral("4.1,8.2.2"));
        QCOMPARE(m.SubItemText(0, 4), QStringLiteral("/docs/QP10.rtf"));
        QCOMPARE(m.SubItemText(1, 3) + m.SubItemText(2, 3), QString()); // null or empty clause list
        // What the view draws: no text and the small picture first, the reference in bold.
        QVERIFY(m.data(m.index(0, 0)).toString().isEmpty());
        QVERIFY(!m.data(m.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(m.data(m.index(0, 1), Qt::FontRole).value<QFont>().bold());
        QVERIFY(f.ui.boxes.isEmpty());
    }

    // Also a click on the node already selected reloads; the keyboard chooses as a click does.
    void mouseAndKeyboardListTheCategoryAndDoubleClickOpensTheRow()
    {
        MainWindowFixture f;
        QVERIFY(f.show());
        auto clickNode = [&](const QString& name) {
            QTest::mouseClick(f.w->tvMain->viewport(), Qt::LeftButton, {},
                              f.w->tvMain->visualItemRect(f.category(name)).center());
        };
        clickNode("Forms");
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Forms"));
        QCOMPARE(f.listed(), (QStringList {"F01", "F02", "F03", "F04", "F05"}));
        DirectExec(f.folder.dbPath(), addDocument("D-NEW", "F00", NodeTree::Key(f.category("Forms")), "NULL"));
        clickNode("Forms");
        QCOMPARE(f.listed().first(), QStringLiteral("F00"));
        QTest::mouseDClick(f.w->lvMain->viewport(), Qt::LeftButton, {},
                           f.w->lvMain->visualRect(f.w->lvModel->index(2, 2)).center());
        QCOMPARE(f.w->lvMain->SelectedRow(), 2);
        QCOMPARE(f.ui.shellOpened, QStringList {f.sql("SELECT docpath FROM tbldocument WHERE docref='F02'")});
        f.w->tvMain->setFocus();
        QTest::keyClick(f.w->tvMain, Qt::Key_Down);
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Work Instructions"));
        QCOMPARE(f.listed(), QStringList {"WI01"});
    }

    void refusedQueriesAreToldAndLeaveNothingListed()
    {
        MainWindowFixture f;
        DirectExec(f.folder.dbPath(), QStringLiteral("ALTER TABLE tbldocument RENAME TO tblgone"));
        f.clickCategory("Procedures");
        QCOMPARE(f.ui.prompts(),
                 (QStringList {"no such table: tbldocument", "There is no field 'dockey' in the collection",
                               "MAIN8 - Object variable not set: no field 'dockey'"}));
        QVERIFY(f.ui.boxes.last().style == 0 && f.ui.boxes.last().title == QStringLiteral("Cadrelle"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Procedures"));
        QVERIFY(f.listed().isEmpty());
        DirectExec(f.folder.dbPath(), QStringLiteral("ALTER TABLE tblcategory RENAME TO tblgone2"));
        f.w->LoadCategories();
        QCOMPARE(f.ui.prompts().last(), QStringLiteral("MAIN3 - Object variable not set: no field 'catkey'"));
        QCOMPARE(f.w->tvMain->topLevelItemCount(), 0);
    }

    // Names show as typed: markup in them is never rendered, so nothing it names is read.
    void namesShowAsPlainText()
    {
        MainWindowFixture f;
        const QString picture = f.folder.filePath(QStringLiteral("big.png"));
        QVERIFY(QImage(1600, 1600, QImage::Format_RGB32).save(picture));
        const QString name = "Archive <b>bold</b> <img src=" + picture + "> &amp;";
        f.ui.inputAnswers = {name};
        f.press("NEWCAT");
        f.clickCategory(name);
        QCOMPARE(f.w->lblTitle->text(), "Category - " + name);
        QCOMPARE(f.w->lblTitle->textFormat(), Qt::PlainText);
        QVERIFY(f.w->lblTitle->sizeHint().height() < 100); // no picture laid out
    }

    // Text an older tool stored in Windows-1252 shows as written and is saved back as UTF-8.
    void eightBitTextShowsAndRoundTrips()
    {
        const QString cp1252 = QStringLiteral("CAST(X'5175616C6974E4747368616E64627563682028A7342E3229' AS TEXT)");
        const QString text = QStringLiteral("Qualitätshandbuch (§4.2)");
        MainWindowFixture f({"UPDATE tbldocument SET docref=" + cp1252 + ",doctitle=" + cp1252 + ",docpath=" + cp1252
                                 + ",isoref=" + cp1252 + " WHERE docref='QM01'",
                             "UPDATE tblcategory SET catname=CAST(X'8041756469747380' AS TEXT) WHERE catname='QSM'"});
        QCOMPARE(f.w->tvMain->topLevelItem(0)->text(0), QStringLiteral("€Audits€"));
        const DocumentListModel& m = *f.w->lvModel;
        QCOMPARE(QStringList({m.SubItemText(0, 1), m.SubItemText(0, 2), m.SubItemText(0, 3), m.SubItemText(0, 4)}),
                 QStringList(4, text));
        f.ui.modalHandlers = {[](QDialog& d) { return dynamic_cast<frmEditDocument&>(d).cmdOK->click(), 1; }};
        f.selectRow(text);
        f.press("EDIT");
        QCOMPARE(f.sql("SELECT hex(docref)||hex(doctitle)||hex(docpath)||hex(isoref) FROM tbldocument WHERE "
                       "dockey='"
                       + m.ItemTag(0) + "'"),
                 QString(text.toUtf8().toHex().toUpper()).repeated(4));
    }
};

QTEST_MAIN(TestCategoryList)
#include "tst_category_list.moc"
