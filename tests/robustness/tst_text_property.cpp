// Whatever text the user types reaches the catalogue exactly as typed and touches no other row:
// thousands of generated texts built from the pieces that break hand-made statements.

#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/sqlDB.h"
#include "storage/sqlFields.h"
#include "storage/sqlRecordset.h"
#include "support/DirectSql.h"
#include "support/ScriptedUi.h"
#include "support/TestFolder.h"
#include <QRandomGenerator>
#include <QTest>

namespace {

// Fixed, so a failure names a case that can be run again.
constexpr quint32 kSeed = 20240508;
constexpr int kDocumentTexts = 2500;
constexpr int kCategoryTexts = 1500;
constexpr int kLongest = 100000;

const QStringList& pieces()
{
    static const QStringList list = [] {
        QStringList p {
            QStringLiteral("'"),
            QStringLiteral("''"),
            QStringLiteral("\""),
            QStringLiteral("\\"),
            QStringLiteral("\\'"),
            QStringLiteral("%"),
            QStringLiteral("_"),
            QStringLiteral(";"),
            QStringLiteral("--"),
            QStringLiteral("/*"),
            QStringLiteral("*/"),
            QStringLiteral("#"),
            QStringLiteral("');"),
            QStringLiteral("' OR '1'='1"),
            QStringLiteral("DROP TABLE tbldocument"),
            QStringLiteral("DELETE FROM tblcategory"),
            QStringLiteral("UPDATE tblinit SET init=0"),
            QStringLiteral("NULL"),
            QStringLiteral("X'00'"),
            QStringLiteral("char(0)"),
            QStringLiteral("?1"),
            QStringLiteral(":name"),
            QStringLiteral("@x"),
            QStringLiteral("$y"),
            QStringLiteral("||"),
            QStringLiteral("`"),
            QStringLiteral("[tbl]"),
            QStringLiteral("BEGIN"),
            QStringLiteral("COMMIT"),
            QStringLiteral(" "),
            QStringLiteral("Qualitätshandbuch"),
            QStringLiteral("Ελληνικά"),
            QStringLiteral("Русский"),
            QStringLiteral("品質マニュアル"),
            QStringLiteral("품질"),
            QStringLiteral("עברית"),
            QStringLiteral("العربية"),
            QStringLiteral("हिन्दी"),
            QStringLiteral("e\u0301"),
            QStringLiteral("\u200D"),
            QStringLiteral("\u2028"),
            QStringLiteral("\uFEFF"),
            QStringLiteral("\uFFFD"),
            QStringLiteral("‘’“”"),
            QStringLiteral("🙂"),
            QStringLiteral("👩‍👩‍👧"),
            QStringLiteral("🇩🇪"),
            QStringLiteral("𝔘𝔫𝔦"),
            QStringLiteral("C:\\docs\\QP01.doc"),
            QStringLiteral("/opt/cadrelle/documents/F12.xls"),
            QStringLiteral("4.2.1,5.4.1,8.1"),
        };
        // Every control character but NUL, the C1 block included.
        for (char16_t c = 1; c < 0x20; ++c)
            p << QString(QChar(c));
        for (char16_t c = 0x7F; c < 0xA0; ++c)
            p << QString(QChar(c));
        return p;
    }();
    return list;
}

QString randomText(QRandomGenerator& random)
{
    const int kind = random.bounded(100);
    // Mostly short texts; a few empty ones; a few very long ones.
    const int target = kind < 3 ? 0 : kind < 96 ? random.bounded(1, 80) : random.bounded(1000, kLongest + 1);
    QString text;
    while (text.size() < target) {
        if (random.bounded(4) == 0)
            text += QChar(char16_t(random.bounded(0x20, 0x7F)));
        else
            text += pieces()[random.bounded(pieces().size())];
    }
    // A long text is cut at its exact length, but never inside a surrogate pair.
    if (text.size() > target && target >= 1000) {
        text.truncate(target);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

// What a failure shows: the case, then the text with its unprintable characters as code points.
QByteArray describe(int index, const QString& text)
{
    QString shown;
    for (QChar c : text.left(200))
        shown += c.isPrint() ? QString(c) : QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return QStringLiteral("case %1 (seed %2, %3 characters): %4")
        .arg(index)
        .arg(kSeed)
        .arg(text.size())
        .arg(shown)
        .toUtf8();
}

QString key(const char* prefix, int index)
{
    return QStringLiteral("%1-%2-").arg(QLatin1String(prefix)).arg(index, 5, 10, QLatin1Char('0'));
}

} // namespace

class TestTextProperty : public QObject
{
    Q_OBJECT

    TestFolder* m_folder = nullptr;
    ScriptedUi* m_ui = nullptr;

    QList<QStringList> table(const QString& name)
    {
        return DirectQuery(m_folder->dbPath(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(name));
    }

private slots:
    void init()
    {
        m_folder = new TestFolder;
        m_ui = new ScriptedUi;
        m_folder->openCatalogue();
        // Durability is not what is tested here; without it thousands of writes take a second.
        QVERIFY(gDB->Execute(QStringLiteral("PRAGMA synchronous=OFF")));
    }

    void cleanup()
    {
        QVERIFY2(m_ui->boxes.isEmpty(), qPrintable(m_ui->prompts().join(QLatin1Char('\n'))));
        delete m_ui;
        delete m_folder;
    }

    // The text goes into every column of a record, the keys included (behind a unique prefix), and is
    // read back through the very query the document list uses.
    void documentRecordsKeepEveryText()
    {
        const QList<QStringList> documents = table(QStringLiteral("tbldocument"));
        const QList<QStringList> others = table(QStringLiteral("tblcategory")) + table(QStringLiteral("tblinit"));
        QRandomGenerator random(kSeed);
        for (int i = 0; i < kDocumentTexts; ++i) {
            const QString text = randomText(random);
            const QString dockey = key("D", i) + text;
            const QString catkey = key("C", i) + text;
            QVERIFY2(gDB->Execute(Sql::InsertDocument(dockey, text, text, text, catkey, text)), describe(i, text));
            sqlRecordset rs;
            rs.OpenRecordset(Sql::SelectCategoryDocuments(catkey), gDB->db());
            QVERIFY2(!rs.AtEOF(), describe(i, text));
            QCOMPARE(rs.Value(QStringLiteral("dockey")).toText(), dockey);
            for (const char* column : {"docref", "doctitle", "docpath", "isoref"}) {
                const Variant value = rs.Value(QString::fromLatin1(column));
                QVERIFY2(value.type() == Variant::Type::Text && value.toText() == text, describe(i, text));
            }
            rs.MoveNext();
            QVERIFY2(rs.AtEOF(), describe(i, text));
            rs.CloseRecordset();
            // Removed again by its key, so the next text meets the catalogue as delivered.
            QVERIFY2(gDB->Execute(Sql::DeleteDocument(dockey)), describe(i, text));
            if (i % 500 == 499 || text.size() >= 1000)
                QVERIFY2(table(QStringLiteral("tbldocument")) == documents, describe(i, text));
        }
        QCOMPARE(table(QStringLiteral("tbldocument")), documents);
        QCOMPARE(table(QStringLiteral("tblcategory")) + table(QStringLiteral("tblinit")), others);
    }

    // A typed category name is cleaned of its quotes, then added, renamed and read back as the tree
    // reads it; the other categories stay as they were.
    void categoryNamesKeepEveryTextButQuotes()
    {
        const QList<QStringList> categories = table(QStringLiteral("tblcategory"));
        const QList<QStringList> others = table(QStringLiteral("tbldocument")) + table(QStringLiteral("tblinit"));
        QRandomGenerator random(kSeed + 1);
        for (int i = 0; i < kCategoryTexts; ++i) {
            const QString typed = randomText(random);
            const QString retyped = randomText(random);
            const QString name = StripQuotes(typed);
            const QString rename = StripQuotes(retyped);
            QVERIFY2(!name.contains(QLatin1Char('\'')) && !name.contains(QLatin1Char('"')), describe(i, typed));
            QCOMPARE(name.size(), typed.size() - typed.count(QLatin1Char('\'')) - typed.count(QLatin1Char('"')));
            const QString catkey = GetGUID();
            QVERIFY2(gDB->Execute(Sql::InsertCategory(catkey, name)), describe(i, typed));
            QCOMPARE(lastCategory(), (QStringList {catkey, name}));
            QVERIFY2(gDB->Execute(Sql::RenameCategory(catkey, rename)), describe(i, retyped));
            QCOMPARE(lastCategory(), (QStringList {catkey, rename}));
            QVERIFY2(gDB->Execute(Sql::DeleteCategory(catkey)), describe(i, typed));
            if (i % 500 == 499)
                QCOMPARE(table(QStringLiteral("tblcategory")), categories);
        }
        QCOMPARE(table(QStringLiteral("tblcategory")), categories);
        QCOMPARE(table(QStringLiteral("tbldocument")) + table(QStringLiteral("tblinit")), others);
    }

    // The engine stops reading a statement at a NUL: such a text is refused whole, never cut short,
    // and a statement that goes on after one does not hang the program.
    void textsHoldingNulAreRefusedWhole()
    {
        const QList<QStringList> documents = table(QStringLiteral("tbldocument"));
        const QList<QStringList> initial = table(QStringLiteral("tblinit"));
        const QString text = QStringLiteral("before") + QChar(u'\0') + QStringLiteral("after");
        QVERIFY(!gDB->Execute(Sql::InsertDocument(key("N", 0), text, text, text, text, text)));
        QVERIFY(!gDB->Execute(QStringLiteral("UPDATE tblinit SET init=7;") + QChar(u'\0')
                              + QStringLiteral("UPDATE tblinit SET init=8")));
        sqlRecordset rs;
        rs.OpenRecordset(Sql::SelectCategoryDocuments(text), gDB->db());
        QVERIFY(!rs.AtEOF());
        QCOMPARE(rs.Fields().count(), 0);
        QCOMPARE(m_ui->prompts(), QStringList(3, QStringLiteral("The statement holds a NUL character")));
        QCOMPARE(m_ui->boxes[0].style, 16);
        QCOMPARE(table(QStringLiteral("tbldocument")), documents);
        QCOMPARE(table(QStringLiteral("tblinit")), initial);
        m_ui->boxes.clear();
    }

private:
    // The key and name of the category the tree shows last: a new one goes after all others.
    QStringList lastCategory()
    {
        QStringList last;
        sqlRecordset rs;
        rs.OpenRecordset(Sql::SelectCategories(), gDB->db());
        while (!rs.AtEOF()) {
            last = QStringList {rs.Value(QStringLiteral("catkey")).toText(),
                                rs.Value(QStringLiteral("catname")).toText()};
            rs.MoveNext();
        }
        rs.CloseRecordset();
        return last;
    }
};

QTEST_MAIN(TestTextProperty)
#include "tst_text_property.moc"
