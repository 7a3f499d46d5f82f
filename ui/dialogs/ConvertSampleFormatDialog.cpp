#include "ui/dialogs/ConvertSampleFormatDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "app/resources/StringIds.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/logic/SampleFormatChoices.h"

namespace NSQuillet {

CConvertSampleFormatDialog::CConvertSampleFormatDialog(const SSampleFormat& current, QWidget* parent)
    : QDialog(parent), fSampleRates(new QComboBox(this)), fBitDepths(new QComboBox(this)) {
    PrepareModalDialog(*this, DialogText(NSStringIds::kConvertSampleFormatTitle));
    const SSampleFormatChoices choices = ConvertSampleFormatChoices(current);
    FillChoicePopup(*fSampleRates, choices.fSampleRates, &SampleRateItemText);
    FillChoicePopup(*fBitDepths, choices.fBitDepths, &BitDepthItemText);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(DialogText(NSStringIds::kSampleRateLabel), fSampleRates);
    form->addRow(DialogText(NSStringIds::kBitDepthLabel), fBitDepths);
    layout->addLayout(form);
    const SOKCancelButtons buttons = AddOKCancelButtons(*this, *layout);
    fOKButton = buttons.fOK;
    fCancelButton = buttons.fCancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

SSampleFormat CConvertSampleFormatDialog::GetFormat() const {
    return SSampleFormat{fSampleRates->currentData().toUInt(), fBitDepths->currentData().toInt()};
}

std::optional<SSampleFormat> CConvertSampleFormatDialog::Ask(QWidget* parent, const SSampleFormat& current) {
    CConvertSampleFormatDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetFormat();
}

}  // namespace NSQuillet
