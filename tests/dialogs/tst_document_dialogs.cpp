// The add and edit dialogs: their texts and tab orders, the checks in order, Browse, and that what
// is typed is stored exactly, or kept in the dialog when the catalogue refuses it.

#include "dialogs/frmAddDocument.h"
#include "dialogs/frmEditDocument.h"
#include "support/DirectSql.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QStringList focusChain(QWidget* first)
{
    QStringList names;
    for (QWidget* w = first; names.size() < 7; w = w->nextInFocusChain()) {
        if (w->focusPolicy() != Qt::NoFocus)
            names << w->objectName();
    }
    return names;
}

void fill(DocumentDetailsDialog& d, const QString& ref, const QString& title, const QString& iso, const QString& path)
{
    d.txtDocRef->setText(ref);
    d.txtTitle->setText(title);
    d.txtISORefs->setText(iso);
    d.txtPath->setText(path);
}

QString typed(const DocumentDetailsDialog& d)
{
    return d.txtDocRef->text() + '|' + d.txtTitle->text() + '|' + d.txtISORefs->text() + '|' + d.txtPath->text();
}

QString documents(const TestFolder& folder)
{
    return DirectValue(folder.dbPath(),
                       QStringLiteral("SELECT group_concat(dockey||docref||doctitle||docpath||"
                                      "catkey||ifnull(isoref,'-')) FROM tbldocument"));
}

QString formsKey(const TestFolder& folder)
{
    return DirectValue(folder.dbPath(), QStringLiteral("SELECT catkey FROM tblcategory WHERE catname='Forms'"));
}

} // namespace

class TestDocumentDialogs : public QObject
{
    Q_OBJECT

private slots:
    void captionsLabelsAndTabOrders()
    {
        frmAddDocument add;
        QCOMPARE(add.windowTitle(), QStringLiteral("Add Document"));
        add.Init(QStringLiteral("K"), QStringLiteral("Forms"));
        QCOMPARE(add.windowTitle(), QStringLiteral("Add document to Forms"));
        QCOMPARE(add.Label4->text(), QStringLiteral("ISO Refs (seperate with commas"));
        QCOMPARE(typed(add), QStringLiteral("|||"));
        QCOMPARE(focusChain(add.txtDocRef),
                 QStringList({"txtDocRef", "txtTitle", "txtPath", "cmdBrowse", "cmdOK", "cmdCancel", "txtISORefs"}));

        frmEditDocument edit;
        edit.Init(QStringLiteral("K"), QStringLiteral("QP01"), QStringLiteral("Control"), QStringLiteral("/d/QP01.rtf"),
                  QStringLiteral("4.2.3"));
        QCOMPARE(edit.windowTitle(), QStringLiteral("Edit Document Details"));
        QCOMPARE(edit.Label4->text(), QStringLiteral("ISO Refs (seperate with commas)"));
        QCOMPARE(typed(edit), QStringLiteral("QP01|Control|4.2.3|/d/QP01.rtf"));
        QCOMPARE(focusChain(edit.cmdCancel),
                 QStringList({"cmdCancel", "cmdOK", "cmdBrowse", "txtPath", "txtTitle", "txtDocRef", "txtISORefs"}));
        edit.show();
        QCOMPARE(edit.focusWidget(), static_cast<QWidget*>(edit.cmdCancel));
        // No cancel key and no default button: Escape and Enter in a text box leave the dialog open;
        // Enter presses the button that has the focus.
        QTest::keyClick(&edit, Qt::Key_Escape);
        edit.txtTitle->setFocus();
        QTest::keyClick(edit.txtTitle, Qt::Key_Return);
        QVERIFY(edit.isVisible());
        edit.cmdCancel->setFocus();
        QTest::keyClick(edit.cmdCancel, Qt::Key_Return);
        QVERIFY(!edit.isVisible());
    }

    void checksComeInOrderAndKeepWhatWasTyped_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::newRow("add") << false;
        QTest::newRow("edit") << true;
    }

    void checksComeInOrderAndKeepWhatWasTyped()
    {
        QFETCH(bool, edit);
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        const QString before = documents(folder);
        std::unique_ptr<DocumentDetailsDialog> d;
        if (edit)
            d = std::make_unique<frmEditDocument>();
        else
            d = std::make_unique<frmAddDocument>();
        d->show();
        fill(*d, QString(), QString(), QStringLiteral("4.1"), QString());
        d->cmdOK->click();
        d->txtDocRef->setText(QStringLiteral("QP99"));
        d->cmdOK->click();
        d->txtTitle->setText(QStringLiteral("Title"));
        d->cmdOK->click();
        QCOMPARE(ui.prompts(),
                 QStringList({"Enter a document reference", "Enter a document title", "Enter a path to document"}));
        for (const ShownBox& box : ui.boxes)
            QVERIFY(box.style == 0 && box.title == QStringLiteral("Cadrelle"));
        QVERIFY(d->isVisible());
        QCOMPARE(typed(*d), QStringLiteral("QP99|Title|4.1|"));
        QCOMPARE(documents(folder), before);
    }

    void typedTextIsStoredExactly()
    {
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        frmAddDocument add;
        add.Init(formsKey(folder), QStringLiteral("Forms"));
        // Quotes, blanks and statement characters are the user's text, never part of a statement.
        const QString title = QStringLiteral("  '); DROP TABLE tbldocument; -- \"x\"");
        fill(add, QStringLiteral("O'Neil 1"), title, QString(), QStringLiteral("/no/such/folder/it's.rtf"));
        add.cmdOK->click();
        QCOMPARE(add.result(), int(QDialog::Accepted));
        const QList<QStringList> added
            = DirectQuery(folder.dbPath(),
                          QStringLiteral("SELECT dockey,doctitle,docpath,catkey,isoref FROM tbldocument "
                                         "WHERE docref='O''Neil 1'"));
        QCOMPARE(added.size(), 1);
        QCOMPARE(added[0].mid(1), QStringList({title, "/no/such/folder/it's.rtf", formsKey(folder), ""}));

        // Editing changes only the details of its own record; key and category stay.
        const QString othersBefore
            = DirectValue(folder.dbPath(),
                          QStringLiteral("SELECT group_concat(docref||doctitle) FROM tbldocument WHERE dockey<>'%1'")
                              .arg(added[0][0]));
        frmEditDocument edit;
        edit.Init(added[0][0], QString(), QString(), QString(), QString());
        fill(edit, QStringLiteral(" "), QStringLiteral("It's \"new\""), QStringLiteral("8.2.2"), QStringLiteral(" "));
        edit.cmdOK->click();
        QCOMPARE(edit.result(), int(QDialog::Accepted));
        QCOMPARE(DirectQuery(folder.dbPath(),
                             QStringLiteral("SELECT docref,doctitle,docpath,catkey,isoref FROM "
                                            "tbldocument WHERE dockey='%1'")
                                 .arg(added[0][0])),
                 QList<QStringList>({{" ", "It's \"new\"", " ", formsKey(folder), "8.2.2"}}));
        QCOMPARE(DirectValue(folder.dbPath(),
                             QStringLiteral("SELECT group_concat(docref||doctitle) FROM tbldocument WHERE dockey<>'%1'")
                                 .arg(added[0][0])),
                 othersBefore);
        QVERIFY(ui.boxes.isEmpty());
    }

    void refusedRecordKeepsTheDialogOpen()
    {
        TestFolder folder;
        ScriptedUi ui;
        DirectExec(folder.dbPath(),
                   QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tbldocument "
                                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        folder.openCatalogue();
        frmAddDocument d;
        d.Init(formsKey(folder), QStringLiteral("Forms"));
        d.show();
        fill(d, QStringLiteral("QP99"), QStringLiteral("Title"), QStringLiteral("4.1"), QStringLiteral("/d/x.rtf"));
        d.cmdOK->click();
        QCOMPARE(ui.prompts(), QStringList {QStringLiteral("disk full")});
        QVERIFY(d.isVisible());
        QCOMPARE(typed(d), QStringLiteral("QP99|Title|4.1|/d/x.rtf"));
    }

    void browsePutsTheChosenFileAndCancelKeepsThePath()
    {
        ScriptedUi ui;
        frmEditDocument d;
        d.Init(QStringLiteral("K"), QString(), QString(), QStringLiteral("/old/QP01.rtf"), QString());
        ui.fileAnswers = {QString(), QStringLiteral("/new/QP01 v2.rtf"), QString()};
        d.cmdBrowse->click();
        QCOMPARE(d.txtPath->text(), QStringLiteral("/old/QP01.rtf"));
        d.cmdBrowse->click();
        d.cmdBrowse->click();
        QCOMPARE(d.txtPath->text(), QStringLiteral("/new/QP01 v2.rtf"));
        QCOMPARE(ui.filtersShown, QStringList(3, QStringLiteral("All Files *.*|*.*|")));
    }
};

QTEST_MAIN(TestDocumentDialogs)
#include "tst_document_dialogs.moc"
