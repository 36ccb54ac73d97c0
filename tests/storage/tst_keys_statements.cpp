// Keys, quote handling and the exact text of every statement. That typed text survives the round
// trip through the catalogue is shown by the property test of the robustness suite.

#include "platform/ScriptedUi.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class TestKeysStatements : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SetGuidSource(nullptr); }

    void guidFollowsTheBytesInMemoryOrder()
    {
        SetGuidSource([](GuidBytes& b) {
            // {00112233-4455-6677-8899-AABBCCDDEEFF} as it lies in memory.
            b = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
            return true;
        });
        QCOMPARE(GetGUID(), QStringLiteral("33221100-5544-7766-8899-AABBCCDDEEFF"));
        SetGuidSource([](GuidBytes& b) {
            b.fill(0x0A);
            return true;
        });
        QCOMPARE(GetGUID(), QStringLiteral("0A0A0A0A-0A0A-0A0A-0A0A-0A0A0A0A0A0A"));
    }

    void systemGuidsHaveTheKeyPatternAndDiffer()
    {
        const QRegularExpression pattern(
            QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
        QSet<QString> keys;
        for (int i = 0; i < 500; ++i) {
            const QString key = GetGUID();
            QVERIFY2(pattern.match(key).hasMatch(), qPrintable(key));
            keys.insert(key);
        }
        QCOMPARE(keys.size(), 500);
    }

    void guidFailureIsToldAndGivesNoKey()
    {
        ScriptedUi ui;
        SetGuidSource([](GuidBytes&) { return false; });
        QCOMPARE(GetGUID(), QString());
        QCOMPARE(ui.prompts(), QStringList {QStringLiteral("Error while creating GUID!")});
        QCOMPARE(ui.boxes[0].style, 0);
        QCOMPARE(ui.boxes[0].title, QStringLiteral("Cadrelle"));
    }

    void stripQuotesRemovesBothKindsOnly()
    {
        QCOMPARE(StripQuotes(QStringLiteral("O'Brien \"Quality\" Team's")), QStringLiteral("OBrien Quality Teams"));
        QCOMPARE(StripQuotes(QStringLiteral("a'b'c\"d\"e")).size(), 5);
        QCOMPARE(StripQuotes(QStringLiteral("Forms ; -- % _ é")), QStringLiteral("Forms ; -- % _ é"));
        QCOMPARE(StripQuotes(QStringLiteral("'\"'")), QString());
        QCOMPARE(StripQuotes(QStringLiteral("‘curly’ stay")), QStringLiteral("‘curly’ stay"));
    }

    void statementTexts_data()
    {
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("expected");
        const QString k = QStringLiteral("K1");
        const QString d = QStringLiteral("D1");
        QTest::newRow("1") << Sql::SelectInit() << "SELECT init FROM tblinit";
        QTest::newRow("2") << Sql::UpdateInitDone() << "UPDATE tblinit SET init=1";
        QTest::newRow("3 quote")
            << Sql::UpdateDocumentPath(QStringLiteral("/d/"), QStringLiteral("O'K"), QStringLiteral(".rtf"))
            << "UPDATE tbldocument SET docpath='/d/O''K.rtf' WHERE docref='O''K' AND instr(docpath,'/')=0 AND "
               "instr(docpath,'\\')=0";
        QTest::newRow("4") << Sql::SelectCategories() << "SELECT catkey,catname FROM tblcategory ORDER BY catorder";
        QTest::newRow("5")
            << Sql::SelectCategoryDocuments(k)
            << "SELECT docref,doctitle,dockey,docpath,isoref FROM tbldocument WHERE catkey='K1' ORDER BY "
               "docref";
        QTest::newRow("6") << Sql::SelectAllDocuments()
                           << "SELECT docref,doctitle,dockey,docpath,isoref FROM tbldocument ORDER BY docref";
        QTest::newRow("9") << Sql::UpdateCategoryOrder(3, k) << "UPDATE tblcategory SET catorder=3 WHERE catkey='K1'";
        QTest::newRow("fresh category") << Sql::InsertCategoryAt(k, QStringLiteral("QSM"), 1)
                                        << "INSERT INTO tblcategory VALUES('K1','QSM',1)";
        QTest::newRow("new category")
            << Sql::InsertCategory(k, QStringLiteral("Audits"))
            << "INSERT INTO tblcategory VALUES('K1','Audits',(SELECT IFNULL(MAX(catorder),0)+1 FROM tblcategory))";
        QTest::newRow("rename") << Sql::RenameCategory(k, QStringLiteral("Audits"))
                                << "UPDATE tblcategory SET catname='Audits' WHERE catkey='K1'";
        QTest::newRow("delete docs") << Sql::DeleteCategoryDocuments(k) << "DELETE FROM tbldocument WHERE catkey='K1'";
        QTest::newRow("delete cat") << Sql::DeleteCategory(k) << "DELETE FROM tblcategory WHERE catkey='K1'";
        QTest::newRow("insert doc")
            << Sql::InsertDocument(d, QStringLiteral("QP01"), QStringLiteral("Bob's list"), QStringLiteral("/p.rtf"), k,
                                   QStringLiteral("4.2.3"))
            << "INSERT INTO tbldocument SELECT 'D1','QP01','Bob''s list','/p.rtf','K1','4.2.3' WHERE "
               "EXISTS(SELECT 1 FROM tblcategory WHERE catkey='K1')";
        QTest::newRow("update doc") << Sql::UpdateDocument(d, QStringLiteral("R"), QStringLiteral("T"),
                                                           QStringLiteral("P"), QStringLiteral("I"))
                                    << "UPDATE tbldocument SET docref='R',doctitle='T',docpath='P',isoref='I' WHERE "
                                       "dockey='D1'";
        QTest::newRow("delete doc") << Sql::DeleteDocument(d) << "DELETE FROM tbldocument WHERE dockey='D1'";
    }

    void statementTexts()
    {
        QFETCH(QString, built);
        QFETCH(QString, expected);
        QCOMPARE(built, expected);
    }
};

QTEST_MAIN(TestKeysStatements)
#include "tst_keys_statements.moc"
