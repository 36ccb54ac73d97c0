#pragma once

#include "storage/ImportPlan.h"
#include <QAbstractTableModel>

// The rows of an import's preview: line, action, reference, category and the reason a row is
// refused, read from the plan as they are shown, so a register of many rows costs no item per cell.
class ImportPreviewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ImportPreviewModel(QObject* parent = nullptr);
    // The plan shown, kept by the caller for as long as it is shown; none shows no rows.
    void Show(const ImportPlan* plan);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const ImportPlan* m_plan = nullptr;
};
