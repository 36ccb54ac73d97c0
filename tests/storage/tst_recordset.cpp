// Reading query results: the forward walk, lookups by name and position, and the failures that
// callers rely on being told about.

#include "platform/AppError.h"
#include "storage/sqlDB.h"
#include "storage/sqlField.h"
#include "storage/sqlFields.h"
#include "storage/sqlRecordset.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QTest>

class TestRecordset : public QObject
{
    Q_OBJECT

    QStringList readColumn(sqlRecordset& rs, const QString& column)
    {
        QStringList values;
        while (!rs.AtEOF()) {
            values << rs.Value(column).toText();
            rs.MoveNext();
        }
        return values;
    }

private slots:
    void emptyResultIsAtItsEndWithNoFields()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs;
        rs.OpenRecordset(QStringLiteral("SELECT catname FROM tblcategory WHERE 0"), gDB->db());
        QVERIFY(rs.AtEOF());
        QVERIFY(!rs.AtBOF());
        QCOMPARE(rs.Fields().count(), 0);
        rs.MoveFirst();
        QVERIFY(rs.AtEOF());
        QVERIFY(ui.boxes.isEmpty());
    }

    void oneRowStaysInTheFieldsAfterTheEnd()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs;
        rs.OpenRecordset(QStringLiteral("SELECT init FROM tblinit"), gDB->db());
        QVERIFY(!rs.AtEOF());
        QCOMPARE(rs.Value(QStringLiteral("init")).toText(), QStringLiteral("0"));
        rs.MoveNext();
        QVERIFY(rs.AtEOF());
        QCOMPARE(rs.Value(QStringLiteral("init")).toText(), QStringLiteral("0"));
        rs.MoveNext();
        QVERIFY(rs.AtEOF());
    }

    void walkVisitsEveryRowOnceInOrderAndMoveFirstStartsAgain()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs;
        rs.OpenRecordset(QStringLiteral("SELECT catkey,catname FROM tblcategory ORDER BY catorder"), gDB->db());
        const QStringList names = readColumn(rs, QStringLiteral("catname"));
        QCOMPARE(names.size(), 10);
        QCOMPARE(names.first(), QStringLiteral("QSM"));
        QCOMPARE(names.last(), QStringLiteral("Document Templates"));
        rs.MoveFirst();
        QVERIFY(!rs.AtEOF());
        QCOMPARE(readColumn(rs, QStringLiteral("CATNAME")), names);
        QVERIFY(ui.boxes.isEmpty());
    }

    void fieldsAreFoundByNameInAnyCaseAndByPosition()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs;
        rs.OpenRecordset(QStringLiteral("SELECT catname,catorder FROM tblcategory ORDER BY catorder;"), gDB->db());
        QCOMPARE(rs.Fields().count(), 2);
        QCOMPARE(rs.Fields().Item(QStringLiteral("catname")), rs.Fields().Item(QStringLiteral("CatName")));
        QCOMPARE(rs.Fields().Item(1)->Value().toText(), QStringLiteral("QSM"));
        QCOMPARE(rs.Fields().Item(2)->Value().toText(), QStringLiteral("1"));
        QVERIFY(ui.boxes.isEmpty());

        QVERIFY(!rs.Fields().Item(3));
        QVERIFY(!rs.Fields().Item(0));
        QVERIFY(!rs.Fields().Item(QStringLiteral("dockey")));
        QCOMPARE(ui.boxes.size(), 3);
        for (const ShownBox& box : ui.boxes) {
            QCOMPARE(box.style, 0);
            QCOMPARE(box.title, QStringLiteral("Cadrelle"));
        }
        QVERIFY(ui.boxes[2].prompt.contains(QStringLiteral("dockey")));
        QVERIFY_THROWS_EXCEPTION(AppError, rs.Value(QStringLiteral("dockey")));
    }

    void addRefusesAKeyAlreadyPresent()
    {
        ScriptedUi ui;
        sqlFields fields;
        QVERIFY(fields.Add(QStringLiteral("docref")));
        QVERIFY(!fields.Add(QStringLiteral("DocRef")));
        QCOMPARE(fields.count(), 1);
        QCOMPARE(ui.boxes.size(), 1);
    }

    void failedQueryIsToldAndLeavesNoFields()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs;
        rs.OpenRecordset(QStringLiteral("SELECT something FROM nowhere"), gDB->db());
        QCOMPARE(ui.prompts(), QStringList{QStringLiteral("no such table: nowhere")});
        QCOMPARE(ui.boxes[0].style, 0);
        QVERIFY(!rs.AtEOF());
        QCOMPARE(rs.Fields().count(), 0);
        QVERIFY_THROWS_EXCEPTION(AppError, rs.Value(QStringLiteral("something")));
    }

    void repeatedColumnNamesAreRefused()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs;
        rs.OpenRecordset(QStringLiteral("SELECT catname, catname AS CATNAME FROM tblcategory"), gDB->db());
        QCOMPARE(ui.boxes.size(), 1);
        QVERIFY(ui.boxes[0].prompt.contains(QStringLiteral("more than once")));
        QCOMPARE(rs.Fields().count(), 0);
        QVERIFY(!rs.AtEOF());
    }

    void closeEmptiesTheFieldsAndKeepsEof()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs;
        rs.OpenRecordset(QStringLiteral("SELECT init FROM tblinit"), gDB->db());
        rs.MoveNext();
        QVERIFY(rs.AtEOF());
        rs.CloseRecordset();
        QCOMPARE(rs.Fields().count(), 0);
        QVERIFY(rs.AtEOF());
        QVERIFY(ui.boxes.isEmpty());
    }
};

QTEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
