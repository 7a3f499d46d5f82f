#include "ui/dialogs/ConvertToMonoDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>
#include <utility>

#include "app/resources/StringIds.h"
#include "ui/dialogs/DialogParts.h"

namespace NSQuillet {

namespace {

// The choices in the dialog's order, which is the order of their stored values.
constexpr std::array<std::pair<EMonoChoice, int32_t>, 3> kChoices = {
    std::pair{EMonoChoice::kLeft, NSStringIds::kMonoLeft}, std::pair{EMonoChoice::kRight, NSStringIds::kMonoRight},
    std::pair{EMonoChoice::kMix, NSStringIds::kMonoMix}};

}  // namespace

CConvertToMonoDialog::CConvertToMonoDialog(EMonoChoice proposed, QWidget* parent)
    : QDialog(parent), fChoices(new QButtonGroup(this)) {
    PrepareModalDialog(*this, DialogText(NSStringIds::kConvertToMonoTitle));
    auto* group = new QGroupBox(DialogText(NSStringIds::kUseChannel), this);
    auto* groupLayout = new QVBoxLayout(group);
    fChoices->setExclusive(true);
    for (const auto& [choice, text] : kChoices) {
        auto* button = new QRadioButton(DialogText(text), group);
        fChoices->addButton(button, int(choice));
        groupLayout->addWidget(button);
    }
    QAbstractButton* start = fChoices->button(int(proposed));
    (start ? start : fChoices->button(int(EMonoChoice::kMix)))->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    const SOKCancelButtons buttons = AddOKCancelButtons(*this, *layout);
    fOKButton = buttons.fOK;
    fCancelButton = buttons.fCancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

EMonoChoice CConvertToMonoDialog::GetChoice() const {
    const int checked = fChoices->checkedId();
    return checked < 0 ? EMonoChoice::kMix : EMonoChoice(checked);
}

QRadioButton* CConvertToMonoDialog::GetChoiceButton(EMonoChoice choice) const {
    return static_cast<QRadioButton*>(fChoices->button(int(choice)));
}

std::optional<EMonoChoice> CConvertToMonoDialog::Ask(QWidget* parent, EMonoChoice proposed) {
    CConvertToMonoDialog dialog(proposed, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetChoice();
}

}  // namespace NSQuillet
