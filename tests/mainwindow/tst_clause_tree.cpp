// The fixed ISO 9001:2000 clause tree, the clause match and the documents of a clause.

#include "storage/ClauseMatch.h"
#include "MainWindowFixture.h"
#include "mainwindow/ClauseTree.h"
#include "storage/Variant.h"

Q_DECLARE_METATYPE(Variant)

class TestClauseTree : public QObject
{
    Q_OBJECT

private slots:
    // As tabled, parents before children; a key is the number without its dots, a parent the number
    // without its last level; only the root is bold and unfolded, and nothing is selected.
    void treeHoldsTheClausesAsTabled()
    {
        MainWindowFixture f;
        QCOMPARE(f.w->tvISO->topLevelItemCount(), 1);
        QTreeWidgetItem* root = f.w->tvISO->topLevelItem(0);
        QList<int> perLevel(4, 0);
        int i = 0;
        for (QTreeWidgetItemIterator it(f.w->tvISO); *it; ++it, ++i) {
            QTreeWidgetItem* node = *it;
            const ClauseNode& tabled = ClauseTable().at(std::size_t(i)); // 68 nodes at most
            const QString number = node->text(0);
            QCOMPARE(number, QString::fromLatin1(tabled.text));
            QCOMPARE(NodeTree::Key(node), QString::fromLatin1(tabled.key));
            QCOMPARE(NodeTree::Key(node->parent()), QString::fromLatin1(tabled.parentKey));
            QVERIFY(!node->icon(0).isNull());
            QCOMPARE(node->font(0).bold(), node == root);
            QCOMPARE(node->isExpanded(), node == root);
            if (node == root)
                continue;
            QCOMPARE(NodeTree::Key(node), "iso" + QString(number).remove('.'));
            QCOMPARE(node->parent() == root ? QString() : node->parent()->text(0), number.section('.', 0, -2));
            ++perLevel[(number.size() + 1) / 2];
        }
        QCOMPARE(perLevel, (QList<int> {0, 5, 23, 39})); // and the root: 68
        QVERIFY(!f.w->tvISO->currentItem() && f.w->tvISO->selectedItems().isEmpty());
    }

    void clauseMatchListsUnderTheNodesThatBeginItsElements_data()
    {
        QTest::addColumn<Variant>("isoref");
        QTest::addColumn<QStringList>("listedUnder");
        QTest::newRow("three clauses") << Variant(
            "4.2.1,5.4.1,8.1") << QStringList {"Sections", "4", "4.2", "4.2.1", "5", "5.4", "5.4.1", "8", "8.1"};
        QTest::newRow("second level") << Variant("4.2") << QStringList {"Sections", "4", "4.2"};
        QTest::newRow("4.1 is not under 4.2") << Variant("4.1") << QStringList {"Sections", "4", "4.1"};
        QTest::newRow("main clause alone") << Variant("4") << QStringList {"Sections", "4"};
        QTest::newRow("blank after the comma")
            << Variant("4.2.1, 5.4.1") << QStringList {"Sections", "4", "4.2", "4.2.1"};
        QTest::newRow("blank after the number") << Variant("5.4.1 ") << QStringList {"Sections", "5", "5.4", "5.4.1"};
        QTest::newRow("semicolon") << Variant("4.2.1;5.4.1") << QStringList {"Sections", "4", "4.2", "4.2.1"};
        QTest::newRow("not a clause") << Variant("ISO") << QStringList {"Sections"};
        QTest::newRow("clause outside the tree") << Variant("9.1") << QStringList {"Sections"};
        QTest::newRow("leading blank") << Variant(" 4.1") << QStringList {"Sections"};
        QTest::newRow("empty elements") << Variant(",,7.5,") << QStringList {"Sections", "7", "7.5"};
        QTest::newRow("two under one node")
            << Variant("4.2.1,4.2.2") << QStringList {"Sections", "4", "4.2", "4.2.1", "4.2.2"};
        QTest::newRow("prefix on characters") << Variant("7.5.10") << QStringList {"Sections", "7", "7.5", "7.5.1"};
        QTest::newRow("stored as a number") << Variant(qint64(4)) << QStringList {"Sections", "4"};
        QTest::newRow("empty list") << Variant("") << QStringList {};
        QTest::newRow("null") << Variant::null() << QStringList {};
    }

    void clauseMatchListsUnderTheNodesThatBeginItsElements()
    {
        QFETCH(Variant, isoref);
        QStringList found;
        for (const ClauseNode& node : ClauseTable())
            if (ClauseMatch(QString::fromLatin1(node.text), isoref))
                found << QString::fromLatin1(node.text);
        QTEST(found, "listedUnder");
    }

    // Each document once, whatever its category, in reference order; the root lists every document
    // with a clause list. The category tree keeps its selection for the commands that act on it.
    void clauseClickListsItsDocuments()
    {
        MainWindowFixture f({"UPDATE tbldocument SET isoref=NULL WHERE docref='QP04'",
                             "UPDATE tbldocument SET isoref='' WHERE docref='CA01'"});
        f.clickClause("Sections");
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("ISO Reference - Sections"));
        QCOMPARE(f.listed().size(), 27);
        QCOMPARE(f.listed().join(','),
                 f.sql("SELECT group_concat(docref) FROM (SELECT docref FROM tbldocument WHERE isoref<>'' "
                       "ORDER BY docref)"));
        f.clickClause("4.2");
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("ISO Reference - 4.2"));
        QCOMPARE(f.listed(), (QStringList {"DT01", "DT02", "F01", "F02", "QM01", "QP01", "QP02"}));
        QCOMPARE(f.enabledButtons(), kClauseState);
        QCOMPARE(f.w->tvMain->currentItem()->text(0), QStringLiteral("QSM"));
        f.clickClause("7.5.1");
        QCOMPARE(f.listed(), QStringList {"WI01"});
        f.clickClause("8.3"); // named only by the two emptied
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("ISO Reference - 8.3"));
        QVERIFY(f.listed().isEmpty());
        QCOMPARE(f.enabledButtons(), QStringList {"EXIT"}); // no row to act on
        QVERIFY(f.ui.boxes.isEmpty());

        DirectExec(f.folder.dbPath(), QStringLiteral("ALTER TABLE tbldocument RENAME TO tblgone"));
        f.clickClause("5");
        QCOMPARE(f.ui.prompts(),
                 (QStringList {"no such table: tbldocument", "There is no field 'isoref' in the collection",
                               "MAIN7 - Object variable not set: no field 'isoref'"}));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("ISO Reference - 5"));
        QVERIFY(f.listed().isEmpty());
        QCOMPARE(f.enabledButtons(), kClauseState);
    }
};

QTEST_MAIN(TestClauseTree)
#include "tst_clause_tree.moc"
