#pragma once

#include "storage/ImportPlan.h"
#include "storage/RegisterCsv.h"
#include <QDialog>
#include <QHash>

class QComboBox;
class QLabel;
class ImportPreviewModel;
class QTableView;

// Importing a register: which of the file's columns gives each field (as its header names them,
// or as the user chose for a file with this header before), and a preview of what the import
// would do, row by row. OK writes the new and changed rows in one transaction; refused rows stay
// out, each with its reason.
class ImportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ImportDialog(QWidget* parent = nullptr);
    void Init(const QString& path, const RegisterCsv::Table& table);
    const ImportPlan& Plan() const { return m_plan; }
    QHash<QString, int> Mapping() const;
    // Stores the accepted rows; the dialog closes when they are stored.
    void Accept();

    QHash<QString, QComboBox*> cboFields;
    QTableView* tblPreview = nullptr;
    QLabel* lblSummary = nullptr;

private:
    void Preview();
    RegisterCsv::Table m_table;
    ImportPlan m_plan;
    ImportPreviewModel* m_preview = nullptr;
};
