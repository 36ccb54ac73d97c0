#include "mainwindow/DocumentListModel.h"

#include "mainwindow/ImageLists.h"
#include "platform/AppError.h"
#include <QMimeData>

const QString DocumentListModel::kMimeType = QStringLiteral("application/x-cadrelle-document");

namespace {

constexpr int kColumns = 5;

// The text of sub-item 1 to 4, or none for any other column.
const QString* subItemText(const DocumentRow& r, int subItem)
{
    switch (subItem) {
    case 1:
        return &r.docref;
    case 2:
        return &r.doctitle;
    case 3:
        return &r.isoref;
    case 4:
        return &r.docpath;
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

void DocumentListModel::SetRows(std::vector<DocumentRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

const DocumentRow& DocumentListModel::Row(int row) const
{
    if (row < 0 || std::size_t(row) >= m_rows.size())
        throw AppError(QStringLiteral("Index out of bounds"));
    return m_rows[std::size_t(row)];
}

QString DocumentListModel::ItemTag(int row) const
{
    return Row(row).dockey;
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
    const DocumentRow& r = Row(row);
    if (subItem < 1 || subItem > 4)
        throw AppError(QStringLiteral("Index out of bounds"));
    return subItem == 1 ? r.docpath : QString();
}

int DocumentListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DocumentListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant DocumentListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= m_rows.size())
        return {};
    const DocumentRow& r = m_rows[std::size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        const QString* text = subItemText(r, column);
        return text ? QVariant(*text) : QVariant();
    }
    case Qt::DecorationRole:
        return column == 0 ? QVariant(m_document) : QVariant();
    case Qt::FontRole:
        return column == 1 ? QVariant(m_bold) : QVariant();
    case Qt::UserRole:
        return column == 0 ? QVariant(r.dockey) : column == 1 ? QVariant(r.docpath) : QVariant();
    default:
        return {};
    }
}

QVariant DocumentListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 1:
        return QStringLiteral("Doc Ref");
    case 2:
        return QStringLiteral("Title");
    case 3:
        return QStringLiteral("ISO Ref");
    case 4:
        return QStringLiteral("File");
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
    if (!indexes.isEmpty() && std::size_t(indexes.first().row()) < m_rows.size())
        data->setData(kMimeType, m_rows[std::size_t(indexes.first().row())].dockey.toUtf8());
    else
        data->setData(kMimeType, QByteArray());
    return data;
}

Qt::DropActions DocumentListModel::supportedDragActions() const
{
    return Qt::MoveAction;
}
