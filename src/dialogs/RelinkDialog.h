#pragma once

#include "storage/RelinkCandidate.h"
#include <QDialog>
#include <vector>

class QTableWidget;

// What relinking would change: each missing document with the file found for it (ticked, to be
// applied), or the several files of its name (listed, not chosen), or none. OK hands back the
// ticked changes.
class RelinkDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RelinkDialog(QWidget* parent = nullptr);
    void Init(const std::vector<RelinkCandidate>& candidates);
    // The record keys and new paths the user accepted.
    std::vector<std::pair<QString, QString>> Accepted() const;

    QTableWidget* tblChanges = nullptr;

private:
    std::vector<RelinkCandidate> m_candidates;
};
