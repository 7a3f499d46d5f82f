#include "ui/dialogs/NoLengthSpecifiedDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>

#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

namespace NSQuillet {

namespace {

// Three digits: the largest number of bars the field takes is 999.
constexpr int kMaximumDigits = 3;

QString Text(const CResourceReference& reference) { return QString::fromStdString(reference.GetText()); }

}  // namespace

CNoLengthSpecifiedDialog::CNoLengthSpecifiedDialog(QWidget* parent)
    : QDialog(parent), fBarsField(new QLineEdit(this)), fOKButton(nullptr), fCancelButton(nullptr) {
    // The message and the OK title are those of the zero-bars alert.
    const SAlert zeroBars = AlertReference(NSAlertIds::kLoopLengthZeroBars).GetAlert();
    setWindowTitle(Text(StringReference(NSStringIds::kProgramName)));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(iconSize, iconSize));
    auto* message = new QLabel(QString::fromStdString(zeroBars.fBody), this);
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    // Room for its two sentences a line each, not broken every few words.
    message->setMinimumWidth(message->fontMetrics().averageCharWidth() * 48);
    auto* barsLabel = new QLabel(Text(StringReference(NSStringIds::kBarsLabel)), this);
    barsLabel->setBuddy(fBarsField);

    fBarsField->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kMaximumDigits)), fBarsField));
    fBarsField->setMaxLength(kMaximumDigits);

    auto* buttons = new QDialogButtonBox(this);
    const QString okTitle = zeroBars.fButtons.empty() ? QStringLiteral("OK") : QString::fromStdString(zeroBars.fButtons.front());
    fOKButton = buttons->addButton(okTitle, QDialogButtonBox::AcceptRole);
    fCancelButton = buttons->addButton(Text(FrameworkStringReference(NSFrameworkStringIds::kCancel)),
                                       QDialogButtonBox::RejectRole);
    fOKButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(fBarsField, &QLineEdit::textChanged, this, [this] { UpdateOKButton(); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(message, 0, 1, 1, 2);
    layout->addWidget(barsLabel, 1, 1);
    layout->addWidget(fBarsField, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 3);
    UpdateOKButton();
    fBarsField->setFocus();
}

std::optional<int32_t> CNoLengthSpecifiedDialog::GetBars() const {
    bool ok = false;
    const int bars = fBarsField->text().toInt(&ok);
    if (!ok || bars <= 0) return std::nullopt;
    return int32_t(bars);
}

void CNoLengthSpecifiedDialog::accept() {
    // Return in the field presses OK even while it is disabled: the dialog stays open.
    if (GetBars()) QDialog::accept();
}

void CNoLengthSpecifiedDialog::UpdateOKButton() { fOKButton->setEnabled(GetBars().has_value()); }

std::optional<int32_t> CDialogLoopLengthRequest::AskLoopLengthBars() {
    CNoLengthSpecifiedDialog dialog(fParent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetBars();
}

}  // namespace NSQuillet
