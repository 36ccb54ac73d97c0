#include "dialogs/frmArrangeCats.h"

#include "dialogs/DialogFrame.h"
#include "platform/ErrorTrap.h"
#include "platform/HourGlass.h"
#include "platform/Twips.h"
#include "storage/Catalogue.h"
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kKeyRole = Qt::UserRole;

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmArrangeCats::frmArrangeCats(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmArrangeCats"));
    setWindowTitle(QStringLiteral("Arrange Categories"));
    MakeFixedDialog(*this, 4185, 3000);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(TwipsRect(0, 0, 2535, 2985));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdUp = addButton(this, "cmdUp", QStringLiteral("Up"), TwipsRect(2835, 105, 1170, 435));
    cmdDown = addButton(this, "cmdDown", QStringLiteral("Down"), TwipsRect(2835, 630, 1170, 435));
    cmdOK = addButton(this, "cmdOK", QStringLiteral("OK"), TwipsRect(2835, 1890, 1170, 435));
    cmdCancel = addButton(this, "cmdCancel", QStringLiteral("Cancel"), TwipsRect(2835, 2415, 1170, 435));
    setTabOrder(List1, cmdUp);
    setTabOrder(cmdUp, cmdDown);
    setTabOrder(cmdDown, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdUp, &QPushButton::clicked, this, &frmArrangeCats::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &frmArrangeCats::cmdDown_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmArrangeCats::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmArrangeCats::cmdCancel_Click);
    Form_Load();
}

void frmArrangeCats::Form_Load()
{
    Trap("ARRANGE4", [&] {
        for (const Category& category : Catalogue::Current().Categories()) {
            auto* entry = new QListWidgetItem(category.name, List1);
            entry->setData(kKeyRole, category.key);
        }
    });
    if (List1->count() > 0) {
        List1->setCurrentRow(0);
        List1->setFocus();
        return;
    }
    for (QWidget* control : {static_cast<QWidget*>(cmdUp), static_cast<QWidget*>(cmdDown), static_cast<QWidget*>(cmdOK),
                             static_cast<QWidget*>(List1)})
        control->setEnabled(false);
    cmdCancel->setFocus();
}

void frmArrangeCats::cmdUp_Click()
{
    Trap("ARRANGE2", [&] {
        const int i = List1->currentRow();
        if (i >= 1 && List1->currentItem()->isSelected())
            SwapEntries(i - 1, i);
    });
}

void frmArrangeCats::cmdDown_Click()
{
    Trap("ARRANGE3", [&] {
        const int i = List1->currentRow();
        if (i >= 0 && i < List1->count() - 1 && List1->currentItem()->isSelected())
            SwapEntries(i, i + 1);
    });
}

// Exchanges the two entries' names and keys and keeps the moved name selected at its new place.
void frmArrangeCats::SwapEntries(int first, int second)
{
    const int moved = List1->currentRow() == first ? second : first;
    QListWidgetItem* a = List1->item(first);
    QListWidgetItem* b = List1->item(second);
    const QString name = a->text();
    const QVariant key = a->data(kKeyRole);
    a->setText(b->text());
    a->setData(kKeyRole, b->data(kKeyRole));
    b->setText(name);
    b->setData(kKeyRole, key);
    List1->setCurrentRow(moved);
}

void frmArrangeCats::cmdOK_Click()
{
    bool written = false;
    Trap("ARRANGE1", [&] {
        HourGlass wait;
        // Every category is written, whether it moved or not, all in one transaction: a refused
        // statement leaves the stored order as it was and the dialog open with the user's order.
        QStringList catkeys;
        for (int i = 0; i < List1->count(); ++i)
            catkeys << List1->item(i)->data(kKeyRole).toString();
        written = Catalogue::Current().SaveCategoryOrder(catkeys) == Catalogue::Write::Done;
    });
    if (written)
        accept();
}

void frmArrangeCats::cmdCancel_Click()
{
    reject();
}

void frmArrangeCats::keyPressEvent(QKeyEvent* event)
{
    if (!TakeDialogKey(*this, event))
        QDialog::keyPressEvent(event);
}
