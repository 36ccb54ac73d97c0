#include "dialogs/RelinkDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

RelinkDialog::RelinkDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RelinkDialog"));
    setWindowTitle(QStringLiteral("Relink missing files"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ticked documents are pointed at the file found for them. Where "
                                                "several files have the name, none is chosen: edit those yourself."),
                                 this));
    tblChanges = new QTableWidget(0, 3, this);
    tblChanges->setObjectName(QStringLiteral("tblChanges"));
    tblChanges->setHorizontalHeaderLabels(
        {QStringLiteral("Doc Ref"), QStringLiteral("Old path"), QStringLiteral("New path")});
    tblChanges->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblChanges->verticalHeader()->hide();
    tblChanges->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblChanges);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(820, 400);
}

void RelinkDialog::Init(const std::vector<RelinkCandidate>& candidates)
{
    m_candidates = candidates;
    tblChanges->setRowCount(int(candidates.size()));
    for (int row = 0; row < int(candidates.size()); ++row) {
        const RelinkCandidate& c = candidates[std::size_t(row)];
        auto* ref = new QTableWidgetItem(c.document.ref);
        if (c.found.size() == 1) {
            ref->setFlags(ref->flags() | Qt::ItemIsUserCheckable);
            ref->setCheckState(Qt::Checked);
        }
        tblChanges->setItem(row, 0, ref);
        tblChanges->setItem(row, 1, new QTableWidgetItem(c.document.path));
        const QString found = c.found.isEmpty() ? QStringLiteral("(not found)")
            : c.found.size() == 1               ? c.found.front()
                                  : QStringLiteral("Several files: ") + c.found.join(QStringLiteral("; "));
        auto* target = new QTableWidgetItem(found);
        target->setToolTip(c.found.join(QLatin1Char('\n')));
        tblChanges->setItem(row, 2, target);
    }
    tblChanges->resizeColumnsToContents();
}

std::vector<std::pair<QString, QString>> RelinkDialog::Accepted() const
{
    std::vector<std::pair<QString, QString>> accepted;
    for (int row = 0; row < tblChanges->rowCount(); ++row) {
        const RelinkCandidate& c = m_candidates[std::size_t(row)];
        if (c.found.size() == 1 && tblChanges->item(row, 0)->checkState() == Qt::Checked)
            accepted.emplace_back(c.document.key, c.found.front());
    }
    return accepted;
}
