#include "dialogs/ImportPreviewModel.h"

ImportPreviewModel::ImportPreviewModel(QObject* parent) : QAbstractTableModel(parent) { }

void ImportPreviewModel::Show(const ImportPlan* plan)
{
    beginResetModel();
    m_plan = plan;
    endResetModel();
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_plan ? 0 : int(m_plan->rows.size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 5;
}

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return QVariant();
    const ImportRow& row = m_plan->rows[std::size_t(index.row())];
    switch (index.column()) {
    case 0:
        return QString::number(row.line);
    case 1:
        return ImportRow::ActionText(row.action);
    case 2:
        return row.document.ref;
    case 3:
        return row.category;
    default:
        return row.reason;
    }
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList headings = {QStringLiteral("Line"), QStringLiteral("Action"), QStringLiteral("Doc Ref"),
                                         QStringLiteral("Category"), QStringLiteral("Reason")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return headings.value(section);
}
