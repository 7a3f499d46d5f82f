#include "ui/dialogs/AudioPreferencesPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "ui/dialogs/SelectActiveChannelsDialog.h"

namespace NSQuillet {

namespace {

QString Text(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }
QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

QLabel* FieldLabel(int32_t entry, QWidget* parent) {
    auto* label = new QLabel(Text(entry), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QToolButton* Arrow(Qt::ArrowType direction, QWidget* parent) {
    auto* arrow = new QToolButton(parent);
    arrow->setArrowType(direction);
    arrow->setAutoRepeat(true);
    arrow->setFixedSize(18, 12);
    return arrow;
}

// The popup's lines: a host API's name in bold, not choosable, above its devices.
void FillDriverPopup(QComboBox& popup, const SAudioPageState& state) {
    auto* model = new QStandardItemModel(&popup);
    for (const SAudioDeviceEntry& entry : state.fDeviceEntries) {
        auto* item = new QStandardItem(FromUtf8(entry.fText));
        if (entry.fIsHostApi) {
            item->setFlags(Qt::NoItemFlags);
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
            // A heading, not a greyed-out choice.
            item->setForeground(popup.palette().brush(QPalette::Active, QPalette::Text));
        } else {
            item->setToolTip(FromUtf8(entry.fHostApi + ": " + entry.fDevice));
        }
        model->appendRow(item);
    }
    // The combo box deletes the model before, which it owns as its parent.
    popup.setModel(model);
    popup.setCurrentIndex(state.fDeviceEntry);
}

void FillPopup(QComboBox& popup, const std::vector<std::string>& texts, int32_t current, bool enabled) {
    popup.clear();
    for (const std::string& text : texts) popup.addItem(FromUtf8(text));
    popup.setCurrentIndex(current);
    popup.setEnabled(enabled);
}

}  // namespace

CAudioPreferencesPage::CAudioPreferencesPage(CAudioCardManager* manager, QWidget* parent)
    : QWidget(parent),
      fDriverPopup(new QComboBox(this)),
      fStatePicture(new QLabel(this)),
      fRatePopup(new QComboBox(this)),
      fBufferSlider(new QSlider(Qt::Horizontal, this)),
      fBufferText(new QLabel(this)),
      fBufferUp(Arrow(Qt::UpArrow, this)),
      fBufferDown(Arrow(Qt::DownArrow, this)),
      fLatencyText(new QLabel(this)),
      fChannelsText(new QLabel(this)),
      fChannelsButton(new QPushButton(Text(NSStringIds::kChannelsButton), this)),
      fControlPanelButton(new QPushButton(Text(NSStringIds::kControlPanelButton), this)),
      fClockSourcePopup(new QComboBox(this)) {
    fDriverPopup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    fDriverPopup->setMinimumContentsLength(24);
    fStatePicture->setFixedSize(16, 16);
    fBufferSlider->setTracking(false);
    fBufferSlider->setPageStep(1);
    fBufferSlider->setTickPosition(QSlider::TicksBelow);
    fBufferSlider->setMinimumWidth(160);
    // Wide enough for the longest size, so that the slider does not move while dragged.
    fBufferText->setMinimumWidth(fBufferText->fontMetrics().horizontalAdvance(FromUtf8(FormatBufferSizeText(8192))) + 4);
    for (QPushButton* button : {fChannelsButton, fControlPanelButton}) button->setAutoDefault(false);

    auto* arrows = new QWidget(this);
    auto* arrowsLayout = new QVBoxLayout(arrows);
    arrowsLayout->setContentsMargins(0, 0, 0, 0);
    arrowsLayout->setSpacing(0);
    arrowsLayout->addWidget(fBufferUp);
    arrowsLayout->addWidget(fBufferDown);

    auto* group = new QGroupBox(this);
    auto* settings = new QGridLayout(group);
    settings->setColumnStretch(1, 1);
    settings->addWidget(FieldLabel(NSStringIds::kSampleRateLabel, group), 0, 0);
    settings->addWidget(fRatePopup, 0, 1, Qt::AlignLeft);
    settings->addWidget(FieldLabel(NSStringIds::kBufferSizeLabel, group), 1, 0);
    settings->addWidget(fBufferSlider, 1, 1);
    settings->addWidget(fBufferText, 1, 2);
    settings->addWidget(arrows, 1, 3);
    settings->addWidget(FieldLabel(NSStringIds::kOutputLatencyLabel, group), 2, 0);
    settings->addWidget(fLatencyText, 2, 1, 1, 3);
    settings->addWidget(FieldLabel(NSStringIds::kActiveChannelsLabel, group), 3, 0);
    settings->addWidget(fChannelsText, 3, 1);
    settings->addWidget(fChannelsButton, 3, 2, 1, 2);
    settings->addWidget(fControlPanelButton, 4, 1, Qt::AlignLeft);
    settings->addWidget(FieldLabel(NSStringIds::kClockSourceLabel, group), 5, 0);
    settings->addWidget(fClockSourcePopup, 5, 1, Qt::AlignLeft);
    fRatePopup->setMinimumContentsLength(10);
    fClockSourcePopup->setMinimumContentsLength(16);

    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(1, 1);
    layout->addWidget(FieldLabel(NSStringIds::kAudioCardDriverLabel, this), 0, 0);
    layout->addWidget(fDriverPopup, 0, 1);
    layout->addWidget(fStatePicture, 0, 2);
    layout->addWidget(group, 1, 0, 1, 3);
    layout->setRowStretch(2, 1);

    if (!manager) {
        for (QWidget* control : std::initializer_list<QWidget*>{fDriverPopup, fRatePopup, fBufferSlider, fBufferUp, fBufferDown,
                                                                fChannelsButton, fControlPanelButton, fClockSourcePopup})
            control->setEnabled(false);
        fStatePicture->setPixmap(fPictures.Get(fStatePictureId, *this));
        return;
    }
    IAudioPageView& view = *this;
    fController = std::make_unique<CAudioPageController>(*manager, view);

    connect(fDriverPopup, qOverload<int>(&QComboBox::activated), this, [this](int entry) { fController->ChooseDeviceEntry(entry); });
    connect(fRatePopup, qOverload<int>(&QComboBox::activated), this, [this](int index) { fController->ChooseRate(index); });
    connect(fClockSourcePopup, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { fController->ChooseClockSource(index); });
    // Applied when the drag ends (no tracking), at once for a key or a click beside the knob;
    // the text follows the knob while it is dragged.
    connect(fBufferSlider, &QSlider::valueChanged, this, [this](int index) { fController->ChooseBufferSize(index); });
    connect(fBufferSlider, &QSlider::sliderMoved, this, [this](int index) {
        const std::vector<int32_t>& sizes = fController->GetState().fBufferSizes;
        if (index >= 0 && index < int(sizes.size())) fBufferText->setText(FromUtf8(FormatBufferSizeText(sizes[size_t(index)])));
    });
    connect(fBufferUp, &QToolButton::clicked, this, [this] { fController->StepBufferSize(+1); });
    connect(fBufferDown, &QToolButton::clicked, this, [this] { fController->StepBufferSize(-1); });
    connect(fChannelsButton, &QPushButton::clicked, this, [this] { SelectActiveChannels(); });
    connect(fControlPanelButton, &QPushButton::clicked, this, [this] { fController->OpenControlPanel(); });
}

CAudioPreferencesPage::~CAudioPreferencesPage() = default;

void CAudioPreferencesPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The screen it shows on decides between the 1x and the 2x drawing.
    fStatePicture->setPixmap(fPictures.Get(fStatePictureId, *this));
    if (fScanned || !fController) return;
    fScanned = true;
    fController->Rescan();
}

void CAudioPreferencesPage::ShowAudioPage(const SAudioPageState& state) {
    const QSignalBlocker driverBlocker(fDriverPopup);
    const QSignalBlocker rateBlocker(fRatePopup);
    const QSignalBlocker sliderBlocker(fBufferSlider);
    const QSignalBlocker clockBlocker(fClockSourcePopup);

    FillDriverPopup(*fDriverPopup, state);
    fDriverPopup->setEnabled(!state.fDeviceEntries.empty());
    fStatePictureId = state.fStatePicture;
    fStatePicture->setPixmap(fPictures.Get(state.fStatePicture, *this));

    FillPopup(*fRatePopup, state.fRateTexts, state.fRateIndex, state.fRateEnabled);

    fBufferSlider->setRange(0, std::max(0, int(state.fBufferSizes.size()) - 1));
    fBufferSlider->setValue(std::max(0, state.fBufferIndex));
    fBufferSlider->setEnabled(state.fBufferEnabled);
    fBufferText->setText(FromUtf8(state.fBufferText));
    fBufferUp->setEnabled(state.fCanGrowBuffer);
    fBufferDown->setEnabled(state.fCanShrinkBuffer);

    fLatencyText->setText(FromUtf8(state.fLatencyText));
    fChannelsText->setText(FromUtf8(state.fChannelsText));
    fChannelsButton->setEnabled(state.fChannelsEnabled);
    fControlPanelButton->setEnabled(state.fControlPanelEnabled);
    FillPopup(*fClockSourcePopup, state.fClockSources, state.fClockSourceIndex, state.fClockSourceEnabled);
}

void CAudioPreferencesPage::SelectActiveChannels() {
    const SAudioPageState state = fController->GetState();
    if (!state.fChannelsEnabled) return;
    CSelectActiveChannelsDialog dialog(state.fChannelCount, state.fActiveChannels, this);
    if (dialog.exec() != QDialog::Accepted) return;
    fController->SetActiveChannels(dialog.GetActiveChannels());
}

}  // namespace NSQuillet
