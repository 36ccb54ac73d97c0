// Whatever text the user types reaches the catalogue exactly as typed and touches no other row:
// thousands of generated texts built from the pieces that break hand-made statements.

#include "platform/ScriptedUi.h"
#include "storage/Catalogue.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include "support/DirectSql.h"
#include "support/TestFolder.h"
#include <QRandomGenerator>
#include <QTest>

namespace {

constexpr quint32 kSeed = 20240508; // fixed, so a failing case can be run again

// The pieces texts are made of; these hold no space.
const char* const kWords
    = "' '' \" \\ \\' % _ ; -- /* */ # '); NULL X'00' char(0) ?1 :name @x $y || ` [tbl] BEGIN COMMIT 4.2.1,5.4.1 "
      "C:\\docs\\QP01.doc Qualitätshandbuch Ελληνικά Русский 品質マニュアル 𝔘𝔫𝔦 품질 עברית العربية हिन्दी "
      "e\u0301 \u200D \u2028 \uFEFF ‘’“” 🙂 👩‍👩‍👧 🇩🇪";

const QStringList kPieces = [] {
    QStringList p = QString::fromUtf8(kWords).split(u' ');
    p += {" ", "' OR '1'='1", "DROP TABLE tbldocument", "DELETE FROM tblcategory", "UPDATE tblinit SET init=0"};
    for (char16_t c = 1; c < 0xA0; c = c == 0x1F ? 0x7F : c + 1) // every control character but NUL
        p << QString(QChar(c));
    return p;
}();

// Mostly short texts; a few empty ones; a few of up to 100,000 characters.
QString randomText(QRandomGenerator& random)
{
    const int kind = random.bounded(100);
    const int target = kind < 3 ? 0 : kind < 96 ? random.bounded(1, 80) : random.bounded(1000, 100001);
    QString text;
    while (text.size() < target)
        text += random.bounded(4) ? kPieces[random.bounded(kPieces.size())] : QChar(random.bounded(0x20, 0x7F));
    return text;
}

} // namespace

class TestTextProperty : public QObject
{
    Q_OBJECT

    TestFolder m_folder;
    ScriptedUi m_ui;

    QList<QStringList> tables()
    {
        QList<QStringList> rows;
        for (const char* name : {"tbldocument", "tblcategory", "tblinit"})
            rows += DirectQuery(m_folder.dbPath(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(name));
        return rows;
    }

private slots:
    void initTestCase()
    {
        m_folder.openCatalogue();
        QVERIFY(Catalogue::Current().Connection().Execute(
            QStringLiteral("PRAGMA synchronous=OFF"))); // thousands of writes in a second
    }

    // Each text goes into every column of a document (the keys behind a unique prefix), read back
    // through the query the document list uses, and as a category name, added and renamed.
    void everyTextIsStoredAsTypedAndTouchesNoOtherRow()
    {
        const QList<QStringList> before = tables();
        QRandomGenerator random(kSeed);
        for (int i = 0; i < 3000; ++i) {
            const QString text = randomText(random), dockey = QStringLiteral("D%1-").arg(i) + text;
            const QString catkey = GetGUID(), name = StripQuotes(text), rename = StripQuotes(randomText(random));
            const QByteArray failure = QStringLiteral("case %1 of seed %2").arg(i).arg(kSeed).toUtf8();
            const QString stored = "SELECT hex(catname) FROM tblcategory WHERE catkey='" + catkey + "'";
            QVERIFY2(Catalogue::Current().Connection().Execute(Sql::InsertCategory(catkey, name)), failure);
            QVERIFY2(DirectValue(m_folder.dbPath(), stored) == name.toUtf8().toHex().toUpper(), failure);
            QVERIFY2(
                Catalogue::Current().Connection().Execute(Sql::InsertDocument(dockey, text, text, text, catkey, text)),
                failure);
            sqlRecordset rs;
            rs.OpenRecordset(Sql::SelectCategoryDocuments(catkey), Catalogue::Current().Connection().db());
            QVERIFY2(!rs.AtEOF() && rs.Value(QStringLiteral("dockey")).toText() == dockey, failure);
            for (const char* column : {"docref", "doctitle", "docpath", "isoref"}) {
                const Variant value = rs.Value(QString::fromLatin1(column));
                QVERIFY2(value.type() == Variant::Type::Text && value.toText() == text, failure);
            }
            rs.MoveNext();
            QVERIFY2(rs.AtEOF(), failure);
            QVERIFY2(Catalogue::Current().Connection().Execute(Sql::DeleteDocument(dockey)), failure);
            QVERIFY2(Catalogue::Current().Connection().Execute(Sql::RenameCategory(catkey, rename)), failure);
            QVERIFY2(DirectValue(m_folder.dbPath(), stored) == rename.toUtf8().toHex().toUpper(), failure);
            QVERIFY2(Catalogue::Current().Connection().Execute(Sql::DeleteCategory(catkey)), failure);
        }
        QCOMPARE(tables(), before);
        QCOMPARE(m_ui.prompts(), QStringList());
    }

    // The engine stops reading at a NUL: such a text is refused whole, never cut short, and a
    // statement that goes on after one does not hang the program.
    void textsHoldingNulAreRefusedWhole()
    {
        const QList<QStringList> before = tables();
        const QString text = QStringLiteral("before") + QChar(u'\0') + QStringLiteral("after");
        QVERIFY(!Catalogue::Current().Connection().Execute(Sql::InsertDocument("N-" + text, text, text, text, text, text)));
        QVERIFY(!Catalogue::Current().Connection().Execute("UPDATE tblinit SET init=7;" + QString(QChar(u'\0'))
                                              + "UPDATE tblinit SET init=8"));
        sqlRecordset rs;
        rs.OpenRecordset(Sql::SelectCategoryDocuments(text), Catalogue::Current().Connection().db());
        QCOMPARE(m_ui.prompts(), QStringList(3, QStringLiteral("The statement holds a NUL character")));
        QCOMPARE(m_ui.boxes[0].style, 16);
        QCOMPARE(tables(), before);
    }
};

QTEST_MAIN(TestTextProperty)
#include "tst_text_property.moc"
