#pragma once

#include "storage/Document.h"
#include <QString>
#include <functional>
#include <map>
#include <vector>

class ResultTable;

// The documents of one node of a tree, read a page at a time as the list shows them: a click
// costs the pages on the screen, whatever the node holds. The rows come in the order of an index
// (the reference, then the row's place in the file), and a page is found from a neighbouring page
// by its first or last key, or else by counting from the nearer end of the index.
class DocumentWindow
{
public:
    // Where the rows come from. ordered names the table or index walked in order, with the node's
    // condition in node and the two order columns; rows adds the joins that give each row its
    // columns, with the document table as d. hidden leaves out the obsolete documents by row number.
    struct Source
    {
        QString ordered;
        QString node;
        QString orderRef;
        QString orderRow;
        QString rows;
        QString hidden;
        bool control = false; // whether the control columns are joined
    };

    DocumentWindow(int handle, int opening, Source source, int count);

    // Reads the first page; false when the node's rows cannot be read (the caller then reads the
    // list the usual way, which tells why).
    bool Open();
    int Count() const { return m_count; }
    // The row, read with its page when not at hand; a row the catalogue no longer holds (another
    // program changed it since the count) is blank. Fails as "Index out of bounds" outside the list.
    const Document& At(int row);
    // The row of the document, or -1 when the list does not hold it.
    int RowOf(const QString& dockey);
    // Every row, in order.
    std::vector<Document> All();
    // Every row in order, read in batches that are not kept, without the control columns: for a
    // report of a long list, whose memory stays that of one batch.
    void ForEach(const std::function<void(const Document&)>& take);

    static constexpr int kPageRows = 100;
    static constexpr int kPagesKept = 64;
    static constexpr int kBatchRows = 1000;

private:
    struct Page
    {
        std::vector<Document> rows;
        QString firstKey, lastKey; // the order columns of the first and last rows, as a statement's values
    };
    const Page& page(int number);
    Page read(int number);
    Page fetch(const QString& after, bool descending, int limit, bool control = true);
    // The order columns of the row at offset from the start or the end, as a statement's values.
    QString keyAt(int offset, bool fromEnd);
    bool query(const QString& sql, ResultTable& table);
    void keepAtMost(int around);

    int m_handle;
    int m_opening;
    Source m_source;
    int m_count;
    std::map<int, Page> m_pages;
    bool m_failed = false;
};
