#include "storage/Statements.h"

#include "storage/modDB.h"
#include <QHash>
#include <QStringList>

namespace Sql {

QString Quoted(const QString& text)
{
    return QLatin1Char('\'') + SqlText(text) + QLatin1Char('\'');
}

namespace {
// The text of a statement of many rows: before, the parameters of as many rows as the values fill,
// "(?,?),(?,?)", and after. Made once for each number of rows: an import asks for the same few again
// and again.
QString manyRows(const char* before, qsizetype values, int columns, const char* after)
{
    static QHash<std::pair<const char*, qsizetype>, QString> made;
    QString& text = made[{before, values}];
    if (text.isEmpty()) {
        const QString row = QLatin1Char('(') + QStringLiteral("?,").repeated(columns - 1) + QStringLiteral("?)");
        text = QLatin1String(before) + QStringList(values / columns, row).join(QLatin1Char(',')) + QLatin1String(after);
    }
    return text;
}
// A document is stored or refiled only under a category that is there: another program may have
// deleted it since the window listed it.
QString categoryExists(const QString& catkey)
{
    return QStringLiteral("EXISTS(SELECT 1 FROM tblcategory WHERE catkey=") + Quoted(catkey) + QLatin1Char(')');
}
} // namespace

QString SelectInit()
{
    return QStringLiteral("SELECT init FROM tblinit");
}

QString SelectTableNames()
{
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'");
}

QString UpdateInitDone()
{
    return QStringLiteral("UPDATE tblinit SET init=1");
}

QString UpdateDocumentPath(const QString& folder, const QString& stem, const QString& extension)
{
    return QStringLiteral("UPDATE tbldocument SET ") + QStringLiteral("docpath=") + Quoted(folder + stem + extension)
        + QStringLiteral(" ") + QStringLiteral("WHERE docref=") + Quoted(stem)
        + QStringLiteral(" AND instr(docpath,'/')=0 AND instr(docpath,'\\')=0");
}

QString BeginTransaction()
{
    return QStringLiteral("BEGIN");
}

QString CommitTransaction()
{
    return QStringLiteral("COMMIT");
}

QString RollbackTransaction()
{
    return QStringLiteral("ROLLBACK");
}

QString SelectCategories()
{
    return QStringLiteral("SELECT catkey,catname FROM tblcategory ORDER BY catorder");
}

QString SelectCategoryDocuments(const QString& catkey)
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref FROM tbldocument WHERE catkey=")
        + Quoted(catkey) + QStringLiteral(" ORDER BY docref");
}

QString SelectAllDocuments()
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref FROM tbldocument ORDER BY docref");
}

QString UpdateDocumentCategory(const QString& catkey, const QString& dockey)
{
    return QStringLiteral("UPDATE tbldocument SET catkey=") + Quoted(catkey) + QStringLiteral(" ")
        + QStringLiteral("WHERE dockey=") + Quoted(dockey) + QStringLiteral(" AND ") + categoryExists(catkey);
}

QString SelectAllDocumentsWithCategory()
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref,catname FROM tbldocument LEFT JOIN tblcategory "
                          "USING(catkey) ORDER BY docref");
}

QString SelectCategory(const QString& catkey)
{
    return QStringLiteral("SELECT catkey,catname FROM tblcategory WHERE catkey=") + Quoted(catkey);
}

QString UpdateCategoryOrder(int position, const QString& catkey)
{
    return QStringLiteral("UPDATE tblcategory SET ") + QStringLiteral("catorder=") + QString::number(position)
        + QStringLiteral(" ") + QStringLiteral("WHERE catkey=") + Quoted(catkey);
}

QString InsertCategory(const QString& catkey, const QString& catname)
{
    return QStringLiteral("INSERT INTO tblcategory VALUES(") + Quoted(catkey) + QLatin1Char(',') + Quoted(catname)
        + QStringLiteral(",(SELECT IFNULL(MAX(catorder),0)+1 FROM tblcategory))");
}

QString InsertCategoryAt(const QString& catkey, const QString& catname, int catorder)
{
    return QStringLiteral("INSERT INTO tblcategory VALUES(") + Quoted(catkey) + QLatin1Char(',') + Quoted(catname)
        + QLatin1Char(',') + QString::number(catorder) + QLatin1Char(')');
}

QString RenameCategory(const QString& catkey, const QString& catname)
{
    return QStringLiteral("UPDATE tblcategory SET catname=") + Quoted(catname) + QStringLiteral(" WHERE catkey=")
        + Quoted(catkey);
}

QString DeleteCategoryControl(const QString& catkey)
{
    return QStringLiteral("DELETE FROM tblcontrol WHERE dockey IN (SELECT dockey FROM tbldocument WHERE catkey=")
        + Quoted(catkey) + QLatin1Char(')');
}

QString DeleteCategoryDocuments(const QString& catkey)
{
    return QStringLiteral("DELETE FROM tbldocument WHERE catkey=") + Quoted(catkey);
}

QString DeleteCategory(const QString& catkey)
{
    return QStringLiteral("DELETE FROM tblcategory WHERE catkey=") + Quoted(catkey);
}

QString InsertDocument(const QString& dockey, const QString& docref, const QString& doctitle, const QString& docpath,
                       const QString& catkey, const QString& isoref)
{
    return QStringLiteral("INSERT INTO tbldocument SELECT ") + Quoted(dockey) + QLatin1Char(',') + Quoted(docref)
        + QLatin1Char(',') + Quoted(doctitle) + QLatin1Char(',') + Quoted(docpath) + QLatin1Char(',') + Quoted(catkey)
        + QLatin1Char(',') + Quoted(isoref) + QStringLiteral(" WHERE ") + categoryExists(catkey);
}

QString UpdateDocument(const QString& dockey, const QString& docref, const QString& doctitle, const QString& docpath,
                       const QString& isoref)
{
    return QStringLiteral("UPDATE tbldocument SET docref=") + Quoted(docref) + QStringLiteral(",doctitle=")
        + Quoted(doctitle) + QStringLiteral(",docpath=") + Quoted(docpath) + QStringLiteral(",isoref=") + Quoted(isoref)
        + QStringLiteral(" WHERE dockey=") + Quoted(dockey);
}

QString DeleteDocument(const QString& dockey)
{
    return QStringLiteral("DELETE FROM tbldocument WHERE dockey=") + Quoted(dockey);
}

QString DeleteControl(const QString& dockey)
{
    return QStringLiteral("DELETE FROM tblcontrol WHERE dockey=") + Quoted(dockey);
}

Bound InsertDocuments(const QStringList& values)
{
    return {manyRows("INSERT OR IGNORE INTO tbldocument SELECT * FROM (VALUES", values.size(), 6,
                     ") WHERE EXISTS(SELECT 1 FROM tblcategory WHERE catkey=column5)"),
            values, int(values.size() / 6)};
}

Bound UpdateDocumentBound(const QString& dockey, const QString& docref, const QString& doctitle, const QString& docpath,
                          const QString& isoref)
{
    static const QString sql
        = QStringLiteral("UPDATE tbldocument SET docref=?2,doctitle=?3,docpath=?4,isoref=?5 WHERE dockey=?1");
    return {sql, {dockey, docref, doctitle, docpath, isoref}};
}

namespace {
const QString kControlColumns = QStringLiteral(",revision,status,nextreview");
QString notObsolete(bool includeObsolete, const QString& joiner)
{
    return includeObsolete ? QString() : joiner + QStringLiteral("IFNULL(status,'')<>'Obsolete'");
}
QString quotedList(const QStringList& values)
{
    QStringList quotedValues;
    for (const QString& value : values)
        quotedValues << Quoted(value);
    return quotedValues.join(QLatin1Char(','));
}
} // namespace

QString SelectCategoryDocumentsControlled(const QString& catkey, bool includeObsolete)
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref") + kControlColumns
        + QStringLiteral(" FROM tbldocument LEFT JOIN tblcontrol USING(dockey) WHERE catkey=") + Quoted(catkey)
        + notObsolete(includeObsolete, QStringLiteral(" AND ")) + QStringLiteral(" ORDER BY docref");
}

QString SelectAllDocumentsControlled(bool includeObsolete)
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref") + kControlColumns
        + QStringLiteral(" FROM tbldocument LEFT JOIN tblcontrol USING(dockey)")
        + notObsolete(includeObsolete, QStringLiteral(" WHERE ")) + QStringLiteral(" ORDER BY docref");
}

QString SelectAllDocumentsWithCategoryControlled(bool includeObsolete)
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref,catname") + kControlColumns
        + QStringLiteral(",kind,owner,approvedby,approvedon FROM tbldocument LEFT JOIN tblcategory USING(catkey) "
                         "LEFT JOIN tblcontrol USING(dockey)")
        + notObsolete(includeObsolete, QStringLiteral(" WHERE ")) + QStringLiteral(" ORDER BY docref");
}

QString SelectClauseListCounts()
{
    return QStringLiteral("SELECT isoref,count(*) FROM tbldocument WHERE isoref<>'' GROUP BY isoref");
}

QString SelectObsoleteClauseListCounts()
{
    return QStringLiteral("SELECT isoref,count(*) FROM tblcontrol JOIN tbldocument USING(dockey) WHERE "
                          "status='Obsolete' AND isoref<>'' GROUP BY isoref");
}

QString CountDueForReview(const QString& until)
{
    return QStringLiteral("SELECT count(*) FROM tblcontrol WHERE status IN ('Draft','Approved') AND nextreview "
                          "BETWEEN '0' AND ")
        + Quoted(until);
}

QString SelectRegister(ObsoleteRows obsolete, bool linked)
{
    const QString isObsolete = QStringLiteral("IFNULL(status,'Approved')='Obsolete'");
    // Through the links the documents are read in the file's order, each control row by the index
    // of its document's row; its key is checked all the same.
    const QString control = linked ? QStringLiteral("tbldocument NOT INDEXED LEFT JOIN tblcategory USING(catkey) "
                                                    "LEFT JOIN tblcontrol c INDEXED BY idxcontroldoc ON "
                                                    "c.docrowid=tbldocument.rowid AND c.dockey=tbldocument.dockey ")
                                   : QStringLiteral("tbldocument LEFT JOIN tblcategory USING(catkey) "
                                                    "LEFT JOIN tblcontrol USING(dockey) ");
    return QStringLiteral(
               "SELECT docref,doctitle,catname,IFNULL(isoref,''),docpath,IFNULL(kind,'Document'),IFNULL(revision,''),"
               "IFNULL(status,'Approved'),IFNULL(owner,''),IFNULL(approvedby,''),IFNULL(approvedon,''),"
               "IFNULL(nextreview,''),IFNULL(reviewmonths,0),IFNULL(retentionmonths,0),IFNULL(retentionends,''),"
               "IFNULL(issuer,''),IFNULL(edition,''),tbldocument.dockey FROM ")
        + control
        + (obsolete == ObsoleteRows::LeftOut ? QStringLiteral("WHERE NOT ") + isObsolete + QLatin1Char(' ') : QString())
        + QStringLiteral("ORDER BY ") + (obsolete == ObsoleteRows::Last ? isObsolete + QLatin1Char(',') : QString())
        + QStringLiteral("catorder,docref");
}

QString ControlLinksHold()
{
    return QStringLiteral("SELECT NOT EXISTS(SELECT 1 FROM tblcontrol c WHERE NOT EXISTS(SELECT 1 FROM tbldocument d "
                          "WHERE d.rowid=c.docrowid AND d.dockey=c.dockey) AND EXISTS(SELECT 1 FROM tbldocument d "
                          "WHERE d.dockey=c.dockey))");
}

QString SelectControlColumns()
{
    return QStringLiteral("SELECT dockey,revision,status,nextreview FROM tblcontrol");
}

QString SelectControl(const QString& dockey)
{
    return QStringLiteral(
               "SELECT kind,revision,status,owner,approvedby,approvedon,approvedhash,reviewmonths,nextreview,"
               "retentionmonths,retentionends,issuer,edition,withdrawnreason FROM tblcontrol WHERE dockey=")
        + Quoted(dockey);
}

namespace {
// The control columns a write gives, the dockey then UpsertControl's values; linked, the document's row
// number follows them.
QByteArray writtenControlColumns(bool linked)
{
    return QByteArrayLiteral("(dockey,kind,revision,status,owner,approvedby,approvedon,approvedhash,reviewmonths,"
                             "nextreview,retentionmonths,retentionends,issuer,edition,withdrawnreason")
        + (linked ? QByteArrayLiteral(",docrowid)") : QByteArrayLiteral(")"));
}
} // namespace

// Linked, the document that must be there gives its row number as well.
QString UpsertControl(const QString& dockey, const QStringList& values, bool linked)
{
    return QStringLiteral("INSERT OR REPLACE INTO tblcontrol ") + QLatin1String(writtenControlColumns(linked))
        + QStringLiteral(" SELECT ") + Quoted(dockey) + QLatin1Char(',') + quotedList(values)
        + (linked ? QStringLiteral(",rowid FROM tbldocument WHERE dockey=") + Quoted(dockey)
                  : QStringLiteral(" WHERE EXISTS(SELECT 1 FROM tbldocument WHERE dockey=") + Quoted(dockey)
                   + QLatin1Char(')'));
}

Bound UpsertControlBound(const QString& dockey, const QStringList& values, bool linked)
{
    const auto statement = [](bool linked) {
        return QStringLiteral("INSERT OR REPLACE INTO tblcontrol ") + QLatin1String(writtenControlColumns(linked))
            + QStringLiteral(" SELECT ?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15")
            + (linked ? QStringLiteral(",rowid FROM tbldocument WHERE dockey=?1")
                      : QStringLiteral(" WHERE EXISTS(SELECT 1 FROM tbldocument WHERE dockey=?1)"));
    };
    static const QString byKey = statement(false), withRow = statement(true);
    return {linked ? withRow : byKey, QStringList {dockey} + values};
}

Bound InsertControls(const QStringList& values, bool linked)
{
    // Kept for good: the statements are made once for each number of rows, by these texts' addresses.
    static const QByteArray byKey
        = "INSERT OR IGNORE INTO tblcontrol " + writtenControlColumns(false) + " SELECT * FROM (VALUES";
    static const QByteArray withRow
        = "INSERT OR IGNORE INTO tblcontrol " + writtenControlColumns(true) + " SELECT v.*,d.rowid FROM (VALUES";
    // Linked, the search for each document that must be there gives its row as well.
    return {linked ? manyRows(withRow.constData(), values.size(), 15,
                              ") AS v CROSS JOIN tbldocument d ON d.dockey=v.column1")
                   : manyRows(byKey.constData(), values.size(), 15,
                              ") WHERE EXISTS(SELECT 1 FROM tbldocument WHERE dockey=column1)"),
            values, int(values.size() / 15)};
}

QString SelectAllControl()
{
    return QStringLiteral("SELECT kind,revision,status,owner,approvedby,approvedon,approvedhash,reviewmonths,"
                          "nextreview,retentionmonths,retentionends,issuer,edition,withdrawnreason,dockey FROM "
                          "tblcontrol");
}

QString SelectCategoryReviewMonths(const QString& catkey)
{
    return QStringLiteral("SELECT reviewmonths FROM tblcategorycontrol WHERE catkey=") + Quoted(catkey);
}

QString UpsertCategoryReviewMonths(const QString& catkey, int months)
{
    return QStringLiteral("INSERT OR REPLACE INTO tblcategorycontrol (catkey,reviewmonths) SELECT ") + Quoted(catkey)
        + QLatin1Char(',') + QString::number(months) + QStringLiteral(" WHERE ") + categoryExists(catkey);
}

QString SelectDueForReview(const QString& until)
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref,catname") + kControlColumns
        + QStringLiteral(" FROM tblcontrol JOIN tbldocument USING(dockey) LEFT JOIN tblcategory USING(catkey) "
                         "WHERE status IN ('Draft','Approved') AND nextreview BETWEEN '0' AND ")
        + Quoted(until) + QStringLiteral(" ORDER BY nextreview,docref");
}

Bound InsertHistory(const QStringList& values)
{
    return {manyRows("INSERT INTO tblhistory (happened,who,dockey,catkey,action,oldvalue,newvalue) VALUES",
                     values.size(), 7, ""),
            values};
}

QString InsertHistoryForDocumentsOf(const QString& catkey, const QString& happened, const QString& who,
                                    const QString& action)
{
    return QStringLiteral("INSERT INTO tblhistory (happened,who,dockey,catkey,action,oldvalue,newvalue) SELECT ")
        + quotedList({happened, who}) + QStringLiteral(",dockey,catkey,") + Quoted(action)
        + QStringLiteral(",docref,'' FROM tbldocument WHERE catkey=") + Quoted(catkey);
}

QString SelectDocument(const QString& dockey)
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref,catkey FROM tbldocument WHERE dockey=")
        + Quoted(dockey);
}

QString SelectDocumentsWithReference(const QString& docref)
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref FROM tbldocument WHERE docref=")
        + Quoted(docref) + QStringLiteral(" ORDER BY dockey");
}

QString SelectOtherDocumentsWithReference(const QString& docref, const QString& dockey)
{
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref,catname FROM tbldocument LEFT JOIN tblcategory "
                          "USING(catkey) WHERE trim(docref)=trim(")
        + Quoted(docref) + QStringLiteral(") COLLATE NOCASE AND ifnull(dockey,'')<>") + Quoted(dockey)
        + QStringLiteral(" ORDER BY docref");
}

QString SelectHistory(const QString& dockey)
{
    return QStringLiteral("SELECT happened,who,action,oldvalue,newvalue FROM tblhistory WHERE dockey=") + Quoted(dockey)
        + QStringLiteral(" ORDER BY historyid");
}

QString SelectCheckPage(bool control, const QString& after, int limit)
{
    QStringList conditions;
    if (control)
        conditions << QStringLiteral("IFNULL(status,'')<>'Obsolete'");
    if (!after.isEmpty())
        conditions << after;
    return QStringLiteral("SELECT docref,doctitle,dockey,docpath,isoref,catname,")
        + (control ? QStringLiteral("revision,status,nextreview,approvedhash,") : QString())
        + QStringLiteral("tbldocument.rowid AS checkrow FROM tbldocument LEFT JOIN tblcategory USING(catkey)")
        + (control ? QStringLiteral(" LEFT JOIN tblcontrol USING(dockey)") : QString())
        + (conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND ")))
        + QStringLiteral(" ORDER BY docref,tbldocument.rowid LIMIT ") + QString::number(limit);
}

// No reference compares as greater than NULL: the rows after one without a reference are the
// others without one that come later in the file, then all that have one.
QString AfterCheckRow(const QString& docref, const QString& checkrow)
{
    if (docref == QLatin1String("NULL"))
        return QStringLiteral("(docref IS NULL AND tbldocument.rowid>") + checkrow
            + QStringLiteral(" OR docref IS NOT NULL)");
    return QStringLiteral("(docref,tbldocument.rowid)>(") + docref + QLatin1Char(',') + checkrow + QLatin1Char(')');
}

QString CountCheckable(bool control)
{
    // All but the obsolete ones, found by the status index: counted through a join, every document
    // would be looked up in the control table.
    return control ? QStringLiteral("SELECT (SELECT count(*) FROM tbldocument)-(SELECT count(*) FROM tblcontrol JOIN "
                                    "tbldocument USING(dockey) WHERE status='Obsolete')")
                   : QStringLiteral("SELECT count(*) FROM tbldocument");
}

QString UpdateDocumentFile(const QString& dockey, const QString& docpath)
{
    return QStringLiteral("UPDATE tbldocument SET docpath=") + Quoted(docpath) + QStringLiteral(" WHERE dockey=")
        + Quoted(dockey);
}

QString SelectExclusions()
{
    return QStringLiteral("SELECT clause,justification FROM tblexclusion ORDER BY clause");
}

QString UpsertExclusion(const QString& clause, const QString& justification, const QString& who,
                        const QString& happened)
{
    return QStringLiteral("INSERT OR REPLACE INTO tblexclusion (clause,justification,who,happened) VALUES(")
        + quotedList({clause, justification, who, happened}) + QLatin1Char(')');
}

QString DeleteExclusion(const QString& clause)
{
    return QStringLiteral("DELETE FROM tblexclusion WHERE clause=") + Quoted(clause);
}

QString HasNullReference(const QString& catkey)
{
    return QStringLiteral("SELECT EXISTS(SELECT 1 FROM tbldocument WHERE catkey=") + Quoted(catkey)
        + QStringLiteral(" AND docref IS NULL)");
}

QString CountCategoryDocuments(const QString& catkey)
{
    return QStringLiteral("SELECT documents FROM tbldocumentcount WHERE catkey=") + Quoted(catkey);
}

QString CountClauseDocuments(const QString& clause)
{
    return QStringLiteral("SELECT documents FROM tblclausecount WHERE clause=") + Quoted(clause);
}

namespace {
const char* kObsoleteRows = "SELECT d.rowid FROM tblcontrol c JOIN tbldocument d ON d.dockey=c.dockey WHERE "
                            "c.status='Obsolete'";
} // namespace

QString FillObsoleteTable()
{
    return QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS cadrelle_obsolete(rowid INTEGER PRIMARY KEY);"
                          "DELETE FROM temp.cadrelle_obsolete;INSERT INTO temp.cadrelle_obsolete ")
        + QLatin1String(kObsoleteRows);
}

QString SelectObsoleteDocuments(bool fromTable)
{
    return QStringLiteral("SELECT d.catkey,d.rowid,d.isoref FROM ")
        + (fromTable
               ? QStringLiteral("temp.cadrelle_obsolete o JOIN tbldocument d ON d.rowid=o.rowid")
               : QStringLiteral("tbldocument d WHERE d.rowid IN (") + QLatin1String(kObsoleteRows) + QLatin1Char(')'));
}

} // namespace Sql
