// The dialogs: adding and editing a document (the checks in order, Browse, what is stored),
// arranging the categories (moves, the positions stored on OK, nothing on Cancel), the import's
// preview, the about box.

#include "dialogs/ImportDialog.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmAddDocument.h"
#include "dialogs/frmArrangeCats.h"
#include "dialogs/frmEditDocument.h"
#include "storage/Catalogue.h"
#include "support/DirectSql.h"
#include "support/FileSnapshot.h"
#include "support/ShownBoxes.h"
#include "support/TestFolder.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
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

    // A reference another document has, case and surrounding blanks aside, is stored only on Yes; No
    // goes back to the field. An edit that keeps the record's own reference is not asked about.
    void duplicateReferenceIsKeptOnlyOnYes()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        auto keyOf = [&](const char* ref) {
            return DirectValue(folder.dbPath(), "SELECT dockey FROM tbldocument WHERE docref='" + QString(ref) + "'");
        };
        frmAddDocument add;
        add.Init(DirectValue(folder.dbPath(), u"SELECT catkey FROM tblcategory WHERE catname='Forms'"_s), u"Forms"_s);
        add.txtDocRef->setText(u" qp01"_s), add.txtTitle->setText(u"Copy"_s), add.txtPath->setText(u"/p"_s);
        ui.msgAnswers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::No};
        add.cmdOK->click();
        QCOMPARE(boxes(ui),
                 QStringList {"260|Duplicate reference|The reference qp01 is already used by\r\nQP01 - Control "
                              "of Documents (Procedures)\r\nTwo documents with one reference cannot be "
                              "told apart. Keep this reference?"});
        QVERIFY(add.result() != QDialog::Accepted && keyOf(" qp01").isEmpty());
        QVERIFY(add.focusWidget() == add.txtDocRef && add.txtDocRef->selectedText() == u" qp01"_s);
        add.cmdOK->click();
        QVERIFY(add.result() == QDialog::Accepted && !keyOf(" qp01").isEmpty());
        frmEditDocument edit;
        edit.Init(keyOf("QP02"), u"QP02"_s, u"Control of Records"_s, u"/q"_s, QString());
        edit.cmdOK->click();
        QCOMPARE(ui.boxes.size(), 2);
        edit.txtDocRef->setText(u"QP01"_s);
        edit.cmdOK->click();
        QVERIFY(ui.boxes.last().prompt.contains(u"by\r\n qp01 - Copy (Forms)\r\nQP01 - Control of Documents"_s));
        QCOMPARE(keyOf("QP02"), DirectValue(folder.dbPath(), u"SELECT dockey FROM tbldocument WHERE docpath='/q'"_s));
    }

    void arrangeStoresEveryPositionOnOkOnly_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("OK") << "OK";
        QTest::newRow("OK refused at the last position") << "refused";
    }

    // Moves stop at the ends and keep the moved name selected. OK stores every position from zero by
    // key, so two categories of one name keep the order given; Cancel stores nothing, nor does a
    // refused write, which is told and keeps the dialog open with the order given.
    void arrangeStoresEveryPositionOnOkOnly()
    {
        QFETCH(QString, ending);
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(),
                   u"DELETE FROM tblcategory; INSERT INTO tblcategory VALUES('K1','Forms',9), "
                   "('K2','Audits',8), ('K3','Forms',7); CREATE TRIGGER full BEFORE UPDATE ON "
                   "tblcategory WHEN NEW.catorder=2 AND %1 BEGIN SELECT RAISE(ABORT,'disk full'); "
                   "END"_s.arg(ending == "refused"));
        folder.openCatalogue();
        const QList<QStringList> before = stored(folder);
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
        (ending == "Cancel" ? d.cmdCancel : d.cmdOK)->click();
        QCOMPARE(shown(d), QStringList({"Forms", "Forms", "Audits"}));
        QCOMPARE(d.isVisible(), ending == "refused");
        QCOMPARE(boxes(ui), ending == "refused" ? QStringList {u"16|Cadrelle|disk full"_s} : QStringList());
        QCOMPARE(stored(folder),
                 ending == "OK"
                     ? QList<QStringList>({{"Forms", "0", "K1"}, {"Forms", "1", "K3"}, {"Audits", "2", "K2"}})
                     : before);
    }

    void arrangeWithoutCategoriesOffersOnlyCancel()
    {
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(), u"DELETE FROM tblcategory"_s);
        folder.openCatalogue();
        frmArrangeCats d;
        for (QWidget* control : std::initializer_list<QWidget*> {d.List1, d.cmdUp, d.cmdDown, d.cmdOK})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QVERIFY(d.cmdCancel->isEnabled() && ui.boxes.isEmpty());
    }

    // The preview shows the plan row by row, refused rows with their reason; a mapping that cannot
    // be planned shows no rows of the plan before it; OK writes the accepted rows.
    void importPreviewShowsThePlanOfTheMapping()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        ImportDialog d;
        d.Init(u"r.csv"_s, RegisterCsv::Parse("ref,title,category,path\r\nQP91,Plan,Forms,/p\r\nQP92,,Forms,/q\r\n"));
        const auto row = [&](int r) {
            QStringList cells;
            for (int column = 0; column < d.tblPreview->model()->columnCount(); ++column)
                cells << d.tblPreview->model()->index(r, column).data().toString();
            return cells.join('|');
        };
        QCOMPARE(row(0) + ' ' + row(1), u"2|New|QP91|Forms| 3|Refused|QP92|Forms|no title"_s);
        d.cboFields.value(u"title"_s)->setCurrentIndex(0); // (none)
        QCOMPARE(d.tblPreview->model()->rowCount(), 0);
        QCOMPARE(d.lblSummary->text(), u"The file has no column for the field 'title'"_s);
        d.cboFields.value(u"title"_s)->setCurrentIndex(2);
        d.Accept();
        QCOMPARE(documents(folder, u"docref LIKE 'QP9%'"_s).size(), 1);
    }

    // The version line comes from the version the project declares; the data folder is named.
    void aboutShowsTheDeclaredVersionAndTheDataFolder()
    {
        const QString lists = QString::fromUtf8(readAll(QStringLiteral(CADRELLE_SOURCE_DIR "/CMakeLists.txt")));
        const QString version
            = QRegularExpression(u"project\\(Cadrelle VERSION (\\d+\\.\\d+\\.\\d+)"_s).match(lists).captured(1);
        QCOMPARE(VersionLine(2, 10, 0), u"Version 2.10.0"_s);
        TestFolder folder;
        frmAbout d;
        QCOMPARE(d.lblVersion->text() + '|' + d.Label3->text() + d.Label2->text(), "Version " + version + "|Cadrelle");
        QCOMPARE(d.lblDataFolder->text(), "Your data, in the program's folder:\n" + folder.path());
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
