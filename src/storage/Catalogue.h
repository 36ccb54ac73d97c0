#pragma once

#include "storage/Category.h"
#include "storage/ClauseCoverage.h"
#include "storage/Document.h"
#include "storage/DocumentControl.h"
#include "storage/DocumentWindow.h"
#include "storage/HistoryEntry.h"
#include "storage/ImportPlan.h"
#include "storage/RegisterCsv.h"
#include "storage/RelinkCandidate.h"
#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class ResultTable;
class sqlDB;
class Variant;
namespace Sql {
struct Bound;
}

// The catalogue: the one way to its data for the windows, the dialogs, the report, the start-up and
// the command-line tool. It owns the connection, builds and runs every statement, keeps
// transactions inside, and speaks in typed values. Failures are told through the message seam with
// the texts the program has always shown: a statement the engine refuses is told by the
// connection, and a query whose rows cannot be read throws, for the caller's trap to report with
// its tag.
class Catalogue
{
public:
    // What a write did: the engine refused it (already told), it ran but found nothing to change
    // (the record or category is gone), or it changed what it meant to.
    enum class Write
    {
        Refused,
        Unchanged,
        Done
    };

    // Opens the catalogue file and makes it the current one; with changeFolder the data folder
    // becomes the current folder first. A failure is told ("Cannot open '<path>'", the reason and
    // the advice) and leaves no catalogue open.
    static bool Open(const QString& path, bool changeFolder = false, const QString& advice = QString());
    static void Close();
    static bool IsOpen();
    // How many catalogues were opened so far: a reader made from one catalogue is not served by the next.
    static int Openings() { return s_openings; }
    // The open catalogue; fails as "Object variable not set" when none is open, for the caller's trap.
    static Catalogue& Current();

    QString FilePath() const;
    // Whether the file holds the catalogue's three tables; a file that does not is told once.
    bool HasCatalogueTables(const QString& advice);

    // The first-run state: whether the delivered records still wait to be pointed at the documents.
    bool InitPending();
    void MarkInitDone();
    // Points the records whose path is still a bare file name at the files of folder (which ends
    // with the separator): each file name updates the record whose reference is the name without
    // its extension. One transaction: all or nothing. afterEach runs after every file (it may
    // throw, which undoes the work). True when every path was written.
    bool FixDocumentPaths(const QString& folder, const QStringList& names, const std::function<void()>& afterEach);

    std::vector<Category> Categories();
    bool CategoryExists(const QString& catkey);
    // The documents of a category, by reference.
    std::vector<Document> CategoryDocuments(const QString& catkey);
    // The documents the clause node lists, by reference.
    std::vector<Document> ClauseDocuments(const QString& clause);
    // Every document with its category's name, by reference.
    std::vector<Document> AllDocuments();
    // The documents with the reference, obsolete or not, by key (a reference need not be unique).
    std::vector<Document> DocumentsWithReference(const QString& docref);
    // The documents other than dockey (obsolete ones too) with the reference, case and surrounding
    // blanks aside, with their categories' names: two such documents cannot be told apart.
    std::vector<Document> OtherDocumentsWithReference(const QString& docref, const QString& dockey);
    // The documents of a category, or of a clause node, as the list reads them: a page at a time, in
    // the order of the lists above. Null where the catalogue cannot serve them so (it has not the
    // counts and the clause list, they cannot be brought up to date now, or a reference is NULL);
    // the whole list is read then.
    std::unique_ptr<DocumentWindow> CategoryWindow(const QString& catkey);
    std::unique_ptr<DocumentWindow> ClauseWindow(const QString& clause);
    // Whether the lists include obsolete documents (they leave them out unless asked).
    void SetIncludeObsolete(bool include) { m_includeObsolete = include; }
    bool IncludeObsolete() const { return m_includeObsolete; }

    // Document control. Every change is refused, with one message, where the catalogue cannot hold
    // control data (read-only or in use when it was opened) or cannot be written.
    bool ControlAvailable() const { return m_control; }
    DocumentControl Control(const QString& dockey);
    // Stores the control fields of a document as given, each change with its history row.
    Write SaveControl(const QString& dockey, const DocumentControl& control);
    // Draft -> Approved: records the approver and date, the next review, and the file's SHA-256; keeps
    // a read-only copy of the file in the archive. Refused when the file is missing, the revision
    // empty or its copy already archived, or the archive cannot be written: nothing is recorded then.
    Write Approve(const Document& document, const QString& approver, const QDate& on);
    // Approved -> Draft under a new revision; the approved copy stays in the archive.
    Write NewRevision(const QString& dockey, const QString& revision);
    // The periodic review found the document still fit: the next review moves on from the date.
    Write ReviewDone(const QString& dockey, const QString& reviewer, const QDate& on);
    // -> Obsolete; the file stays where it is.
    Write Withdraw(const QString& dockey, const QString& reason);
    // The review interval of a category's documents (12 months unless set).
    int CategoryReviewMonths(const QString& catkey);
    Write SetCategoryReviewMonths(const QString& catkey, int months);
    // Documents not obsolete whose next review is past or within the days after today.
    std::vector<Document> DueForReview(const QDate& today, int withinDays);
    // How many documents, not obsolete, were due for review before today.
    int OverdueCount(const QDate& today);
    std::vector<HistoryEntry> History(const QString& dockey);
    // Finding and checking.
    // The documents whose reference, title, file or clause list holds every word of text, case and
    // accents aside; the words match literally, wherever they stand.
    std::vector<Document> Search(const QString& text);
    // Reads and folds the texts searched, if the catalogue changed since: done when the search box
    // takes the focus, so that the first keystroke does not wait for it.
    void PrepareSearch();
    // Every clause of the standard with the number of current documents that serve it and its
    // exclusion; with serving, also the documents of each clause, by reference.
    std::vector<ClauseCoverage> Coverage(QHash<QString, std::vector<Document>>* serving = nullptr);
    // Marks a clause of 7 not applicable, with a justification; another clause is refused with a
    // message. An empty justification brings the clause back.
    Write ExcludeClause(const QString& clause, const QString& justification);
    // Every current document whose file is missing, not a readable file, or changed since its
    // approval, with the problem. progress(done, total) is asked after each file; false stops. The
    // documents are read pageRows at a time (a few thousand when 0).
    std::vector<Document> CheckFiles(const std::function<bool(int, int)>& progress = {}, int pageRows = 0);
    // Looks for the files of the documents by their file names in folder and below.
    static std::vector<RelinkCandidate> PlanRelink(const std::vector<Document>& missing, const QString& folder);
    // Points the documents at their new files, all in one transaction, each with its history row.
    Write Relink(const std::vector<std::pair<QString, QString>>& keysAndPaths);

    // The register is every document with its category and control data, in the columns of
    // RegisterCsv::Fields, by category in the tree's order and reference within.
    // Which of the register's rows are read: all in its order; the current ones; or the current
    // ones followed by the obsolete ones, each part in the register's order (the master list's two
    // sections, read by one query so that both show the catalogue at one moment).
    enum class RegisterPart
    {
        All,
        Current,
        CurrentThenObsolete
    };
    // The register's rows handed to take one at a time, read batchRows at a time (a few thousand
    // when 0) so that no more are held. False when they could not all be read: told already, and
    // take may have had some of them.
    bool ForEachRegisterRow(const std::function<void(const QStringList&)>& take, RegisterPart part = RegisterPart::All,
                            int batchRows = 0);
    // Writes the register to file (opened) as CSV, a line at a time as its rows are read; rows
    // counts them. False when they could not all be read (told already): the file is incomplete.
    bool WriteRegister(QIODevice& file, int& rows);
    // What importing the table would do. mapping names, for each field of RegisterCsv::Fields it
    // takes, the table's column; ref, title, category and path are needed.
    ImportPlan PlanImport(const RegisterCsv::Table& table, const QHash<QString, int>& mapping);
    // The mapping a table's own header gives: its columns named like the register's fields, or as
    // the list's headings ("Doc Ref", "ISO Ref", "File", "Rev", ...), case aside.
    static QHash<QString, int> MappingOf(const QStringList& header);
    // Writes the plan's new and changed rows, their new categories and history, in one transaction.
    Write ApplyImport(const ImportPlan& plan);

    // The key of the category a document is filed under; empty when it is gone.
    QString CategoryOf(const QString& dockey);
    // The folder of the approved copies of a document.
    static QString ArchiveFolder(const QString& docref);

    // A new category after all others; its key, or the empty text when none was stored.
    QString AddCategory(const QString& name);
    Write RenameCategory(const QString& catkey, const QString& name);
    // The category and its documents together, or nothing.
    Write DeleteCategory(const QString& catkey);
    // Stores the order of the categories as given, all in one transaction.
    Write SaveCategoryOrder(const QStringList& catkeys);

    // Adds a document under the category, with a new key (set in document on success).
    Write AddDocument(const QString& catkey, Document& document);
    Write UpdateDocument(const Document& document);
    Write RemoveDocument(const QString& dockey);
    Write RefileDocument(const QString& dockey, const QString& catkey);

    // True when path names the catalogue file itself (also through another spelling or a link).
    bool IsCatalogueFile(const QString& path) const;
    // True when path names a file the engine keeps beside the catalogue (its journal, WAL or
    // shared-memory file): the engine would delete or adopt a backup written there.
    bool IsCatalogueWorkFile(const QString& path) const;
    // Writes a consistent copy of the catalogue to target through SQLite's online backup: whole or
    // not at all, into a temporary file renamed into place. An existing target is replaced. Throws
    // AppError with the reason on failure, and refuses the catalogue and its journal files.
    void Backup(const QString& target) const;

    // The documents of a result table with the list's columns (those it has of them).
    static std::vector<Document> DocumentsOf(const ResultTable& table,
                                             const std::function<bool(const Variant&)>& keep = {});

    // The connection, for the storage layer's own tools and tests.
    sqlDB& Connection() { return *m_db; }

    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    static constexpr int kDefaultReviewMonths = 12;

private:
    Catalogue();
    void upgrade();
    // Runs the statements as one transaction; the first must change a row, else nothing is kept
    // (Unchanged). The history rows go in with them where the catalogue keeps a history.
    Write change(const QStringList& statements, const QList<QStringList>& history = {}, bool firstMustChange = true);
    // The same for statements given one at a time: next sets the next one, or returns false. They may
    // have their values bound, and the history rows are among them: a write of many rows is neither
    // parsed per row nor held whole in memory.
    Write change(const std::function<bool(Sql::Bound&)>& next, bool firstMustChange);
    // A history row: the document and category it concerns, what happened, the old and new values.
    QStringList historyRow(const QString& dockey, const QString& catkey, const QString& action,
                           const QString& oldValue = QString(), const QString& newValue = QString()) const;
    Write controlChange(const QString& dockey, const DocumentControl& control, const QList<QStringList>& history);
    bool refuseWithoutControl();
    int reviewMonths(const QString& dockey, const DocumentControl& control);
    std::vector<Document> documents(const QString& query, const QString& firstField,
                                    const std::function<bool(const Variant&)>& keep = {});

    std::unique_ptr<sqlDB> m_db;
    bool m_control = false;
    bool m_includeObsolete = false;
    // The folded texts searched, made at the first search and again after any change.
    std::vector<std::pair<Document, QString>> m_searchable;
    qint64 m_searchableVersion = -1;
    struct ControlColumns
    {
        QString revision;
        DocumentControl::Status status;
        QDate nextReview;
    };
    QHash<QString, ControlColumns> m_controlCopy;
    qint64 m_controlCopyVersion = -1;
    bool m_controlCopyValid = false;
    // The rows with their control columns; obsolete ones left out unless includeObsolete.
    std::vector<Document> withControl(std::vector<Document> rows, bool includeObsolete);
    std::vector<Document> allDocuments(bool includeObsolete);
    const QHash<QString, ControlColumns>& controlCopy();
    qint64 dataVersion();
    // The obsolete documents, which the paged lists leave out by their row numbers.
    struct ObsoleteDocument
    {
        QString catkey;
        qint64 rowid;
        QString clauses;
    };
    std::vector<ObsoleteDocument> m_obsolete;
    qint64 m_obsoleteVersion = -1;
    bool m_obsoleteValid = false;
    const std::vector<ObsoleteDocument>& obsoleteDocuments();
    QHash<QString, int> m_hiddenCounts; // the obsolete documents of each node listed since the copy was read
    bool m_obsoleteTable = false; // their row numbers are in temp.cadrelle_obsolete
    QString hiddenRows(const QString& column, const QString& node,
                       const std::function<bool(const ObsoleteDocument&)>& inNode, int& hidden);
    std::unique_ptr<DocumentWindow> window(DocumentWindow::Source source, const QString& countQuery,
                                           const QString& node,
                                           const std::function<bool(const ObsoleteDocument&)>& inNode);
    int firstInteger(const QString& sql);
    bool m_lists = false; // the counts and the clause list are there
    bool m_controlLinks = false; // control rows name their documents' rows
    bool controlLinksHold();
    static std::unique_ptr<Catalogue> s_current;
    static int s_openings;
};
