// Refiling a document by dragging its row onto a category: the remembered row, the drop handler,
// and the tree's part in a drag.

#include "MainWindowFixture.h"
#include <QMimeData>

namespace {

QString catkeyOf(const MainWindowFixture& f, const QString& docref)
{
    return f.sql("SELECT catkey FROM tbldocument WHERE docref='" + docref + "'");
}

QString catkeyNamed(const MainWindowFixture& f, const QString& name)
{
    return f.sql("SELECT catkey FROM tblcategory WHERE catname='" + name + "'");
}

QPoint rowPoint(const MainWindowFixture& f, int row)
{
    return f.w->lvMain->visualRect(f.w->lvModel->index(row, 1)).center();
}

QPoint nodePoint(const MainWindowFixture& f, const QString& name)
{
    return f.w->tvMain->visualItemRect(f.category(name)).center();
}

// Below the last category: no node there.
QPoint emptyTreePoint(const MainWindowFixture& f)
{
    return QPoint(10, f.w->tvMain->viewport()->height() - 3);
}

void dropOn(QWidget* viewport, const QPoint& pos, const QString& mimeType)
{
    QMimeData data;
    data.setData(mimeType, "x");
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

    std::unique_ptr<MainWindowFixture> shown()
    {
        auto f = std::make_unique<MainWindowFixture>();
        f->w->show();
        if (!QTest::qWaitForWindowExposed(f->w.get()))
            qFatal("the window was not shown");
        return f;
    }

private slots:
    void pressRemembersTheRowUnderThePointerAndReleaseForgetsIt()
    {
        auto f = shown();
        f->clickCategory("Forms");
        QWidget* list = f->w->lvMain->viewport();
        QTest::mousePress(list, Qt::LeftButton, {}, rowPoint(*f, 2));
        QCOMPARE(f->w->mDragItem.row(), 2);
        QTest::mouseRelease(list, Qt::LeftButton, {}, rowPoint(*f, 2));
        QVERIFY(!f->w->mDragItem.isValid());
        // Any button counts; a press on the empty part below the rows remembers nothing.
        QTest::mousePress(list, Qt::RightButton, {}, rowPoint(*f, 4));
        QCOMPARE(f->w->mDragItem.row(), 4);
        QTest::mousePress(list, Qt::LeftButton, {}, QPoint(20, list->height() - 3));
        QVERIFY(!f->w->mDragItem.isValid());
    }

    void dropOnAnotherCategoryRefilesTheRowAndShowsTheTarget()
    {
        auto f = shown();
        f->clickCategory("Forms");
        f->w->lvMain_MouseDown(rowPoint(*f, f->rowOf("F03")));
        f->w->tvMain_OLEDragDrop(nodePoint(*f, "Procedures"));
        QCOMPARE(catkeyOf(*f, "F03"), catkeyNamed(*f, "Procedures"));
        QCOMPARE(f->w->tvMain->currentItem(), f->category("Procedures"));
        QCOMPARE(f->w->lblTitle->text(), QStringLiteral("Category - Procedures"));
        QCOMPARE(f->listed().first(), QStringLiteral("F03"));
        QCOMPARE(f->listed().size(), 12);
        QCOMPARE(f->enabledButtons(), kCategoryState);
        QVERIFY(!f->w->mDragItem.isValid());
        f->clickCategory("Forms");
        QCOMPARE(f->listed(), (QStringList {"F01", "F02", "F04", "F05"}));
        QVERIFY(f->ui.boxes.isEmpty());
    }

    void dropOnItsOwnCategoryOnlyReloads()
    {
        auto f = shown();
        f->clickCategory("Policies");
        const QString before = catkeyOf(*f, "POL02");
        f->w->lvMain_MouseDown(rowPoint(*f, 1));
        f->w->tvMain_OLEDragDrop(nodePoint(*f, "Policies"));
        QCOMPARE(catkeyOf(*f, "POL02"), before);
        QCOMPARE(f->listed(), (QStringList {"POL01", "POL02"}));
        QVERIFY(!f->w->mDragItem.isValid());
    }

    void dropOnTheEmptyTreeOrWithNothingRememberedDoesNothing()
    {
        auto f = shown();
        f->clickCategory("Policies");
        const QString before = catkeyOf(*f, "POL01");
        f->w->lvMain_MouseDown(rowPoint(*f, 0));
        f->w->tvMain_OLEDragDrop(emptyTreePoint(*f));
        QCOMPARE(catkeyOf(*f, "POL01"), before);
        QCOMPARE(f->w->lblTitle->text(), QStringLiteral("Category - Policies"));
        QCOMPARE(f->w->mDragItem.row(), 0); // still remembered for a drop that follows

        f->w->lvMain_MouseUp(rowPoint(*f, 0));
        f->w->tvMain_OLEDragDrop(nodePoint(*f, "Forms"));
        QCOMPARE(catkeyOf(*f, "POL01"), before);
        QCOMPARE(f->w->lblTitle->text(), QStringLiteral("Category - Policies"));
        QVERIFY(f->ui.boxes.isEmpty());
    }

    void rowListedByClauseIsRefiledAndTheTargetShown()
    {
        auto f = shown();
        f->clickClause("7.5.1");
        f->w->lvMain_MouseDown(rowPoint(*f, 0));
        f->w->tvMain_OLEDragDrop(nodePoint(*f, "QSM"));
        QCOMPARE(catkeyOf(*f, "WI01"), catkeyNamed(*f, "QSM"));
        QCOMPARE(f->w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QCOMPARE(f->listed(), (QStringList {"QM01", "WI01"}));
    }

    void treeTakesOnlyRowsOfTheListAndOnlyOnANode()
    {
        auto f = shown();
        f->clickCategory("Forms");
        f->w->lvMain_MouseDown(rowPoint(*f, 0));
        QWidget* tree = f->w->tvMain->viewport();

        dropOn(tree, nodePoint(*f, "QSM"), QStringLiteral("text/uri-list"));
        dropOn(tree, emptyTreePoint(*f), DocumentListModel::kMimeType);
        QCoreApplication::processEvents();
        QCOMPARE(catkeyOf(*f, "F01"), catkeyNamed(*f, "Forms"));

        dropOn(tree, nodePoint(*f, "QSM"), DocumentListModel::kMimeType);
        QTRY_COMPARE(catkeyOf(*f, "F01"), catkeyNamed(*f, "QSM"));
        QCOMPARE(f->w->lblTitle->text(), QStringLiteral("Category - QSM"));
    }

    void aRefusedRefilingStillShowsTheTarget()
    {
        auto f = shown();
        f->clickCategory("Forms");
        f->w->lvMain_MouseDown(rowPoint(*f, 0));
        DirectExec(f->folder.dbPath(),
                   QStringLiteral("CREATE TRIGGER norefile BEFORE UPDATE ON tbldocument "
                                  "BEGIN SELECT RAISE(ABORT, 'refiling refused'); END"));
        f->w->tvMain_OLEDragDrop(nodePoint(*f, "QSM"));
        QCOMPARE(f->ui.prompts(), QStringList {"refiling refused"});
        QCOMPARE(catkeyOf(*f, "F01"), catkeyNamed(*f, "Forms"));
        QCOMPARE(f->w->lblTitle->text(), QStringLiteral("Category - QSM"));
        QCOMPARE(f->listed(), QStringList {"QM01"});
    }
};

QTEST_MAIN(TestDragDrop)
#include "tst_dragdrop.moc"
