#include "dialogs/HistoryDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

HistoryDialog::HistoryDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HistoryDialog"));
    auto* layout = new QVBoxLayout(this);
    tblHistory = new QTableWidget(0, 5, this);
    tblHistory->setObjectName(QStringLiteral("tblHistory"));
    tblHistory->setHorizontalHeaderLabels({QStringLiteral("When"), QStringLiteral("Who"), QStringLiteral("What"),
                                           QStringLiteral("Before"), QStringLiteral("After")});
    tblHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblHistory->verticalHeader()->hide();
    tblHistory->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblHistory);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(760, 360);
}

// Times are stored in UTC and shown in the user's time zone.
void HistoryDialog::Init(const QString& docref, const std::vector<HistoryEntry>& entries)
{
    setWindowTitle(QStringLiteral("History - ") + docref);
    tblHistory->setRowCount(int(entries.size()));
    for (int row = 0; row < int(entries.size()); ++row) {
        const HistoryEntry& e = entries[std::size_t(row)];
        const QDateTime when = QDateTime::fromString(e.happened, Qt::ISODate).toLocalTime();
        const QString cells[] = {when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : e.happened, e.who,
                                 e.action, e.oldValue, e.newValue};
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            tblHistory->setItem(row, column, item);
        }
    }
    tblHistory->resizeColumnsToContents();
}
