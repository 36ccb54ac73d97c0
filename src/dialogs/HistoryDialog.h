#pragma once

#include "storage/HistoryEntry.h"
#include <QDialog>
#include <vector>

class QTableWidget;

// The history of one document, oldest first: when, who, what, and the values before and after.
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryDialog(QWidget* parent = nullptr);
    void Init(const QString& docref, const std::vector<HistoryEntry>& entries);

    QTableWidget* tblHistory = nullptr;
};
