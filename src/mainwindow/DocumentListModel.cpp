#include "mainwindow/DocumentListModel.h"

#include "mainwindow/ImageLists.h"
#include "platform/AppError.h"
#include <QColor>
#include <QHash>
#include <QMimeData>

const QString DocumentListModel::kMimeType = QStringLiteral("application/x-cadrelle-document");

namespace {

QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.sliced(1);
    return digits;
}

// Texts with their runs of digits compared as numbers (QP2 before QP10), case aside; the
// collator's numeric mode depends on the locale it finds, so it is done here.
struct NaturalOrder
{
    int compare(const QString& a, const QString& b) const
    {
        qsizetype i = 0, j = 0;
        while (i < a.size() && j < b.size()) {
            if (a[i].isDigit() && b[j].isDigit()) {
                qsizetype i2 = i, j2 = j;
                while (i2 < a.size() && a[i2].isDigit())
                    ++i2;
                while (j2 < b.size() && b[j2].isDigit())
                    ++j2;
                const QStringView nx = withoutLeadingZeros(QStringView(a).sliced(i, i2 - i));
                const QStringView ny = withoutLeadingZeros(QStringView(b).sliced(j, j2 - j));
                if (nx.size() != ny.size())
                    return nx.size() < ny.size() ? -1 : 1;
                if (const int c = nx.compare(ny); c != 0)
                    return c;
                i = i2;
                j = j2;
                continue;
            }
            const QChar ca = a[i].toCaseFolded(), cb = b[j].toCaseFolded();
            if (ca != cb)
                return ca < cb ? -1 : 1;
            ++i;
            ++j;
        }
        return (a.size() - i > 0) - (b.size() - j > 0);
    }
};

using Column = DocumentListModel::Column;

// The text of sub-item 1 to 4, or none for any other column.
const QString* subItemText(const Document& r, int subItem)
{
    switch (subItem) {
    case Column::RefColumn:
        return &r.ref;
    case Column::TitleColumn:
        return &r.title;
    case Column::ClausesColumn:
        return &r.clauses;
    case Column::FileColumn:
        return &r.path;
    default:
        return nullptr;
    }
}

} // namespace

DocumentListModel::DocumentListModel(QObject* parent)
    : QAbstractTableModel(parent), m_document(ImageList2(QStringLiteral("DOCUMENT")))
{
    m_bold.setBold(true);
}

void DocumentListModel::Clear()
{
    SetRows({});
}

void DocumentListModel::SetRows(std::vector<Document> rows)
{
    beginResetModel();
    m_today = QDate::currentDate();
    m_window.reset();
    m_rows = std::move(rows);
    endResetModel();
}

void DocumentListModel::SetWindow(std::unique_ptr<DocumentWindow> window)
{
    beginResetModel();
    m_today = QDate::currentDate();
    m_rows.clear();
    m_window = std::move(window);
    endResetModel();
}

const Document* DocumentListModel::at(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return m_window ? &m_window->At(row) : &m_rows[std::size_t(row)];
}

const Document& DocumentListModel::Row(int row) const
{
    const Document* document = at(row);
    if (!document)
        throw AppError(QStringLiteral("Index out of bounds"));
    return *document;
}

void DocumentListModel::ForEachRow(const std::function<void(const Document&)>& take) const
{
    if (m_window) {
        m_window->ForEach(take);
        return;
    }
    for (const Document& document : m_rows)
        take(document);
}

int DocumentListModel::RowOf(const QString& dockey) const
{
    if (m_window)
        return m_window->RowOf(dockey);
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].key == dockey)
            return int(row);
    }
    return -1;
}

QString DocumentListModel::ItemTag(int row) const
{
    return Row(row).key;
}

QString DocumentListModel::SubItemText(int row, int subItem) const
{
    const QString* text = subItemText(Row(row), subItem);
    if (!text)
        throw AppError(QStringLiteral("Index out of bounds"));
    return *text;
}

QString DocumentListModel::SubItemTag(int row, int subItem) const
{
    const Document& r = Row(row);
    if (subItem < RefColumn || subItem > FileColumn)
        throw AppError(QStringLiteral("Index out of bounds"));
    return subItem == RefColumn ? r.path : QString();
}

int DocumentListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_window ? m_window->Count() : int(m_rows.size());
}

int DocumentListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DocumentListModel::data(const QModelIndex& index, int role) const
{
    const Document* row = index.isValid() ? at(index.row()) : nullptr;
    if (!row)
        return {};
    const Document& r = *row;
    const int column = index.column();
    switch (role) {
    case Qt::ToolTipRole: {
        // The whole text, however narrow its column: titles and paths are often longer than it.
        const QString text = data(index, Qt::DisplayRole).toString();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case Qt::DisplayRole: {
        if (column == RevisionColumn)
            return r.revision;
        if (column == StatusColumn)
            return DocumentControl::StatusText(r.status);
        if (column == NextReviewColumn)
            return r.nextReview.isValid() ? r.nextReview.toString(Qt::ISODate) : QString();
        if (column == ProblemColumn)
            return r.problem;
        const QString* text = subItemText(r, column);
        return text ? QVariant(*text) : QVariant();
    }
    case Qt::ForegroundRole:
        // Obsolete documents stand back; a review that is overdue stands out.
        if (r.status == DocumentControl::Status::Obsolete)
            return QColor(Qt::gray);
        if (column == NextReviewColumn && r.nextReview.isValid() && r.nextReview < m_today)
            return QColor(Qt::red);
        return {};
    case Qt::DecorationRole:
        return column == PictureColumn ? QVariant(m_document) : QVariant();
    case Qt::FontRole:
        return column == RefColumn ? QVariant(m_bold) : QVariant();
    case Qt::UserRole:
        return column == PictureColumn ? QVariant(r.key) : column == RefColumn ? QVariant(r.path) : QVariant();
    default:
        return {};
    }
}

QVariant DocumentListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case RefColumn:
        return QStringLiteral("Doc Ref");
    case TitleColumn:
        return QStringLiteral("Title");
    case ClausesColumn:
        return QStringLiteral("ISO Ref");
    case FileColumn:
        return QStringLiteral("File");
    case RevisionColumn:
        return QStringLiteral("Rev");
    case StatusColumn:
        return QStringLiteral("Status");
    case NextReviewColumn:
        return QStringLiteral("Next review");
    case ProblemColumn:
        return QStringLiteral("Problem");
    default:
        return QString();
    }
}

Qt::ItemFlags DocumentListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList DocumentListModel::mimeTypes() const
{
    return {kMimeType};
}

QMimeData* DocumentListModel::mimeData(const QModelIndexList& indexes) const
{
    auto* data = new QMimeData;
    const Document* row = indexes.isEmpty() ? nullptr : at(indexes.first().row());
    if (row)
        data->setData(kMimeType, row->key.toUtf8());
    else
        data->setData(kMimeType, QByteArray());
    return data;
}

void DocumentListModel::sort(int column, Qt::SortOrder order)
{
    if (column <= PictureColumn || column >= ColumnCount)
        return;
    const NaturalOrder natural;
    auto key = [column](const Document& d) -> const QString& {
        static const QString none;
        const QString* t = subItemText(d, column);
        return t ? *t : column == RevisionColumn ? d.revision : column == ProblemColumn ? d.problem : none;
    };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<QString> keysBefore;
    for (const QModelIndex& index : before)
        keysBefore.push_back(Row(index.row()).key);
    // A list read by pages is sorted whole: the user asked for all its rows in another order.
    if (m_window) {
        m_rows = m_window->All();
        m_rows.resize(std::size_t(m_window->Count())); // the rows the view was told of, if another program changed them
        m_window.reset();
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const Document& a, const Document& b) {
        int c = 0;
        if (column == NextReviewColumn)
            c = a.nextReview == b.nextReview ? 0 : (a.nextReview < b.nextReview ? -1 : 1);
        else if (column == StatusColumn)
            c = int(a.status) - int(b.status);
        else
            c = natural.compare(key(a), key(b));
        if (c == 0)
            c = natural.compare(a.ref, b.ref);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    // Selection and the row a drag started from follow their records.
    QHash<QString, int> rowOf;
    for (int row = 0; row < int(m_rows.size()); ++row)
        rowOf.insert(m_rows[std::size_t(row)].key, row);
    QModelIndexList after;
    for (std::size_t i = 0; i < keysBefore.size(); ++i)
        after << index(rowOf.value(keysBefore[i]), before[int(i)].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Qt::DropActions DocumentListModel::supportedDragActions() const
{
    return Qt::MoveAction;
}
