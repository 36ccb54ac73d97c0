// Reading query results: the forward walk, lookups by name and position, and the failures that
// callers rely on being told about.

#include "platform/AppError.h"
#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "storage/sqlDB.h"
#include "storage/sqlField.h"
#include "storage/sqlFields.h"
#include "storage/sqlRecordset.h"
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
    // Empty, one row and many rows: each row visited once in order; the last row stays in the
    // fields after the end; MoveFirst starts again; closing empties the fields and keeps EOF.
    void walk()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset empty;
        empty.OpenRecordset(QStringLiteral("SELECT catname FROM tblcategory WHERE 0"),
                            Catalogue::Current().Connection().db());
        QVERIFY(empty.AtEOF() && !empty.AtBOF());
        QCOMPARE(empty.Fields().count(), 0);
        empty.MoveFirst();
        QVERIFY(empty.AtEOF());

        sqlRecordset one;
        one.OpenRecordset(QStringLiteral("SELECT init FROM tblinit"), Catalogue::Current().Connection().db());
        QCOMPARE(readColumn(one, QStringLiteral("init")), QStringList {QStringLiteral("0")});
        QCOMPARE(one.Value(QStringLiteral("init")).toText(), QStringLiteral("0"));
        one.CloseRecordset();
        QCOMPARE(one.Fields().count(), 0);
        QVERIFY(one.AtEOF());

        sqlRecordset many;
        many.OpenRecordset(QStringLiteral("SELECT catkey,catname FROM tblcategory ORDER BY catorder;"),
                           Catalogue::Current().Connection().db());
        const QStringList names = readColumn(many, QStringLiteral("catname"));
        QCOMPARE(names.size(), 10);
        QCOMPARE(names.first(), QStringLiteral("QSM"));
        QCOMPARE(names.last(), QStringLiteral("Document Templates"));
        many.MoveFirst();
        QCOMPARE(readColumn(many, QStringLiteral("CATNAME")), names);
        QVERIFY(ui.boxes.isEmpty() && !many.AtBOF());
    }

    // By name in any case and by 1-based position; a failed lookup or a repeated key is told
    // (style 0, application title) and gives nothing, so the reader's own trap reports next.
    void lookups()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset rs;
        rs.OpenRecordset(QStringLiteral("SELECT catname,catorder FROM tblcategory ORDER BY catorder"),
                         Catalogue::Current().Connection().db());
        QCOMPARE(rs.Fields().Item(QStringLiteral("catname")), rs.Fields().Item(QStringLiteral("CatName")));
        QCOMPARE(rs.Fields().Item(1)->Value().toText(), QStringLiteral("QSM"));
        QCOMPARE(rs.Fields().Item(2)->Value().toText(), QStringLiteral("1"));
        QVERIFY(ui.boxes.isEmpty());

        QVERIFY(!rs.Fields().Item(3));
        QVERIFY(!rs.Fields().Item(0));
        QVERIFY(!rs.Fields().Item(QStringLiteral("dockey")));
        QVERIFY(!rs.Fields().Add(QStringLiteral("CATNAME")));
        QCOMPARE(rs.Fields().count(), 2);
        QCOMPARE(ui.boxes.size(), 4);
        for (const ShownBox& box : ui.boxes)
            QVERIFY(box.style == 0 && box.title == QStringLiteral("Cadrelle"));
        QVERIFY(ui.boxes[2].prompt.contains(QStringLiteral("dockey")));
        QVERIFY_THROWS_EXCEPTION(AppError, rs.Value(QStringLiteral("dockey")));
    }

    // A refused query shows the engine's text alone; a result whose column names repeat is
    // refused too. Either way no fields and not at the end, as the readers expect.
    void refusedResults()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        sqlRecordset failed;
        failed.OpenRecordset(QStringLiteral("SELECT something FROM nowhere"), Catalogue::Current().Connection().db());
        sqlRecordset repeated;
        repeated.OpenRecordset(QStringLiteral("SELECT catname, catname AS CATNAME FROM tblcategory"),
                               Catalogue::Current().Connection().db());
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.boxes[0].prompt, QStringLiteral("no such table: nowhere"));
        QCOMPARE(ui.boxes[0].style, 0);
        QVERIFY(ui.boxes[1].prompt.contains(QStringLiteral("more than once")));
        for (sqlRecordset* rs : {&failed, &repeated}) {
            QVERIFY(!rs->AtEOF());
            QCOMPARE(rs->Fields().count(), 0);
        }
        QVERIFY_THROWS_EXCEPTION(AppError, failed.Value(QStringLiteral("something")));
    }
};

QTEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
