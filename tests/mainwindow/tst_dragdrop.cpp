// Refiling a document by dragging its row onto a category: the remembered row, the drop handler,
// and the tree's part in a drag.

#include "MainWindowFixture.h"
#include <QMimeData>

namespace {

// A shown main window, with the row under the pointer pressed and dropped on a category (none:
// the empty part of the tree below the last one).
struct Shown : MainWindowFixture
{
    Shown() { QVERIFY(show()); }
    QString catkeyOf(const QString& ref) const
    {
        return sql("SELECT catkey FROM tbldocument WHERE docref='" + ref + "'");
    }
    QPoint rowPoint(int row) const { return w->lvMain->visualRect(w->lvModel->index(row, 1)).center(); }
    QPoint nodePoint(const QString& name) const
    {
        return name.isEmpty() ? QPoint(10, w->tvMain->viewport()->height() - 3)
                              : w->tvMain->visualItemRect(category(name)).center();
    }
    QByteArray keyOf(int row) const { return w->lvModel->ItemTag(row).toUtf8(); }
    void drag(int row, const QString& onto) const
    {
        w->lvMain_MouseDown(rowPoint(row));
        w->tvMain_OLEDragDrop(nodePoint(onto), keyOf(row));
    }
};

void dropOn(QWidget* viewport, const QPoint& pos, const QString& mimeType, const QByteArray& key)
{
    QMimeData data;
    data.setData(mimeType, key);
    QDragEnterEvent enter(pos, Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(pos, Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &move);
    if (!move.isAccepted())
        return;
    QDropEvent drop(pos, Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
}

} // namespace

class TestDragDrop : public QObject
{
    Q_OBJECT

private slots:
    // The mouse on the list remembers a row (any button) and forgets it; the tree takes only rows
    // of the list, and only on a node.
    void realMouseAndDropEvents()
    {
        Shown f;
        f.clickCategory("Forms");
        QWidget* list = f.w->lvMain->viewport();
        QTest::mousePress(list, Qt::LeftButton, {}, f.rowPoint(2));
        QCOMPARE(f.w->mDragItem.row(), 2);
        QTest::mouseRelease(list, Qt::LeftButton, {}, f.rowPoint(2));
        QVERIFY(!f.w->mDragItem.isValid());
        QTest::mousePress(list, Qt::RightButton, {}, f.rowPoint(4));
        QCOMPARE(f.w->mDragItem.row(), 4);
        QTest::mousePress(list, Qt::LeftButton, {}, QPoint(20, list->height() - 3)); // below the rows
        QVERIFY(!f.w->mDragItem.isValid());

        // A drag that ended (here: cancelled) forgets the row it started from.
        emit f.w->lvMain->DragEnded();
        QVERIFY(!f.w->mDragItem.isValid());

        const QString forms = f.catkeyOf("F01");
        const QByteArray f01 = f.keyOf(0);
        f.w->lvMain_MouseDown(f.rowPoint(2)); // pressed, then dragged away and cancelled
        QWidget* tree = f.w->tvMain->viewport();
        dropOn(tree, f.nodePoint("QSM"), QStringLiteral("text/uri-list"), f01);
        dropOn(tree, f.nodePoint(QString()), DocumentListModel::kMimeType, f01);
        QCoreApplication::processEvents();
        QCOMPARE(f.catkeyOf("F01"), forms);
        // Another window's drag names a record this catalogue does not hold: nothing is refiled.
        dropOn(tree, f.nodePoint("QSM"), DocumentListModel::kMimeType, "9B1DEB4D-3B7D-4BAD-9BDD-2B0D7B3DCB6D");
        QTRY_COMPARE(f.ui.boxes.size(), 1);
        QCOMPARE(f.ui.boxes[0].prompt,
                 QStringLiteral("This document is not in the catalogue, or the category is "
                                "gone: nothing was refiled."));
        QCOMPARE(f.sql("SELECT count(*) FROM tbldocument WHERE catkey=(SELECT catkey FROM tblcategory WHERE "
                       "catname='QSM')"),
                 QStringLiteral("1"));
        // The record the drag carries is refiled, not the row pressed last, and stays selected.
        f.clickCategory("Forms");
        dropOn(tree, f.nodePoint("QSM"), DocumentListModel::kMimeType, f01);
        QTRY_COMPARE(f.catkeyOf("F01"), f.catkeyOf("QM01"));
        QCOMPARE(f.catkeyOf("F03"), forms);
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QCOMPARE(f.w->lvModel->ItemTag(f.w->lvMain->SelectedRow()).toUtf8(), f01);
    }

    void dropRefilesTheRowOnlyOntoAnotherCategoryAndShowsTheTarget()
    {
        Shown f;
        f.clickCategory("Policies");
        const QString policies = NodeTree::Key(f.category("Policies"));
        f.drag(0, QString());
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Policies"));
        f.drag(1, "Policies");
        QCOMPARE(f.catkeyOf("POL01") + f.catkeyOf("POL02"), policies + policies);
        QCOMPARE(f.listed(), (QStringList {"POL01", "POL02"}));
        QVERIFY(!f.w->mDragItem.isValid());

        f.clickCategory("Forms");
        f.drag(f.rowOf("F03"), "Procedures");
        QCOMPARE(f.catkeyOf("F03"), f.catkeyOf("QP01"));
        QCOMPARE(f.w->tvMain->currentItem(), f.category("Procedures"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - Procedures"));
        QCOMPARE(f.listed().first(), QStringLiteral("F03"));
        QVERIFY(!f.w->mDragItem.isValid());
        f.clickCategory("Forms");
        QCOMPARE(f.listed(), (QStringList {"F01", "F02", "F04", "F05"}));
        f.clickClause("7.5.1"); // a row listed by clause
        f.drag(0, "QSM");
        QCOMPARE(f.catkeyOf("WI01"), f.catkeyOf("QM01"));
        QCOMPARE(f.w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QCOMPARE(f.listed(), (QStringList {"QM01", "WI01"}));
        QCOMPARE(f.enabledButtons(), kCategoryState);
        QVERIFY(f.ui.boxes.isEmpty());
    }
};

QTEST_MAIN(TestDragDrop)
#include "tst_dragdrop.moc"
