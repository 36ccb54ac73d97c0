#include "dialogs/ImportDialog.h"

#include "dialogs/ImportPreviewModel.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "platform/Settings.h"
#include "storage/Catalogue.h"
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("Import");

// A mapping is remembered for the header it was made for.
QString mappingKey(const QStringList& header)
{
    return QStringLiteral("Mapping-") + QString::number(qHash(header.join(QLatin1Char('\t'))), 16);
}

} // namespace

ImportDialog::ImportDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const QStringList& fields = RegisterCsv::Fields();
    for (int i = 0; i < fields.size() - 1; ++i) { // the key is the program's own
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cbo_") + fields[i]);
        cboFields.insert(fields[i], combo);
        grid->addWidget(new QLabel(fields[i], this), i / 3, (i % 3) * 2);
        grid->addWidget(combo, i / 3, (i % 3) * 2 + 1);
        connect(combo, &QComboBox::currentIndexChanged, this, &ImportDialog::Preview);
    }
    layout->addLayout(grid);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextFormat(Qt::PlainText);
    layout->addWidget(lblSummary);
    m_preview = new ImportPreviewModel(this);
    tblPreview = new QTableView(this);
    tblPreview->setObjectName(QStringLiteral("tblPreview"));
    tblPreview->setModel(m_preview);
    tblPreview->verticalHeader()->hide();
    tblPreview->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblPreview);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImportDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(900, 560);
}

void ImportDialog::Init(const QString& path, const RegisterCsv::Table& table)
{
    m_table = table;
    setWindowTitle(QStringLiteral("Import register - ") + path);
    QHash<QString, int> mapping = Catalogue::MappingOf(table.header);
    const QStringList remembered
        = GetSetting(kAppTitle, kSection, mappingKey(table.header)).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& pair : remembered)
        mapping.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1).toInt());
    for (auto it = cboFields.begin(); it != cboFields.end(); ++it) {
        QComboBox* combo = it.value();
        const QSignalBlocker quiet(combo);
        combo->addItem(QStringLiteral("(none)"), -1);
        for (int column = 0; column < table.header.size(); ++column)
            combo->addItem(table.header[column], column);
        combo->setCurrentIndex(combo->findData(mapping.value(it.key(), -1)));
    }
    Preview();
}

QHash<QString, int> ImportDialog::Mapping() const
{
    QHash<QString, int> mapping;
    for (auto it = cboFields.begin(); it != cboFields.end(); ++it) {
        if (it.value()->currentData().toInt() >= 0)
            mapping.insert(it.key(), it.value()->currentData().toInt());
    }
    return mapping;
}

void ImportDialog::Preview()
{
    const HourGlass wait; // a large register takes seconds to plan
    m_preview->Show(nullptr);
    m_plan = ImportPlan();
    try {
        m_plan = Catalogue::Current().PlanImport(m_table, Mapping());
    } catch (...) {
        lblSummary->setText(DescribeCurrentException());
        return;
    }
    m_preview->Show(&m_plan);
    lblSummary->setText(QStringLiteral("%1 new, %2 changed, %3 unchanged, %4 refused; new categories: %5")
                            .arg(m_plan.Count(ImportRow::Action::New))
                            .arg(m_plan.Count(ImportRow::Action::Changed))
                            .arg(m_plan.Count(ImportRow::Action::Unchanged))
                            .arg(m_plan.Count(ImportRow::Action::Refused))
                            .arg(m_plan.newCategories.isEmpty() ? QStringLiteral("none")
                                                                : m_plan.newCategories.join(QStringLiteral(", "))));
}

void ImportDialog::Accept()
{
    QStringList pairs;
    const QHash<QString, int> mapping = Mapping();
    for (auto it = mapping.begin(); it != mapping.end(); ++it)
        pairs << it.key() + QLatin1Char('=') + QString::number(it.value());
    SaveSetting(kAppTitle, kSection, mappingKey(m_table.header), pairs.join(QLatin1Char(',')));
    Catalogue::Write written = Catalogue::Write::Refused;
    {
        const HourGlass wait;
        written = Catalogue::Current().ApplyImport(m_plan);
    }
    if (written == Catalogue::Write::Refused)
        return; // told; nothing was written
    accept();
}
