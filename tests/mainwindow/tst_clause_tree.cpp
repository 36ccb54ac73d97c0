// The fixed ISO 9001:2000 clause tree, the clause match and the documents of a clause.

#include "MainWindowFixture.h"
#include "mainwindow/ClauseTree.h"
#include "storage/Variant.h"

namespace {

// Every node of the tree, parents before children, in the order they show when all is unfolded.
void walk(QTreeWidgetItem* node, QList<QTreeWidgetItem*>& nodes)
{
    nodes << node;
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), nodes);
}

QStringList allClauseTexts()
{
    QStringList texts;
    for (const ClauseNode& node : ClauseTable())
        texts << QString::fromLatin1(node.text);
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Variant)

class TestClauseTree : public QObject
{
    Q_OBJECT

private slots:
    void treeHoldsTheClausesAsTabledWithOnlyTheRootUnfolded()
    {
        MainWindowFixture f;
        QCOMPARE(f.w->tvISO->topLevelItemCount(), 1);
        QTreeWidgetItem* root = f.w->tvISO->topLevelItem(0);
        QList<QTreeWidgetItem*> nodes;
        walk(root, nodes);
        QCOMPARE(nodes.size(), 68);
        QList<int> perLevel(4, 0);
        for (int i = 0; i < nodes.size(); ++i) {
            const ClauseNode& tabled = ClauseTable()[std::size_t(i)];
            QTreeWidgetItem* node = nodes[i];
            QCOMPARE(node->text(0), QString::fromLatin1(tabled.text));
            QCOMPARE(NodeTree::Key(node), QString::fromLatin1(tabled.key));
            QCOMPARE(NodeTree::Key(node->parent()), QString::fromLatin1(tabled.parentKey));
            QVERIFY(!node->icon(0).isNull());
            QCOMPARE(node->font(0).bold(), node == root);
            QCOMPARE(node->isExpanded(), node == root);
            if (node == root)
                continue;
            // The key is the number without its dots, the parent the number without its last level.
            const QString number = node->text(0);
            QCOMPARE(NodeTree::Key(node), "iso" + QString(number).remove('.'));
            QCOMPARE(node->parent() == root ? QString() : node->parent()->text(0),
                     number.size() == 1 ? QString() : number.left(number.size() - 2));
            ++perLevel[(number.size() + 1) / 2];
        }
        QCOMPARE(perLevel, (QList<int> {0, 5, 23, 39}));
        QCOMPARE(f.w->tvISO->currentItem(), nullptr);
        QVERIFY(f.w->tvISO->selectedItems().isEmpty());
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
        QFETCH(QStringList, listedUnder);
        QStringList found;
        for (const QString& node : allClauseTexts()) {
            if (ClauseMatch(node, isoref))
                found << node;
        }
        QCOMPARE(found, listedUnder);
    }

    void rootListsEveryDocumentWithAClauseListInReferenceOrder()
    {
        MainWindowFixture f({"UPDATE tbldocument SET isoref=NULL WHERE docref='QP04'",
                             "UPDATE tbldocument SET isoref='' WHERE docref='CA01'"});
        f.clickClause("Sections");
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("ISO Reference - Sections"));
        QStringList expected;
        for (const QStringList& row :
             DirectQuery(f.folder.dbPath(), "SELECT docref FROM tbldocument WHERE isoref<>'' ORDER BY docref"))
            expected << row.first();
        QCOMPARE(f.listed(), expected);
        QCOMPARE(f.listed().size(), 27);
        QVERIFY(!f.listed().contains("QP04"));
        QVERIFY(!f.listed().contains("CA01"));
    }

    void clauseClickListsItsDocumentsOnceWhateverTheirCategory()
    {
        MainWindowFixture f;
        f.clickClause("4.2");
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("ISO Reference - 4.2"));
        QCOMPARE(f.listed(), (QStringList {"DT01", "DT02", "F01", "F02", "QM01", "QP01", "QP02"}));
        const int row = f.rowOf("QM01");
        QCOMPARE(f.w->lvModel->ItemTag(row), f.sql("SELECT dockey FROM tbldocument WHERE docref='QM01'"));
        QCOMPARE(f.w->lvModel->SubItemText(row, 3), QStringLiteral("4.1,4.2.1,4.2.2,5.5.1"));
        QCOMPARE(f.enabledButtons(), kClauseState);
        // The category tree keeps its selection for the commands that act on it.
        QCOMPARE(f.w->tvMain->currentItem()->text(0), QStringLiteral("QSM"));
        f.clickClause("7.5.1");
        QCOMPARE(f.listed(), QStringList {"WI01"});
    }

    void clauseThatNoDocumentNamesGivesAnEmptyList()
    {
        MainWindowFixture f;
        f.clickClause("6.4");
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("ISO Reference - 6.4"));
        QVERIFY(f.listed().isEmpty());
        QCOMPARE(f.enabledButtons(), kClauseState);
    }

    void aRefusedListingIsToldUnderMain7()
    {
        MainWindowFixture f;
        DirectExec(f.folder.dbPath(), QStringLiteral("ALTER TABLE tbldocument RENAME TO tblgone"));
        f.ui.boxes.clear();
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
