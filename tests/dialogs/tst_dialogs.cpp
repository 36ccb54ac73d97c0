// The dialogs: adding and editing a document (the checks in order, Browse, what is stored),
// arranging the categories (moves, the positions stored on OK, nothing on Cancel), the about box.

#include "dialogs/frmAbout.h"
#include "dialogs/frmAddDocument.h"
#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "storage/sqlDB.h"
#include "support/DirectSql.h"
#include "support/FileSnapshot.h"
#include "support/ShownBoxes.h"
#include "support/TestFolder.h"
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString typed(const DocumentDetailsDialog& d)
{
    return d.txtDocRef->text() + '|' + d.txtTitle->text() + '|' + d.txtISORefs->text() + '|' + d.txtPath->text();
}

QList<QStringList> documents(const TestFolder& folder, const QString& where)
{
    return DirectQuery(folder.dbPath(),
                       "SELECT dockey,docref,doctitle,docpath,catkey,isoref FROM tbldocument WHERE " + where);
}

QStringList shown(const frmArrangeCats& d)
{
    QStringList names;
    for (int i = 0; i < d.List1->count(); ++i)
        names << d.List1->item(i)->text();
    return names;
}

QList<QStringList> stored(const TestFolder& folder)
{
    return DirectQuery(folder.dbPath(), u"SELECT catname,catorder,catkey FROM tblcategory ORDER BY catorder,rowid"_s);
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void checksRefusalAndStoringExactly_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::newRow("add") << false;
        QTest::newRow("edit") << true;
    }

    // The checks in order, Browse (a cancelled choice keeps the path), then a refused statement keeps
    // the dialog open, then the texts are stored as typed, touching no other record.
    void checksRefusalAndStoringExactly()
    {
        QFETCH(bool, edit);
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        const QString forms = DirectValue(folder.dbPath(), u"SELECT catkey FROM tblcategory WHERE catname='Forms'"_s);
        const QString key
            = DirectValue(folder.dbPath(), "SELECT min(dockey) FROM tbldocument WHERE catkey='" + forms + '\'');
        const QString others = u"dockey<>'%1' AND docref<>'O''Neil 1'"_s.arg(edit ? key : QString());
        const auto before = documents(folder, others);
        frmAddDocument add;
        frmEditDocument modify;
        add.Init(forms, u"Forms"_s);
        modify.Init(key, QString(), QString(), QString(), QString());
        DocumentDetailsDialog& d = edit ? static_cast<DocumentDetailsDialog&>(modify) : add;
        d.show();
        const QStringList texts = {"O'Neil 1", "  '); DROP TABLE tbldocument; -- \"x\"", "4.1 'a'", " /d/it's.rtf"};
        d.txtISORefs->setText(texts[2]);
        d.cmdOK->click();
        d.txtDocRef->setText(texts[0]);
        d.cmdOK->click();
        d.txtTitle->setText(texts[1]);
        d.cmdOK->click();
        d.txtPath->setText(u"/old"_s);
        ui.fileAnswers = {QString(), texts[3]};
        d.cmdBrowse->click(); // cancelled: the path stays
        QCOMPARE(d.txtPath->text(), u"/old"_s);
        d.cmdBrowse->click();
        QCOMPARE(ui.filtersShown, QStringList(2, u"All Files *.*|*.*|"_s));
        DirectExec(folder.dbPath(),
                   u"CREATE TRIGGER refuse BEFORE %1 ON tbldocument BEGIN SELECT RAISE(ABORT, 'disk "
                   "full'); END"_s.arg(edit ? "UPDATE" : "INSERT"));
        d.cmdOK->click();
        QCOMPARE(boxes(ui),
                 QStringList({"0|Cadrelle|Enter a document reference", "0|Cadrelle|Enter a document title",
                              "0|Cadrelle|Enter a path to document", "16|Cadrelle|disk full"}));
        QVERIFY(d.isVisible());
        QCOMPARE(typed(d), texts.join('|'));

        DirectExec(folder.dbPath(), u"DROP TRIGGER refuse"_s);
        d.cmdOK->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const auto stored = documents(folder, u"docref='O''Neil 1'"_s);
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0].mid(1), QStringList({texts[0], texts[1], texts[3], forms, texts[2]}));
        QVERIFY(!edit || stored[0][0] == key);
        QCOMPARE(documents(folder, others), before);
    }

    // Moves stop at the ends and keep the moved name selected; Cancel stores nothing, OK every
    // position from zero by key, so two categories of one name keep the order given.
    void arrangeMovesThenCancelOrOk()
    {
        TestFolder folder;
        DirectExec(folder.dbPath(),
                   u"DELETE FROM tblcategory; INSERT INTO tblcategory VALUES('K1','Forms',9),"
                   "('K2','Audits',8),('K3','Forms',7);"_s);
        folder.openCatalogue();
        const QList<QStringList> before = stored(folder);
        for (bool ok : {false, true}) {
            frmArrangeCats d;
            d.show();
            QCOMPARE(shown(d), QStringList({"Forms", "Audits", "Forms"}));
            QCOMPARE(d.List1->currentRow(), 0);
            d.cmdUp->click();
            d.List1->setCurrentRow(2);
            d.cmdDown->click();
            QCOMPARE(shown(d), QStringList({"Forms", "Audits", "Forms"}));
            d.cmdUp->click();
            d.cmdUp->click();
            QCOMPARE(d.List1->currentRow(), 0);
            QCOMPARE(shown(d), QStringList({"Forms", "Forms", "Audits"}));
            (ok ? d.cmdOK : d.cmdCancel)->click();
            QVERIFY(!d.isVisible());
            QCOMPARE(stored(folder),
                     ok ? QList<QStringList>({{"Forms", "0", "K1"}, {"Forms", "1", "K3"}, {"Audits", "2", "K2"}})
                        : before);
        }
    }

    // A refused write stores nothing at all and keeps the dialog open with the order given. Without
    // categories only Cancel can be used.
    void arrangeRefusedOrEmpty()
    {
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(),
                   u"CREATE TRIGGER full BEFORE UPDATE OF catorder ON tblcategory "
                   "WHEN NEW.catname='Forms' BEGIN SELECT RAISE(ABORT,'disk full'); END"_s);
        folder.openCatalogue();
        const QList<QStringList> before = stored(folder);
        frmArrangeCats d;
        d.show();
        d.List1->setCurrentRow(3);
        d.cmdUp->click();
        d.cmdOK->click();
        QCOMPARE(boxes(ui), QStringList {u"16|Cadrelle|disk full"_s});
        QVERIFY(d.isVisible());
        QCOMPARE(shown(d).mid(2, 2), QStringList({"Forms", "Procedures"}));
        QCOMPARE(stored(folder), before);

        QVERIFY(gDB->Execute(u"DELETE FROM tblcategory"_s));
        frmArrangeCats none;
        for (QWidget* control : std::initializer_list<QWidget*> {none.List1, none.cmdUp, none.cmdDown, none.cmdOK})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(none.cmdCancel->isEnabled() && ui.boxes.size() == 1);
    }

    // The version line comes from the version the project declares; Enter and Escape close the box.
    void aboutShowsTheDeclaredVersion()
    {
        const QString lists = QString::fromUtf8(readAll(QStringLiteral(CADRELLE_SOURCE_DIR "/CMakeLists.txt")));
        const QString version
            = QRegularExpression(u"project\\(Cadrelle VERSION (\\d+\\.\\d+\\.\\d+)"_s).match(lists).captured(1);
        QCOMPARE(VersionLine(2, 10, 0), u"Version 2.10.0"_s);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            frmAbout d;
            QCOMPARE(d.lblVersion->text() + '|' + d.Label3->text() + d.Label2->text(),
                     "Version " + version + "|Cadrelle");
            d.show();
            QTest::keyClick(&d, key);
            QVERIFY(!d.isVisible());
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
