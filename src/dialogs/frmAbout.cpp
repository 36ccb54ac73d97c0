#include "dialogs/frmAbout.h"

#include "dialogs/DialogFrame.h"
#include "platform/Platform.h"
#include "platform/ProgramFolder.h"
#include "platform/Twips.h"
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

QString VersionLine(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

// Two lines under the description tell where the user's data is; what lies below moves down by as much.
constexpr int kDataFolderRows = 450;

QFont logoFont(double points, bool bold)
{
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    MakeFixedDialog(*this, 5730, 3870 + kDataFolderRows);
    buildLogo();
    lblTitle = addLabel(this, "lblTitle", QStringLiteral("Application Title"), TwipsRect(1170, 135, 3885, 480));
    lblVersion = addLabel(this, "lblVersion", QStringLiteral("Version"), TwipsRect(1170, 675, 3885, 225));
    lblDescription = addLabel(this, "lblDescription",
                              QStringLiteral("Cadrelle is a program containing document templates for help towards "
                                             "ISO9000 2000 compliance and organization of quality related documents."),
                              TwipsRect(1170, 1155, 3885, 960));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDataFolder = addLabel(this, "lblDataFolder", QString(), TwipsRect(1170, 2130, 3885, 420));
    lblDataFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    buildSeparators();
    lblDisclaimer = addLabel(this, "lblDisclaimer",
                             QStringLiteral("The templates are only a starting point. Using them does not by itself "
                                            "make a quality management system compliant with ISO 9001:2000."),
                             TwipsRect(255, 2625 + kDataFolderRows, 3870, 825));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(4245, 3465 + kDataFolderRows, 1260, 345));
    // The default button takes Enter; Escape closes a dialog as OK does, since OK only closes it.
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    Form_Load();
}

// The product name as a small logo: "Cad" large and blue, "relle" small, bold, red and centred
// under it.
void frmAbout::buildLogo()
{
    Label3 = addLabel(this, "Label3", QStringLiteral("Cad"), TwipsRect(15, 0, 855, 435));
    Label3->setFont(logoFont(18, false));
    Label3->setStyleSheet(QStringLiteral("color: #0000ff;"));
    Label2 = addLabel(this, "Label2", QStringLiteral("relle"), TwipsRect(15, 420, 855, 225));
    Label2->setFont(logoFont(8.25, true));
    Label2->setStyleSheet(QStringLiteral("color: #ff0000;"));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

// Two etched lines across the dialog: each a grey line with a white one just below it.
void frmAbout::buildSeparators()
{
    const QRect client = rect();
    for (const int top : {2340 + kDataFolderRows, 2445 + kDataFolderRows}) {
        for (const auto& [offset, colour] : {std::pair {0, "#808080"}, std::pair {15, "#ffffff"}}) {
            auto* line = new QFrame(this);
            line->setObjectName(QStringLiteral("Line1"));
            line->setGeometry(TwipsToPixels(105), TwipsToPixels(top + offset), client.width() - 2 * TwipsToPixels(105),
                              1);
            line->setStyleSheet(QStringLiteral("background-color: %1;").arg(QLatin1String(colour)));
            Line1 << line;
        }
    }
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + kAppTitle);
    lblVersion->setText(VersionLine(CADRELLE_VERSION_MAJOR, CADRELLE_VERSION_MINOR, CADRELLE_VERSION_PATCH));
    lblTitle->setText(kAppTitle);
    // Where the catalogue and documents are, shortened in the middle when long; the whole path is the tip.
    const QString folder = QDir::toNativeSeparators(DataFolder());
    lblDataFolder->setToolTip(folder);
    lblDataFolder->setText(
        (IsPortable() ? QStringLiteral("Your data, in the program's folder:\n") : QStringLiteral("Your data:\n"))
        + lblDataFolder->fontMetrics().elidedText(folder, Qt::ElideMiddle, lblDataFolder->width()));
}

void frmAbout::cmdOK_Click()
{
    accept();
}
