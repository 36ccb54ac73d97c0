#include "CatalogueFiller.h"
#include "storage/Catalogue.h"

#include "mainwindow/ClauseTree.h"
#include "storage/Statements.h"
#include "storage/modDB.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QCryptographicHash>
#include <QDate>
#include <QHash>
#include <algorithm>

namespace {

const QString kLargest = QStringLiteral("Forms");

// Reference prefixes of the delivered categories and of the ten a larger organisation adds.
const QHash<QString, QString> kPrefixes = {
    {QStringLiteral("QSM"), QStringLiteral("QM")},
    {QStringLiteral("Policies"), QStringLiteral("POL")},
    {QStringLiteral("Procedures"), QStringLiteral("QP")},
    {QStringLiteral("Forms"), QStringLiteral("F")},
    {QStringLiteral("Work Instructions"), QStringLiteral("WI")},
    {QStringLiteral("Management Reviews"), QStringLiteral("MR")},
    {QStringLiteral("Internal Audits"), QStringLiteral("IA")},
    {QStringLiteral("Customer Complaints"), QStringLiteral("CC")},
    {QStringLiteral("Corrective Action"), QStringLiteral("CA")},
    {QStringLiteral("Document Templates"), QStringLiteral("DT")},
};

const QList<QPair<QString, QString>> kAddedCategories = {
    {QStringLiteral("Supplier Evaluation"), QStringLiteral("SE")},
    {QStringLiteral("Calibration Records"), QStringLiteral("CAL")},
    {QStringLiteral("Training Records"), QStringLiteral("TR")},
    {QStringLiteral("Job Descriptions"), QStringLiteral("JD")},
    {QStringLiteral("Product Data Sheets"), QStringLiteral("SPC")},
    {QStringLiteral("Drawings"), QStringLiteral("DWG")},
    {QStringLiteral("Inspection Plans"), QStringLiteral("IP")},
    {QStringLiteral("Risk Assessments"), QStringLiteral("RA")},
    {QStringLiteral("External Documents"), QStringLiteral("EXT")},
    {QStringLiteral("Preventive Action"), QStringLiteral("PA")},
};

const QStringList kWords = {
    QStringLiteral("Control"),        QStringLiteral("Records"),
    QStringLiteral("Supplier"),       QStringLiteral("Evaluation"),
    QStringLiteral("Calibration"),    QStringLiteral("Measuring"),
    QStringLiteral("Equipment"),      QStringLiteral("Training"),
    QStringLiteral("Competence"),     QStringLiteral("Customer"),
    QStringLiteral("Complaint"),      QStringLiteral("Corrective"),
    QStringLiteral("Preventive"),     QStringLiteral("Action"),
    QStringLiteral("Internal"),       QStringLiteral("Audit"),
    QStringLiteral("Schedule"),       QStringLiteral("Report"),
    QStringLiteral("Management"),     QStringLiteral("Review"),
    QStringLiteral("Minutes"),        QStringLiteral("Design"),
    QStringLiteral("Development"),    QStringLiteral("Verification"),
    QStringLiteral("Validation"),     QStringLiteral("Purchasing"),
    QStringLiteral("Order"),          QStringLiteral("Inspection"),
    QStringLiteral("Test"),           QStringLiteral("Plan"),
    QStringLiteral("Nonconforming"),  QStringLiteral("Product"),
    QStringLiteral("Release"),        QStringLiteral("Identification"),
    QStringLiteral("Traceability"),   QStringLiteral("Preservation"),
    QStringLiteral("Handling"),       QStringLiteral("Storage"),
    QStringLiteral("Delivery"),       QStringLiteral("Contract"),
    QStringLiteral("Requirements"),   QStringLiteral("Objectives"),
    QStringLiteral("Policy"),         QStringLiteral("Responsibility"),
    QStringLiteral("Authority"),      QStringLiteral("Communication"),
    QStringLiteral("Infrastructure"), QStringLiteral("Environment"),
    QStringLiteral("Monitoring"),     QStringLiteral("Analysis"),
    QStringLiteral("Improvement"),    QStringLiteral("Satisfaction"),
    QStringLiteral("Survey"),         QStringLiteral("Checklist"),
    QStringLiteral("Register"),       QStringLiteral("Log"),
    QStringLiteral("Approval"),       QStringLiteral("Change"),
    QStringLiteral("Request"),        QStringLiteral("Maintenance"),
};

} // namespace

bool CatalogueFiller::Fill(int documents, Result& result)
{
    if (!ReadFreshCategories())
        return false;
    Share(documents);
    if (!Catalogue::Current().Connection().Execute(Sql::BeginTransaction()))
        return false;
    if (!AddCategories() || !AddDocuments()) {
        Catalogue::Current().Connection().RollBack();
        return false;
    }
    if (!Catalogue::Current().Connection().Execute(Sql::CommitTransaction()))
        return false;
    result.documents = 0;
    for (const Category& category : m_categories) {
        result.documents += category.seeded + category.wanted;
        if (category.name == kLargest) {
            result.largestKey = category.key;
            result.largestName = category.name;
            result.largestCount = category.seeded + category.wanted;
        }
    }
    return true;
}

// The delivered categories and how many of the delivered documents each already holds.
bool CatalogueFiller::ReadFreshCategories()
{
    m_categories.clear();
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectCategories(), Catalogue::Current().Connection().db());
    while (!rs.AtEOF()) {
        const QString name = rs.Value(QStringLiteral("catname")).toText();
        m_categories.push_back(
            {rs.Value(QStringLiteral("catkey")).toText(), name, kPrefixes.value(name, QStringLiteral("DOC"))});
        rs.MoveNext();
    }
    rs.CloseRecordset();
    for (Category& category : m_categories) {
        sqlRecordset documents;
        documents.OpenRecordset(Sql::SelectCategoryDocuments(category.key), Catalogue::Current().Connection().db());
        category.seeded = documents.Table().rows();
        documents.CloseRecordset();
    }
    for (const auto& [name, prefix] : kAddedCategories)
        m_categories.push_back({GetGUID(), name, prefix, 0, 0, true});
    return !m_categories.empty();
}

// Half of all documents in the largest category, the rest spread unevenly over the others.
void CatalogueFiller::Share(int documents)
{
    int seeded = 0;
    for (const Category& category : m_categories)
        seeded += category.seeded;
    std::uniform_real_distribution<double> weight(0.5, 1.5);
    std::vector<double> weights;
    double total = 0;
    for (const Category& category : m_categories) {
        weights.push_back(category.name == kLargest ? 0 : weight(m_random));
        total += weights.back();
    }
    int rest = documents - documents / 2;
    int restSeeded = 0;
    for (const Category& category : m_categories)
        restSeeded += category.name == kLargest ? 0 : category.seeded;
    int toShare = std::max(0, rest - restSeeded);
    Category* last = nullptr;
    for (std::size_t i = 0; i < m_categories.size(); ++i) {
        Category& category = m_categories[i];
        if (category.name == kLargest) {
            category.wanted = std::max(0, documents / 2 - category.seeded);
            continue;
        }
        category.wanted = int(toShare * weights[i] / total);
        last = &category;
    }
    int shared = 0;
    for (const Category& category : m_categories)
        shared += category.name == kLargest ? 0 : category.wanted;
    if (last)
        last->wanted += toShare - shared;
}

bool CatalogueFiller::AddCategories()
{
    for (const Category& category : m_categories) {
        if (category.added
            && !Catalogue::Current().Connection().Execute(Sql::InsertCategory(category.key, category.name)))
            return false;
    }
    return true;
}

// A catalogue grows over the years: each category numbers its documents as they come, and the
// categories take turns at random. So within a category the records lie in the file in reference
// order, and across categories they are mixed. With the order shuffled as well (the worst case for
// the engine, which then fetches every listed record from another place in the file) the
// references are numbered at random too.
bool CatalogueFiller::AddDocuments()
{
    struct Pending
    {
        const Category* category;
        int number;
        int width;
    };
    std::vector<Pending> pending;
    for (const Category& category : m_categories) {
        const int width = std::max(4, int(QString::number(category.wanted).size()));
        for (int n = 1; n <= category.wanted; ++n)
            pending.push_back({&category, n, width});
    }
    std::shuffle(pending.begin(), pending.end(), m_random);
    if (!m_shuffled) {
        QHash<const Category*, int> numbered;
        for (Pending& p : pending)
            p.number = ++numbered[p.category];
    }
    for (const Pending& p : pending) {
        const QString docref
            = p.category->prefix + QLatin1Char('-') + QStringLiteral("%1").arg(p.number, p.width, 10, QLatin1Char('0'));
        const QString docpath = QStringLiteral("/srv/qms/documents/") + Slug(p.category->name) + QLatin1Char('/')
            + docref + QStringLiteral(".rtf");
        const QString dockey = GetGUID();
        if (!Catalogue::Current().Connection().Execute(
                Sql::InsertDocument(dockey, docref, Title(), docpath, p.category->key, Clauses()))
            || !AddControl(dockey, docref))
            return false;
    }
    return true;
}

// Of the controlled documents most are approved, one in ten is a draft and one in twenty
// obsolete; one in five is a record. Values as the program writes them (its control statement).
bool CatalogueFiller::AddControl(const QString& dockey, const QString& docref)
{
    if (std::uniform_int_distribution<int>(0, 2)(m_controlRandom) != 0)
        return true;
    std::uniform_int_distribution<int> percent(0, 99);
    static const QStringList owners
        = {QStringLiteral("Quality Manager"), QStringLiteral("Production Manager"), QStringLiteral("Purchasing"),
           QStringLiteral("Engineering"), QStringLiteral("Human Resources")};
    const int statusDraw = percent(m_controlRandom);
    const QString status = statusDraw < 85 ? QStringLiteral("Approved")
        : statusDraw < 95                  ? QStringLiteral("Draft")
                                           : QStringLiteral("Obsolete");
    const QDate next = QDate::currentDate().addDays(std::uniform_int_distribution<int>(-182, 547)(m_controlRandom));
    const QString owner = owners[std::uniform_int_distribution<int>(0, int(owners.size()) - 1)(m_controlRandom)];
    const bool approved = status != QLatin1String("Draft");
    const QStringList values
        = {percent(m_controlRandom) < 20 ? QStringLiteral("Record") : QStringLiteral("Document"),
           QString(QChar(u'A' + std::uniform_int_distribution<int>(0, 5)(m_controlRandom))),
           status,
           owner,
           approved ? owners[0] : QString(),
           approved ? next.addMonths(-12).toString(Qt::ISODate) : QString(),
           approved ? QString::fromLatin1(QCryptographicHash::hash(docref.toUtf8(), QCryptographicHash::Sha256).toHex())
                    : QString(),
           QStringLiteral("0"),
           next.toString(Qt::ISODate),
           QStringLiteral("0"),
           QString(),
           QString(),
           QString(),
           status == QLatin1String("Obsolete") ? QStringLiteral("Superseded") : QString()};
    return Catalogue::Current().Connection().Execute(Sql::UpsertControl(dockey, values, true));
}

QString CatalogueFiller::Title()
{
    std::uniform_int_distribution<int> count(2, 6);
    std::uniform_int_distribution<int> word(0, int(kWords.size()) - 1);
    QStringList words;
    for (int i = count(m_random); i > 0; --i)
        words << kWords[word(m_random)];
    return words.join(QLatin1Char(' '));
}

// One to four different clauses of the tree (never the root), in tree order.
QString CatalogueFiller::Clauses()
{
    const auto& table = ClauseTable();
    std::uniform_int_distribution<int> count(1, 4);
    std::uniform_int_distribution<int> node(1, int(table.size()) - 1);
    std::vector<int> picked;
    for (int i = count(m_random); i > 0; --i) {
        const int n = node(m_random);
        if (std::find(picked.begin(), picked.end(), n) == picked.end())
            picked.push_back(n);
    }
    std::sort(picked.begin(), picked.end());
    QStringList clauses;
    for (int n : picked)
        clauses << QString::fromLatin1(table[std::size_t(n)].text);
    return clauses.join(QLatin1Char(','));
}

QString CatalogueFiller::Slug(const QString& name)
{
    return name.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
}
