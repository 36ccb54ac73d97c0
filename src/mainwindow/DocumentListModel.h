#pragma once

#include "storage/Document.h"
#include "storage/DocumentWindow.h"
#include <QAbstractTableModel>
#include <QFont>
#include <QIcon>
#include <memory>
#include <vector>

// The rows of the document list. Column 0 shows the small "DOCUMENT" picture and carries the
// record key; column 1 the reference in bold, carrying the file path; columns 2 to 4 the title,
// the clause list and the file path. The whole list is replaced at once, so a large category is
// one model reset rather than one update per row. A node's list is read through its window, a page
// at a time as the view asks for rows; a search or check result is held whole.
class DocumentListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The drag of a row carries its record key under this type.
    static const QString kMimeType;
    // The list's columns; the numbers are the sub-item numbers the row format speaks of.
    // The document control columns follow the file.
    enum Column
    {
        PictureColumn,
        RefColumn,
        TitleColumn,
        ClausesColumn,
        FileColumn,
        RevisionColumn,
        StatusColumn,
        NextReviewColumn,
        ProblemColumn, // shown with the file check's findings
        ColumnCount
    };

    explicit DocumentListModel(QObject* parent = nullptr);

    void Clear();
    void SetRows(std::vector<Document> rows);
    void SetWindow(std::unique_ptr<DocumentWindow> window);
    // The row of the record, or -1 when the list does not hold it.
    int RowOf(const QString& dockey) const;

    // The row format as the list's readers know it: the item's tag is the record key; sub-item 1
    // is the reference with the file path as its tag; sub-items 2 to 4 are the title, the clause
    // list and the file path. A row that is not there fails as "Index out of bounds".
    QString ItemTag(int row) const;
    QString SubItemText(int row, int subItem) const;
    QString SubItemTag(int row, int subItem) const;
    const Document& Row(int row) const;
    // Every row in order; a long list is read in batches that are not kept.
    void ForEachRow(const std::function<void(const Document&)>& take) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    // Sorts by the column's meaning: references, revisions and clause lists in natural order (QP2
    // before QP10), dates as dates. The reference breaks ties.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    const Document* at(int row) const;
    std::vector<Document> m_rows;
    std::unique_ptr<DocumentWindow> m_window; // when set, the rows are read through it
    QDate m_today; // overdue reviews are those before it
    QIcon m_document;
    QFont m_bold;
};
