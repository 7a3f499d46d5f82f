#include "ui/window/ConvertDialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

#include "app/processing/TargetSampleFormat.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

QString Text(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }

// The rates offered besides the sample's own.
constexpr std::array<uint32_t, 9> kOfferedRates = {11025, 22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000};

QDialogButtonBox* AddButtons(QDialog& dialog, QLayout& layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return buttons;
}

}  // namespace

std::optional<EMonoChoice> RunConvertToMonoDialog(QWidget* parent, EMonoChoice proposed) {
    QDialog dialog(parent);
    dialog.setWindowTitle(Text(NSStringIds::kConvertToMonoTitle));
    auto* layout = new QVBoxLayout(&dialog);
    QButtonGroup group(&dialog);
    const std::array<std::pair<int32_t, EMonoChoice>, 3> choices = {
        std::pair{NSStringIds::kMonoLeft, EMonoChoice::kLeft}, std::pair{NSStringIds::kMonoRight, EMonoChoice::kRight},
        std::pair{NSStringIds::kMonoMix, EMonoChoice::kMix}};
    for (const auto& [entry, choice] : choices) {
        auto* button = new QRadioButton(Text(entry), &dialog);
        button->setChecked(choice == proposed);
        group.addButton(button, int(choice));
        layout->addWidget(button);
    }
    AddButtons(dialog, *layout);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return EMonoChoice(group.checkedId());
}

std::optional<SSampleFormat> RunConvertSampleFormatDialog(QWidget* parent, const SSampleFormat& current) {
    QDialog dialog(parent);
    dialog.setWindowTitle(Text(NSStringIds::kConvertSampleFormatTitle));
    auto* outer = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    outer->addLayout(form);

    auto* rates = new QComboBox(&dialog);
    bool ownRateListed = false;
    for (uint32_t rate : kOfferedRates) {
        if (!ownRateListed && current.fSampleRate < rate && IsSampleRateInRange(current.fSampleRate)) {
            rates->addItem(QString::number(current.fSampleRate), current.fSampleRate);
            ownRateListed = true;
        }
        if (rate == current.fSampleRate) ownRateListed = true;
        rates->addItem(QString::number(rate), rate);
    }
    if (!ownRateListed && IsSampleRateInRange(current.fSampleRate))
        rates->addItem(QString::number(current.fSampleRate), current.fSampleRate);
    rates->setCurrentIndex(std::max(0, rates->findData(current.fSampleRate)));
    form->addRow(Text(NSStringIds::kSampleRateLabel), rates);

    auto* depths = new QComboBox(&dialog);
    for (int32_t depth : kTargetBitDepths) depths->addItem(QString::number(depth), depth);
    depths->setCurrentIndex(std::max(0, depths->findData(current.fBitDepth)));
    form->addRow(Text(NSStringIds::kBitDepthLabel), depths);

    AddButtons(dialog, *outer);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return SSampleFormat{rates->currentData().toUInt(), depths->currentData().toInt()};
}

}  // namespace NSQuillet
