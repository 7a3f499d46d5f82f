#include "ui/dialogs/ExportSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "app/resources/StringIds.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/logic/SampleFormatChoices.h"

namespace NSQuillet {

CExportSettingsDialog::CExportSettingsDialog(const CABCExportFileFormat& format, const SExportSettings& proposed,
                                             QWidget* parent)
    : QDialog(parent),
      fSampleRates(new QComboBox(this)),
      fBitDepths(new QComboBox(this)),
      fMIDIFile(new QCheckBox(DialogText(NSStringIds::kExportMIDIWithSameName), this)) {
    PrepareModalDialog(*this, DialogText(NSStringIds::kExportSettingsTitle));
    const SSampleFormatChoices choices = ExportSettingsChoices(format, proposed);
    FillChoicePopup(*fSampleRates, choices.fSampleRates, &SampleRateItemText);
    FillChoicePopup(*fBitDepths, choices.fBitDepths, &BitDepthItemText);
    fMIDIFile->setChecked(proposed.fExportMIDIWithSameName);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(DialogText(NSStringIds::kSampleRateLabel), fSampleRates);
    form->addRow(DialogText(NSStringIds::kBitDepthLabel), fBitDepths);
    layout->addLayout(form);
    layout->addSpacing(4);
    layout->addWidget(fMIDIFile);
    const SOKCancelButtons buttons = AddOKCancelButtons(*this, *layout);
    fOKButton = buttons.fOK;
    fCancelButton = buttons.fCancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

SExportSettings CExportSettingsDialog::GetSettings() const {
    return SExportSettings{fSampleRates->currentData().toUInt(), fBitDepths->currentData().toInt(),
                           fMIDIFile->isChecked()};
}

std::optional<SExportSettings> CDialogExportDialogs::AskExportSettings(const CABCExportFileFormat& format,
                                                                       const SExportSettings& proposed) {
    CExportSettingsDialog dialog(format, proposed, fParent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetSettings();
}

}  // namespace NSQuillet
