// Everyday use of the main window: the keys reach their commands, the list's cells tell their whole
// text, only the listed node looks current, what a command made or changed stays selected, the
// context menus run their commands, and the window comes back where it was, onto a screen there is.

#include "MainWindowFixture.h"
#include "dialogs/DocumentDetailsDialog.h"
#include "mainwindow/RowDelegate.h"
#include "mainwindow/WindowPlaceSettings.h"
#include "platform/Settings.h"
#include "storage/Catalogue.h"
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

void press(QWidget* to, const char* keys)
{
    to->setFocus();
    QTest::keySequence(to, QKeySequence(QString::fromLatin1(keys)));
}

// Opens a context menu with open() and chooses the item whose caption starts with choice; returns
// the items, those off in brackets.
QStringList choose(const std::function<void()>& open, const QString& choice)
{
    QStringList items;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* item : menu->actions()) {
            const QString caption = item->text().replace('\t', ' ');
            if (item->isSeparator())
                continue;
            items << (item->isEnabled() ? caption : '(' + caption + ')');
            if (caption.startsWith(choice))
                menu->setActiveAction(item);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
    open();
    return items;
}

QString highlighted(const frmMain& w) // the trees that show their selection in the highlight colour
{
    QString trees;
    for (const QTreeWidget* tree : {w.tvMain, w.tvISO}) {
        if (tree->palette().color(QPalette::Highlight) == QApplication::palette(tree).color(QPalette::Highlight))
            trees += tree->objectName();
    }
    return trees;
}

} // namespace

class TestEveryday : public QObject
{
    Q_OBJECT

private slots:
    void keysReachTheirCommandsAndTheTipsNameThem()
    {
        MainWindowFixture f;
        QVERIFY(f.activate());
        QCOMPARE(f.w->Button("ADD")->toolTip() + '|' + f.w->Button("REMOVE")->toolTip(),
                 u"Add document to category (Ins, Ctrl+N)|Remove document details (Del)"_s);
        f.clickCategory("Forms");
        f.selectRow("F02");
        press(f.w->lvMain, "Return");
        QCOMPARE(f.ui.shellOpened, QStringList {f.sql("SELECT docpath FROM tbldocument WHERE docref='F02'")});
        f.ui.msgAnswers = {MsgAnswer::Cancel, MsgAnswer::Ok};
        for (QWidget* to : std::initializer_list<QWidget*> {f.w->tvMain, f.w->lvMain, f.w->lvMain})
            press(to, "Del"); // only on the list, and only after the question
        QCOMPARE(f.listed().join(' ') + '|' + f.selected() + '|' + f.ui.boxes.last().title,
                 u"F01 F03 F04 F05|F03|Delete document details"_s); // the next row takes its place
        for (const char* keys : {"F2", "Ins", "Ctrl+N", "Ctrl+E"})
            press(f.w->lvMain, keys);
        QCOMPARE(f.ui.inputsShown, QList<QStringList>({{"Enter new name", "Rename Category - Forms"}}));
        QCOMPARE(f.ui.dialogsShown,
                 QStringList({"Add document to Forms", "Add document to Forms", "Edit Document Details"}));
        DirectExec(f.folder.dbPath(), "UPDATE tbldocument SET docref='F00' WHERE docref='F05'");
        press(f.w->lvMain, "F5");
        QCOMPARE(f.listed().join(' ') + '|' + f.selected(), u"F00 F01 F03 F04|F03"_s);
        f.clickClause("8.2.2");
        press(f.w->lvMain, "Ins"); // no category listed: Add is off
        press(f.w->lvMain, "F1");
        QCOMPARE(f.ui.dialogsShown.size(), 3);
        QCOMPARE(f.ui.shellOpened.last(), f.folder.path() + "/help/index.htm");
        press(f.w->lvMain, "Ctrl+Q");
        QVERIFY(!Catalogue::IsOpen());
    }

    // The tip shows the whole text; the file column keeps both ends of the path; the last column
    // reaches the right edge, and that width is not kept.
    void cellsTellTheirWholeText()
    {
        const QString path = u"/srv/quality/manuals/procedures/2024/approved/QP01.rtf"_s;
        MainWindowFixture f({"UPDATE tbldocument SET docpath='" + path + "' WHERE docref='QP01'"});
        f.w->resize(1600, 500);
        QVERIFY(f.show());
        f.clickCategory("Procedures");
        const QModelIndex file = f.w->lvModel->index(0, DocumentListModel::FileColumn);
        QCOMPARE(file.data(Qt::ToolTipRole).toString() + '|' + file.siblingAtColumn(2).data(Qt::ToolTipRole).toString(),
                 path + "|Control of Documents");
        QStyleOptionViewItem cell;
        cell.initFrom(f.w->lvMain);
        static_cast<RowDelegate*>(f.w->lvMain->itemDelegateForColumn(file.column()))
            ->initStyleOption(&cell, file);
        const QString shown = cell.fontMetrics.elidedText(cell.text, cell.textElideMode, 150);
        QVERIFY2(shown.startsWith("/srv") && shown.endsWith("/QP01.rtf"), qPrintable(shown));
        const QHeaderView* header = f.w->lvMain->header();
        const int last = DocumentListModel::NextReviewColumn;
        QCOMPARE(header->sectionViewportPosition(last) + header->sectionSize(last), f.w->lvMain->viewport()->width());
        f.press("EXIT");
        QCOMPARE(GetSetting("Cadrelle", "Settings", "C7Width") + '|' + GetSetting("Cadrelle", "Settings", "C8Width"),
                 u"1200|"_s);
    }

    // Only the tree that filled the list shows its selection in the highlight colour; a command
    // leaves what it made or changed selected where the list shows it, the clause list coming back.
    void theCurrentThingsShowAsCurrent()
    {
        MainWindowFixture f;
        f.clickClause("8.2.2");
        QCOMPARE(highlighted(*f.w), u"tvISO"_s);
        f.w->mnuViewDue->trigger();
        QCOMPARE(highlighted(*f.w), QString());
        f.clickCategory("Forms"); // then New
        f.ui.inputAnswers = {"Audits 2024"};
        f.press("NEWCAT");
        QCOMPARE(f.w->lblTitle->text() + '|' + highlighted(*f.w), u"Category - Audits 2024|tvMain"_s);
        f.clickCategory("Forms");
        auto type = [](const QString& ref) {
            return [=](QDialog& d) {
                auto& details = dynamic_cast<DocumentDetailsDialog&>(d);
                details.txtDocRef->setText(ref), details.txtTitle->setText(u"t"_s), details.txtPath->setText(u"/p"_s);
                details.txtISORefs->setText(u"8.2.2"_s);
                return details.cmdOK->click(), details.result();
            };
        };
        f.ui.modalHandlers = {type("F99"), type("A99")};
        f.press("ADD");
        QCOMPARE(f.selected(), u"F99"_s);
        f.w->txtSearch->setText(u"audit"_s);
        f.w->txtSearch->clear(); // back to the list searched from
        QCOMPARE(f.w->lblTitle->text(), u"Category - Forms"_s);
        f.clickClause("8.2.2");
        f.selectRow("F99");
        f.press("EDIT");
        QCOMPARE(f.w->lblTitle->text() + '|' + f.selected(), u"ISO Reference - 8.2.2 Internal audit|A99"_s);
    }

    void contextMenusRunTheirCommands()
    {
        MainWindowFixture f;
        QVERIFY(f.activate());
        const QString folder = f.folder.filePath("documents");
        DirectExec(f.folder.dbPath(), "UPDATE tbldocument SET docpath='" + folder + "/F02.rtf' WHERE docref='F02'");
        f.clickCategory("Forms");
        const QPoint row = f.w->lvMain->visualRect(f.w->lvModel->index(f.rowOf("F02"), 1)).center();
        QCOMPARE(choose([&] { f.w->lvMain_ContextMenu(row); }, "Show in folder"),
                 QStringList({"Open Enter", "Edit... Ctrl+E", "Document control...", "History", "Remove Del",
                              "Show in folder"}));
        QCOMPARE(f.ui.shellOpened, QStringList {folder});
        choose([&] { f.w->lvMain_ContextMenu(row); }, "Remove");
        QCOMPARE(f.ui.boxes.value(0).title, u"Delete document details"_s);
        f.clickClause("8.2.2"); // below the categories, then on one
        QCOMPARE(choose([&] { f.w->tvMain_ContextMenu(QPoint(10, f.w->tvMain->viewport()->height() - 3)); }, "New"),
                 QStringList({"New...", "(Rename... F2)", "(Delete)", "Arrange..."}));
        choose([&] { f.w->tvMain_ContextMenu(f.w->tvMain->visualItemRect(f.category("Policies")).center()); }, "Ren");
        QCOMPARE(f.ui.inputsShown,
                 QList<QStringList>({{"Enter name for new category", "New Category"},
                                     {"Enter new name", "Rename Category - Policies"}}));
    }

    void windowPlaceIsKeptOnAScreenThereIs_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<QRect>("placed");
        const QRect screen(0, 0, 800, 600), right(800, 0, 1024, 768);
        QTest::newRow("where it was") << QRect(100, 50, 600, 400) << QList {screen} << QRect(100, 50, 600, 400);
        QTest::newRow("second screen") << QRect(900, 60, 600, 400) << QList {screen, right} << QRect(900, 60, 600, 400);
        QTest::newRow("screen gone") << QRect(900, 60, 600, 400) << QList {screen} << QRect(100, 100, 600, 400);
        QTest::newRow("partly off") << QRect(700, 300, 600, 400) << QList {screen} << QRect(200, 200, 600, 400);
        QTest::newRow("too large") << QRect(0, 0, 1000, 900) << QList {screen} << screen;
    }

    // The rule, then the window: put back maximised on the screen there is, and saved on Exit.
    void windowPlaceIsKeptOnAScreenThereIs()
    {
        QFETCH(QRect, saved);
        QFETCH(QList<QRect>, areas);
        QTEST(WindowPlaceSettings::OnScreen(saved, areas), "placed");
        MainWindowFixture f({}, [&] { WindowPlaceSettings::Save({saved, true}); });
        QCOMPARE(f.w->geometry(),
                 WindowPlaceSettings::OnScreen(saved, {QApplication::primaryScreen()->availableGeometry()}));
        QVERIFY(f.w->windowState() & Qt::WindowMaximized);
        f.press("EXIT");
        QVERIFY(WindowPlaceSettings::Saved().geometry == f.w->normalGeometry()
                && WindowPlaceSettings::Saved().maximised);
    }
};

QTEST_MAIN(TestEveryday)
#include "tst_everyday.moc"
