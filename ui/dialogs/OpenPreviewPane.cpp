#include "ui/dialogs/OpenPreviewPane.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "app/preferences/GeneralPreferences.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/WavePlayer.h"

namespace NSQuillet {

namespace {

QString Text(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }
QString Shown(const std::string& text) { return QString::fromStdString(text); }

QString NotAvailable() {
    return QString::fromStdString(FrameworkShortTextReference(NSShortTextIds::kNotAvailable).GetText());
}

// The type texts and the widest forms of the other values.
QStringList WidestValueTexts() {
    QStringList texts;
    for (int type = int(EShownFileType::kWave); type <= int(EShownFileType::kSoundFont); ++type) {
        CShownSoundFileInfo file;
        file.fType = EShownFileType(type);
        texts << Shown(file.TypeText());
    }
    CShownSoundFileInfo file;
    file.fBitDepth = 32;
    file.fFloat = true;
    file.fSampleRate = 1000000;
    texts << Shown(file.BitsText()) << Shown(file.RateText()) << Shown(FormatByteSizeText(1023 << 20))
          << Shown(FormatTempoText(999999)) << Shown(FormatTempoText(888800)) << Shown(FormatBarsText(888, 7, 15))
          << Shown(FormatLengthText(44100 * 88 * 60, 44100));
    return texts;
}

// How often a straight sample that reached its end is noticed.
constexpr int kIdleMilliseconds = 50;

}  // namespace

CQuilletOpenPreviewPane::CQuilletOpenPreviewPane(CWavePlayer* player, QWidget* parent)
    : QWidget(parent),
      fPlayer(player),
      fPlayButton(new QPushButton(Text(NSStringIds::kPlayButton))),
      fStopButton(new QPushButton(Text(NSStringIds::kStopButton))),
      fAutoPlayCheckBox(new QCheckBox(Text(NSStringIds::kAutoPlayCheckBox))),
      fIdleTimer(new QTimer(this)),
      fAutoPlayWithoutPreferences(SGeneralPreferences().fAutoPlay) {
    using namespace NSStringIds;
    const auto group = [this](int32_t title, const std::array<std::pair<int32_t, EField>, 6>& rows) {
        auto* box = new QGroupBox(Text(title));
        auto* form = new QFormLayout(box);
        form->setLabelAlignment(Qt::AlignRight);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        for (const auto& [label, field] : rows) {
            auto* value = new QLabel(NotAvailable());
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            fValues[size_t(field)] = value;
            form->addRow(Text(label), value);
        }
        return box;
    };
    QGroupBox* file = group(kFileInformation, {{{kTypeLabel, kType},
                                                 {kChannelsLabel, kChannels},
                                                 {kLengthLabel, kLength},
                                                 {kBitsLabel, kBits},
                                                 {kFreqLabel, kFreq},
                                                 {kSizeLabel, kSize}}});
    QGroupBox* loop = group(kQuilletInformation, {{{kTempoLabel, kTempo},
                                                    {kSignLabel, kSign},
                                                    {kLengthLabel, kLoopLength},
                                                    {kUsageLabel, kUsage},
                                                    {kSlicesLabel, kSlices},
                                                    {kExportSizeLabel, kExportSize}}});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fPlayButton);
    buttons->addWidget(fStopButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(file);
    layout->addWidget(loop);
    layout->addLayout(buttons);
    layout->addWidget(fAutoPlayCheckBox);
    for (QLabel*& line : fMessage) {
        line = new QLabel;
        line->setAlignment(Qt::AlignCenter);
        layout->addWidget(line);
    }
    layout->addStretch();
    // Every value field as wide as the widest text any field shows, so that none is cut.
    int widest = 0;
    for (const QString& text : WidestValueTexts()) widest = std::max(widest, fontMetrics().horizontalAdvance(text));
    for (QLabel* value : fValues) value->setMinimumWidth(widest);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    fAutoPlayCheckBox->setChecked(IsAutoPlayOn());
    connect(fAutoPlayCheckBox, &QCheckBox::clicked, this, [this](bool on) { SetAutoPlay(on); });
    connect(fPlayButton, &QPushButton::clicked, this, [this] { Play(); });
    connect(fStopButton, &QPushButton::clicked, this, [this] { StopPreview(); });
    fIdleTimer->setInterval(kIdleMilliseconds);
    connect(fIdleTimer, &QTimer::timeout, this, [this] {
        if (fPlayer) fPlayer->Idle();
    });

    // Results come on the worker's thread and are taken on this one; the pane's own posted
    // calls go with it.
    fWorker = std::make_unique<CFilePreviewWorker>([this](CFilePreviewWorker::SResult result) {
        auto delivered = std::make_shared<CFilePreviewWorker::SResult>(std::move(result));
        QMetaObject::invokeMethod(this, [this, delivered] { Deliver(*delivered); }, Qt::QueuedConnection);
    });
    UpdateButtons();
}

CQuilletOpenPreviewPane::~CQuilletOpenPreviewPane() {
    StopPreview();
    fWorker.reset();
}

bool CQuilletOpenPreviewPane::IsAutoPlayOn() const {
    if (const CPreferences* preferences = GetPreferences()) return preferences->GetAutoPlay();
    return fAutoPlayWithoutPreferences;
}

void CQuilletOpenPreviewPane::SetAutoPlay(bool on) {
    if (CPreferences* preferences = GetPreferences()) {
        preferences->SetAutoPlay(on);
    } else {
        fAutoPlayWithoutPreferences = on;
    }
}

void CQuilletOpenPreviewPane::ShowFile(const QString& path) {
    const QString file = !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
    if (file == fShownPath) return;
    StopPreview();
    fPreview.reset();
    fShownPath = file;
    fInformationShown = false;
    fReason = NSPreviewReason::kNone;
    ClearFields();
    if (file.isEmpty()) {
        fGeneration = fWorker->Cancel();
        fPlayWanted = false;
    } else {
        fPlayWanted = fPlayer && IsAutoPlayOn();
        fGeneration = fWorker->Request(QFile::encodeName(file).toStdString(),
                                       fPlayWanted ? CFilePreviewWorker::EPreview::kAutoPlay
                                                   : CFilePreviewWorker::EPreview::kNone);
    }
    UpdateButtons();
}

void CQuilletOpenPreviewPane::StopPreview() {
    fPlayWanted = false;
    if (fPlaying && fPlayer) fPlayer->Stop();
    UpdateButtons();
}

void CQuilletOpenPreviewPane::Deliver(CFilePreviewWorker::SResult& result) {
    if (result.fGeneration != fGeneration) return;
    if (!result.IsPreviewDelivery()) {
        ShowInformation(result.fInfo);
        return;
    }
    if (!result.fPreview) {
        // The file changed or failed between the information and the audio.
        fPlayWanted = false;
        ShowReason(result.fPreviewReason);
        UpdateButtons();
        return;
    }
    fPreview = std::move(result.fPreview);
    if (fPlayWanted) StartPreview();
    UpdateButtons();
}

void CQuilletOpenPreviewPane::ShowInformation(const SShownFileInfo& info) {
    const CShownSoundFileInfo& file = info.fFile;
    const std::pair<EField, std::string> fileTexts[] = {
        {kType, file.TypeText()}, {kChannels, file.ChannelsText()}, {kLength, file.LengthText()},
        {kBits, file.BitsText()}, {kFreq, file.RateText()},         {kSize, file.SizeText()},
    };
    for (const auto& [field, text] : fileTexts) fValues[size_t(field)]->setText(Shown(text));
    if (info.fLoop) {
        const CShownQuilletFileInfo& loop = *info.fLoop;
        const std::pair<EField, std::string> loopTexts[] = {
            {kTempo, loop.TempoText()}, {kSign, loop.SignText()},     {kLoopLength, loop.LengthText()},
            {kUsage, loop.UsageText()}, {kSlices, loop.SlicesText()}, {kExportSize, loop.ExportSizeText()},
        };
        for (const auto& [field, text] : loopTexts) fValues[size_t(field)]->setText(Shown(text));
    }
    fInformationShown = true;
    ShowReason(info.fReason);
    if (!IsPlayableReason(info.fReason)) fPlayWanted = false;
    UpdateButtons();
    emit informationShown(fShownPath);
}

void CQuilletOpenPreviewPane::ShowReason(int32_t reason) {
    fReason = reason;
    const std::array<std::string, 2> lines = PreviewMessageLines(reason);
    for (size_t i = 0; i < fMessage.size(); ++i) fMessage[i]->setText(Shown(lines[i]));
}

void CQuilletOpenPreviewPane::ClearFields() {
    for (QLabel* value : fValues) value->setText(NotAvailable());
    for (QLabel* line : fMessage) line->clear();
}

void CQuilletOpenPreviewPane::Play() {
    if (!fPlayer || fShownPath.isEmpty() || !IsPlayableReason(fReason)) return;
    if (fPreview) {
        StartPreview();
        return;
    }
    // Read once more, this time with its audio: a long file too.
    fPlayWanted = true;
    fGeneration = fWorker->Request(QFile::encodeName(fShownPath).toStdString(), CFilePreviewWorker::EPreview::kPlay);
}

void CQuilletOpenPreviewPane::StartPreview() {
    fPlayWanted = false;
    if (!fPlayer || !fPreview) return;
    if (fPreview->Play(*fPlayer, this)) emit previewStarted();
}

void CQuilletOpenPreviewPane::WavePlayerStarted() {
    fPlaying = true;
    fIdleTimer->start();
    UpdateButtons();
}

void CQuilletOpenPreviewPane::WavePlayerStopped() {
    fPlaying = false;
    fIdleTimer->stop();
    UpdateButtons();
}

void CQuilletOpenPreviewPane::UpdateButtons() {
    fPlayButton->setEnabled(fPlayer && fInformationShown && IsPlayableReason(fReason));
    fStopButton->setEnabled(fPlaying || fPlayWanted);
}

}  // namespace NSQuillet
