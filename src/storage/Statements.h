#pragma once

#include <QString>
#include <QStringList>

// Every statement the program sends to the catalogue, built in one place. Text values stand
// between single quotes with their own quotes doubled, so no typed text can break a statement.
namespace Sql {

// A statement whose values are bound to its parameters ?1, ?2, ... rather than written into its
// text: one repeated for many rows is parsed once. Without values it is a text run as it is.
struct Bound
{
    QString sql;
    QStringList values;
    // The rows it must write, where it skips what it cannot take (INSERT OR IGNORE); -1 otherwise.
    int rows = -1;
};

QString SelectInit();
// The names of the catalogue's tables, to tell a catalogue from another database.
QString SelectTableNames();
QString UpdateInitDone();
// folder ends with the separator; stem and extension are the file name split before its last four
// characters. Only a path still as the catalogue tool wrote it (a bare file name, no folder) is
// rewritten: the user may have changed it since a fix-up that was refused.
QString UpdateDocumentPath(const QString& folder, const QString& stem, const QString& extension);
// Work of many statements done as one: the first-run fix-up sends one update per file.
QString BeginTransaction();
QString CommitTransaction();
QString RollbackTransaction();
QString SelectCategories();
QString SelectCategoryDocuments(const QString& catkey);
QString SelectAllDocuments();
// Every document with the name of its category, by reference.
QString SelectAllDocumentsWithCategory();
QString SelectCategory(const QString& catkey);
// Changes no row when the document or the category is not there.
QString UpdateDocumentCategory(const QString& catkey, const QString& dockey);
// Positions are written by key, so two categories of one name keep the order they were given.
QString UpdateCategoryOrder(int position, const QString& catkey);

// A new category goes after every other one.
QString InsertCategory(const QString& catkey, const QString& catname);
// The insert of a fresh catalogue's categories, with their given positions.
QString InsertCategoryAt(const QString& catkey, const QString& catname, int catorder);
QString RenameCategory(const QString& catkey, const QString& catname);
// The control rows of a category's documents, which go with them.
QString DeleteCategoryControl(const QString& catkey);
QString DeleteCategoryDocuments(const QString& catkey);
QString DeleteCategory(const QString& catkey);

// Inserts nothing when the category is not there.
QString InsertDocument(const QString& dockey, const QString& docref, const QString& doctitle, const QString& docpath,
                       const QString& catkey, const QString& isoref);
QString UpdateDocument(const QString& dockey, const QString& docref, const QString& doctitle, const QString& docpath,
                       const QString& isoref);
QString DeleteDocument(const QString& dockey);
QString DeleteControl(const QString& dockey);
// New documents, six values each in the order of InsertDocument's, several in one statement: an
// import's statement per row would cost the engine nearly as much again as the row. A key that is
// already stored is ignored rather than failing: a statement that may insert rows and fail keeps a
// copy of every page it changes until it ends, which doubles the cost of each row; a new key is
// never a stored one.
Bound InsertDocuments(const QStringList& values);
// UpdateDocument with its values bound.
Bound UpdateDocumentBound(const QString& dockey, const QString& docref, const QString& doctitle, const QString& docpath,
                          const QString& isoref);

// Document control. The document lists with their control columns (revision, status, nextreview),
// obsolete documents left out unless asked for.
QString SelectCategoryDocumentsControlled(const QString& catkey, bool includeObsolete);
QString SelectAllDocumentsControlled(bool includeObsolete);
QString SelectAllDocumentsWithCategoryControlled(bool includeObsolete);
QString SelectControl(const QString& dockey);
QString SelectControlColumns();
// Where the register puts the obsolete documents: in their places, nowhere, or after all others.
enum class ObsoleteRows
{
    InPlace,
    LeftOut,
    Last
};
// Every document with its category and control data, in the register's columns, by category in
// the tree's order and reference within; linked, the control rows are found by their documents'
// rows, which gives the same rows only while ControlLinksHold.
QString SelectRegister(ObsoleteRows obsolete = ObsoleteRows::InPlace, bool linked = false);
// 1 when every control row whose document is there names that document's row, 0 otherwise.
QString ControlLinksHold();
// Each clause list the documents name, with how many name it; and the same for obsolete ones.
QString SelectClauseListCounts();
QString SelectObsoleteClauseListCounts();
// The number of documents, not obsolete, whose next review is on or before the date.
QString CountDueForReview(const QString& until);
// Writes every control field of a document, its row made when it has none; linked where control
// rows name their documents' rows.
QString UpsertControl(const QString& dockey, const QStringList& values, bool linked);
// UpsertControl with its values bound.
Bound UpsertControlBound(const QString& dockey, const QStringList& values, bool linked);
// The control rows of documents just inserted, which have none yet, fifteen values each (the dockey,
// then UpsertControl's); inserted as InsertDocuments inserts, without the copy the upsert keeps.
// linked where control rows name their documents' rows.
Bound InsertControls(const QStringList& values, bool linked);
// Every control row: its columns as SelectControl gives them, then the dockey.
QString SelectAllControl();
QString SelectCategoryReviewMonths(const QString& catkey);
QString UpsertCategoryReviewMonths(const QString& catkey, int months);
// Documents not obsolete whose next review is on or before the date (yyyy-MM-dd).
QString SelectDueForReview(const QString& until);
// One or more history rows, seven values each: happened, who, dockey, catkey, action, old value,
// new value.
Bound InsertHistory(const QStringList& values);
// A history row for every document of a category, naming each by its reference.
QString InsertHistoryForDocumentsOf(const QString& catkey, const QString& happened, const QString& who,
                                    const QString& action);
QString SelectDocument(const QString& dockey);
QString SelectDocumentsWithReference(const QString& docref);
// The documents other than dockey whose reference is docref, case and surrounding blanks aside, with
// their categories' names.
QString SelectOtherDocumentsWithReference(const QString& docref, const QString& dockey);
QString SelectHistory(const QString& dockey);

// Finding and checking.
// The documents the file check reads (all but the obsolete ones; all without control data), at
// most limit of them, in the order of the reference and the row number, after the row that
// AfterCheckRow names or from the first. Besides the list's columns (and the approved checksum
// with control data), checkrow gives each row's number.
QString SelectCheckPage(bool control, const QString& after, int limit);
// docref is the row's reference as a statement's value.
QString AfterCheckRow(const QString& docref, const QString& checkrow);
QString CountCheckable(bool control);
QString UpdateDocumentFile(const QString& dockey, const QString& docpath);
QString SelectExclusions();
QString UpsertExclusion(const QString& clause, const QString& justification, const QString& who,
                        const QString& happened);
QString DeleteExclusion(const QString& clause);

// A text as a value in a statement: between single quotes, its quotes doubled.
QString Quoted(const QString& text);
// The paged lists: whether a category holds a document whose reference is NULL; the documents a
// category or clause node holds, as counted.
QString HasNullReference(const QString& catkey);
QString CountCategoryDocuments(const QString& catkey);
QString CountClauseDocuments(const QString& clause);
// The row numbers of the obsolete documents into a table of the connection's own, which the lists'
// pages look up.
QString FillObsoleteTable();
// The obsolete documents' categories, row numbers and clause lists: from that table where it was
// filled, else from the control data.
QString SelectObsoleteDocuments(bool fromTable);

} // namespace Sql
