// The add and edit dialogs: texts, tab orders, Browse, the checks in order, and what is stored.

#include "dialogs/frmAddDocument.h"
#include "dialogs/frmEditDocument.h"
#include "support/DirectSql.h"
#include "platform/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList focusChain(QWidget* first)
{
    QStringList names;
    for (QWidget* w = first; names.size() < 7; w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            names << w->objectName();
    return names;
}

QString typed(const DocumentDetailsDialog& d)
{
    return d.txtDocRef->text() + '|' + d.txtTitle->text() + '|' + d.txtISORefs->text() + '|' + d.txtPath->text();
}

QList<QStringList> documents(const TestFolder& folder, const QString& where)
{
    return DirectQuery(folder.dbPath(),
                       u"SELECT dockey,docref,doctitle,docpath,catkey,isoref FROM tbldocument WHERE "_s + where);
}

} // namespace

class TestDocumentDialogs : public QObject
{
    Q_OBJECT

private slots:
    void captionsTabOrdersKeysAndBrowse()
    {
        frmAddDocument add;
        add.Init(u"K"_s, u"Forms"_s);
        QCOMPARE(add.Label4->text(), u"ISO Refs (seperate with commas"_s);
        QCOMPARE(focusChain(add.txtDocRef),
                 QStringList({"txtDocRef", "txtTitle", "txtPath", "cmdBrowse", "cmdOK", "cmdCancel", "txtISORefs"}));

        ScriptedUi ui;
        frmEditDocument edit;
        edit.Init(u"K"_s, u"QP01"_s, u"Control"_s, u"/d/QP01.rtf"_s, u"4.2.3"_s);
        QCOMPARE(edit.windowTitle(), u"Edit Document Details"_s);
        QCOMPARE(edit.Label4->text(), u"ISO Refs (seperate with commas)"_s);
        QCOMPARE(typed(edit), u"QP01|Control|4.2.3|/d/QP01.rtf"_s);
        QCOMPARE(focusChain(edit.cmdCancel),
                 QStringList({"cmdCancel", "cmdOK", "cmdBrowse", "txtPath", "txtTitle", "txtDocRef", "txtISORefs"}));
        ui.fileAnswers = {QString(), u"/new/QP01 v2.rtf"_s};
        edit.cmdBrowse->click();
        QCOMPARE(edit.txtPath->text(), u"/d/QP01.rtf"_s);
        edit.cmdBrowse->click();
        QCOMPARE(edit.txtPath->text(), u"/new/QP01 v2.rtf"_s);
        QCOMPARE(ui.filtersShown, QStringList(2, u"All Files *.*|*.*|"_s));

        edit.show();
        QCOMPARE(edit.focusWidget(), edit.cmdCancel);
        // No cancel key and no default button; Enter presses the focused button.
        QTest::keyClick(&edit, Qt::Key_Escape);
        edit.txtTitle->setFocus();
        QTest::keyClick(edit.txtTitle, Qt::Key_Return);
        QVERIFY(edit.isVisible());
        edit.cmdCancel->setFocus();
        QTest::keyClick(edit.cmdCancel, Qt::Key_Return);
        QVERIFY(!edit.isVisible());
    }

    void checksRefusalAndStoringExactly_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::newRow("add") << false;
        QTest::newRow("edit") << true;
    }

    // The checks in order, then a refused statement keeps the dialog open, then the texts are stored as
    // typed, touching no other record.
    void checksRefusalAndStoringExactly()
    {
        QFETCH(bool, edit);
        TestFolder folder;
        ScriptedUi ui;
        folder.openCatalogue();
        const QString forms = DirectValue(folder.dbPath(), u"SELECT catkey FROM tblcategory WHERE catname='Forms'"_s);
        const QString key
            = DirectValue(folder.dbPath(), u"SELECT min(dockey) FROM tbldocument WHERE catkey='"_s + forms + '\'');
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
        d.txtPath->setText(texts[3]);
        DirectExec(folder.dbPath(),
                   u"CREATE TRIGGER refuse BEFORE %1 ON tbldocument BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s.arg(
                       edit ? "UPDATE" : "INSERT"));
        d.cmdOK->click();
        QCOMPARE(ui.prompts(),
                 QStringList({"Enter a document reference", "Enter a document title", "Enter a path to document",
                              "disk full"}));
        for (int i = 0; i < 3; ++i)
            QVERIFY(ui.boxes[i].style == 0 && ui.boxes[i].title == u"Cadrelle"_s);
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
};

QTEST_MAIN(TestDocumentDialogs)
#include "tst_document_dialogs.moc"
