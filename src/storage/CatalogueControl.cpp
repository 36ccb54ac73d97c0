#include "storage/Catalogue.h"

#include "platform/ErrorTrap.h"
#include "platform/ProgramFolder.h"
#include "storage/Sha256.h"
#include "storage/Statements.h"
#include "storage/sqlDB.h"
#include "storage/sqlRecordset.h"
#include <QDir>
#include <QFileInfo>

// Document control: the control data beside each record, its transitions, the archive of approved
// copies and the history.

namespace {

// A reference as a file or folder name: separators and NULs cannot stand in one.
QString fileNameOf(const QString& text)
{
    QString name = text;
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c == u'\0')
            c = u'_';
    }
    return name == QLatin1String(".") || name == QLatin1String("..") ? QStringLiteral("_") : name;
}

// Copies the file into the archive under its final name, whole or not at all, read-only.
QString archiveCopy(const QString& source, const QString& target)
{
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return QStringLiteral("the folder %1 cannot be made").arg(QFileInfo(target).absolutePath());
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile in(source);
    if (!in.copy(partial))
        return in.errorString();
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        return QStringLiteral("the copy cannot be put in place");
    }
    return QString();
}

} // namespace

QString Catalogue::ArchiveFolder(const QString& docref)
{
    return DataFolder() + QStringLiteral("/archive/") + fileNameOf(docref);
}

bool Catalogue::refuseWithoutControl()
{
    if (m_control)
        return false;
    MsgBox(QStringLiteral("The catalogue '") + FilePath()
               + QStringLiteral("' could not be prepared for document control: it was read-only or in use when it "
                                "was opened. Nothing was changed."),
           MsgStyle::Critical);
    return true;
}

DocumentControl Catalogue::Control(const QString& dockey)
{
    if (!m_control)
        return {};
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectControl(dockey), m_db->db());
    if (rs.AtEOF())
        return {};
    QStringList texts;
    for (const char* column :
         {"kind", "revision", "status", "owner", "approvedby", "approvedon", "approvedhash", "reviewmonths",
          "nextreview", "retentionmonths", "retentionends", "issuer", "edition", "withdrawnreason"})
        texts << rs.Value(QLatin1String(column)).toText();
    rs.CloseRecordset();
    return DocumentControl::FromTexts(texts);
}

Catalogue::Write Catalogue::controlChange(const QString& dockey, const DocumentControl& control,
                                          const QList<QStringList>& history)
{
    if (refuseWithoutControl())
        return Write::Refused;
    return change({Sql::UpsertControl(dockey, control.Texts(), m_controlLinks)}, history);
}

// Each field that changed has its own history row, named by the field.
Catalogue::Write Catalogue::SaveControl(const QString& dockey, const DocumentControl& control)
{
    const QStringList names = {"Kind",        "Revision",           "Status",           "Owner",
                               "Approved by", "Approved on",        "Approved SHA-256", "Review interval (months)",
                               "Next review", "Retention (months)", "Retention ends",   "Issuer",
                               "Edition",     "Reason withdrawn"};
    const QStringList before = Control(dockey).Texts();
    const QStringList after = control.Texts();
    const QString catkey = CategoryOf(dockey);
    QList<QStringList> history;
    for (int i = 0; i < names.size(); ++i) {
        if (before[i] != after[i])
            history << historyRow(dockey, catkey, names[i] + QStringLiteral(" changed"), before[i], after[i]);
    }
    return controlChange(dockey, control, history);
}

int Catalogue::CategoryReviewMonths(const QString& catkey)
{
    if (!m_control)
        return kDefaultReviewMonths;
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectCategoryReviewMonths(catkey), m_db->db());
    const int months = rs.AtEOF() ? 0 : rs.Value(QStringLiteral("reviewmonths")).toText().toInt();
    return months > 0 ? months : kDefaultReviewMonths;
}

Catalogue::Write Catalogue::SetCategoryReviewMonths(const QString& catkey, int months)
{
    if (refuseWithoutControl())
        return Write::Refused;
    return change({Sql::UpsertCategoryReviewMonths(catkey, months)},
                  {historyRow(QString(), catkey, "Category review interval changed",
                              QString::number(CategoryReviewMonths(catkey)), QString::number(months))});
}

int Catalogue::reviewMonths(const QString& dockey, const DocumentControl& control)
{
    return control.reviewMonths > 0 ? control.reviewMonths : CategoryReviewMonths(CategoryOf(dockey));
}

Catalogue::Write Catalogue::Approve(const Document& document, const QString& approver, const QDate& on)
{
    if (refuseWithoutControl())
        return Write::Refused;
    DocumentControl control = Control(document.key);
    auto refuse = [&document](const QString& why) {
        MsgBox(document.ref + QStringLiteral(" was not approved: ") + why, MsgStyle::Critical);
        return Write::Refused;
    };
    if (control.status != DocumentControl::Status::Draft)
        return refuse(QStringLiteral("only a draft can be approved. Start a new revision first."));
    if (control.revision.trimmed().isEmpty())
        return refuse(QStringLiteral("it has no revision. Give it one in Document control."));
    const QFileInfo file(document.path);
    const QString hash = file.isFile() ? Sha256::OfFile(document.path) : QString();
    if (hash.isEmpty())
        return refuse(QStringLiteral("its file '") + document.path
                      + QStringLiteral("' is missing or cannot be read, so no approved copy can be kept."));
    const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
    const QString copy = ArchiveFolder(document.ref) + QLatin1Char('/') + fileNameOf(document.ref)
        + QStringLiteral(" rev ") + fileNameOf(control.revision) + suffix;
    if (QFileInfo::exists(copy))
        return refuse(QStringLiteral("revision ") + control.revision + QStringLiteral(" is already in the archive ('")
                      + copy + QStringLiteral("'). Give the new revision another name."));
    if (const QString failed = archiveCopy(document.path, copy); !failed.isEmpty())
        return refuse(QStringLiteral("the archive cannot be written (") + failed + QStringLiteral(")."));
    control.status = DocumentControl::Status::Approved;
    control.approvedBy = approver;
    control.approvedOn = on;
    control.approvedHash = hash;
    control.nextReview = DocumentControl::MonthsAfter(on, reviewMonths(document.key, control));
    const Write approved
        = controlChange(document.key, control,
                        {historyRow(document.key, CategoryOf(document.key), QStringLiteral("Approved"), QString(),
                                    QStringLiteral("rev %1 by %2 on %3, SHA-256 %4")
                                        .arg(control.revision, approver, DocumentControl::DateText(on), hash))});
    if (approved != Write::Done) {
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(copy);
    }
    return approved;
}

Catalogue::Write Catalogue::NewRevision(const QString& dockey, const QString& revision)
{
    DocumentControl control = Control(dockey);
    const QString old = control.revision;
    control.revision = revision;
    control.status = DocumentControl::Status::Draft;
    control.approvedBy.clear();
    control.approvedOn = QDate();
    control.approvedHash.clear();
    return controlChange(dockey, control, {historyRow(dockey, CategoryOf(dockey), "New revision", old, revision)});
}

Catalogue::Write Catalogue::ReviewDone(const QString& dockey, const QString& reviewer, const QDate& on)
{
    DocumentControl control = Control(dockey);
    const QDate old = control.nextReview;
    control.nextReview = DocumentControl::MonthsAfter(on, reviewMonths(dockey, control));
    return controlChange(
        dockey, control,
        {historyRow(dockey, CategoryOf(dockey), "Reviewed", DocumentControl::DateText(old),
                    QStringLiteral("by %1 on %2; next review %3")
                        .arg(reviewer, DocumentControl::DateText(on), DocumentControl::DateText(control.nextReview)))});
}

Catalogue::Write Catalogue::Withdraw(const QString& dockey, const QString& reason)
{
    DocumentControl control = Control(dockey);
    const QString old = DocumentControl::StatusText(control.status);
    control.status = DocumentControl::Status::Obsolete;
    control.withdrawnReason = reason;
    return controlChange(dockey, control, {historyRow(dockey, CategoryOf(dockey), "Withdrawn", old, reason)});
}

std::vector<Document> Catalogue::DueForReview(const QDate& today, int withinDays)
{
    if (!m_control)
        return {};
    return documents(Sql::SelectDueForReview(DocumentControl::DateText(today.addDays(withinDays))),
                     QStringLiteral("dockey"));
}

int Catalogue::OverdueCount(const QDate& today)
{
    if (!m_control)
        return 0;
    sqlRecordset rs;
    rs.OpenRecordset(Sql::CountDueForReview(DocumentControl::DateText(today.addDays(-1))), m_db->db());
    return rs.AtEOF() ? 0 : rs.Table().at(0, 1).toText().toInt();
}

std::vector<HistoryEntry> Catalogue::History(const QString& dockey)
{
    std::vector<HistoryEntry> entries;
    if (!m_control)
        return entries;
    sqlRecordset rs;
    rs.OpenRecordset(Sql::SelectHistory(dockey), m_db->db());
    for (; !rs.AtEOF(); rs.MoveNext()) {
        auto text = [&rs](const char* column) { return rs.Value(QLatin1String(column)).toText(); };
        entries.push_back({text("happened"), text("who"), text("action"), text("oldvalue"), text("newvalue")});
    }
    rs.CloseRecordset();
    return entries;
}
