#include "ui/waveform/WaveformDisplayGroupView.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>

#include <algorithm>

#include "app/document/DocumentParametersChange.h"
#include "app/document/QuilletDocument.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/resources/Alert.h"
#include "app/resources/AlertIds.h"
#include "app/resources/MenuIds.h"
#include "app/resources/ResourceReference.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Diagnostics.h"
#include "ui/logic/SkinPictures.h"
#include "ui/logic/waveform/WaveformDisplayModel.h"
#include "ui/logic/waveform/WaveformMarkerSlice.h"
#include "ui/logic/waveform/WaveformPeakCache.h"
#include "ui/logic/waveform/WaveformRangeRules.h"
#include "ui/toolbars/PeakMeterView.h"
#include "ui/waveform/OSLikePushButton.h"
#include "ui/waveform/VerticalWaveformRulerView.h"
#include "ui/waveform/WaveformDetailView.h"
#include "ui/waveform/WaveformNavigatorView.h"

namespace NSQuillet {

namespace {

// The saved ruler units: 0 Time, 1 Samples.
constexpr uint32_t kSavedUnits_Time = 0;
constexpr uint32_t kSavedUnits_Samples = 1;

bool HasLoopLength(const SDocumentParameters& parameters) {
    return parameters.fLoop.GetBars() != 0 || parameters.fLoop.GetBeats() != 0;
}

// Resizes of the detail view change what the zoom rules allow.
class CResizeWatcher final : public QObject {
public:
    CResizeWatcher(QObject* parent, std::function<void()> resized) : QObject(parent), fResized(std::move(resized)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) fResized();
        return false;
    }

private:
    std::function<void()> fResized;
};

}  // namespace

CWaveformDisplayGroupView::CWaveformDisplayGroupView(CQuilletDocument& document, QWidget* parent)
    : QWidget(parent), fDocument(document), fGestures(document) {
    fDetail = new CWaveformDetailView(*this, this);
    fRuler = new CVerticalWaveformRulerView(this);
    fNavigator = new CWaveformNavigatorView(this);
    fScrollLeft = new COSLikePushButton(NSQuilletSkin::kScrollLeftPictureId, this);
    fScrollRight = new COSLikePushButton(NSQuilletSkin::kScrollRightPictureId, this);
    fZoomOut = new COSLikePushButton(NSQuilletSkin::kZoomOutPictureId, this);
    fZoomIn = new COSLikePushButton(NSQuilletSkin::kZoomInPictureId, this);
    fVerticalZoomOut = new COSLikePushButton(NSQuilletSkin::kZoomOutPictureId, this);
    fVerticalZoomIn = new COSLikePushButton(NSQuilletSkin::kZoomInPictureId, this);
    fPeakMeter = new CPeakMeterView(document, this);
    fPeakMeter->setFixedWidth(kPeakMeterWidth);
    BuildLayout();

    connect(fScrollLeft, &QAbstractButton::clicked, this, [this] { fDetail->GetLogic().ScrollLeft(); });
    connect(fScrollRight, &QAbstractButton::clicked, this, [this] { fDetail->GetLogic().ScrollRight(); });
    connect(fZoomOut, &QAbstractButton::clicked, this, [this] { ZoomOut(); });
    connect(fZoomIn, &QAbstractButton::clicked, this, [this] { ZoomIn(); });
    connect(fVerticalZoomOut, &QAbstractButton::clicked, this, [this] { fDetail->GetLogic().VerticalZoomOut(); });
    connect(fVerticalZoomIn, &QAbstractButton::clicked, this, [this] { fDetail->GetLogic().VerticalZoomIn(); });
    fNavigator->SetRangeHandler([this](SVisibleRange range) { SetVisibleRange(range.fStart, range.fEnd); });
    fDetail->SetDragOut([this](int32_t pressFrame) { DragOut(pressFrame); });
    fDetail->installEventFilter(new CResizeWatcher(this, [this] {
        fNavigator->SetDetailWidth(fDetail->GetLogic().GetGeometry().GetContentWidth());
        UpdateButtons();
    }));
    fPlayback.setInterval(kPlaybackIntervalMs);
    connect(&fPlayback, &QTimer::timeout, this, &CWaveformDisplayGroupView::FollowPlayback);

    RebuildWave();
    fDetail->GetLogic().SetTool(fDocument.GetViewAndEditAttributes().fEditTool);
    if (CPreferences* preferences = GetPreferences()) {
        preferences->AddListener(this);
        fListeningToPreferences = true;
        SViewAndEditAttributes attributes = fDocument.GetViewAndEditAttributes();
        attributes.fHorizontalRulerUnits =
            preferences->GetHorizontalRulerUnitsSaved() == kSavedUnits_Samples ? kRulerUnits_Samples : kRulerUnits_Time;
        if (attributes != fDocument.GetViewAndEditAttributes()) fDocument.SetViewAndEditAttributes(attributes);
    }
    ApplyDisplayPreferences();
    fDocument.AddListener(this);
    OnViewAndEditAttributesChanged();
    OnPlaybackStateChanged();
}

CWaveformDisplayGroupView::~CWaveformDisplayGroupView() {
    fDocument.RemoveListener(this);
    if (fListeningToPreferences) {
        if (CPreferences* preferences = GetPreferences()) preferences->RemoveListener(this);
    }
}

void CWaveformDisplayGroupView::BuildLayout() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(3);
    grid->addWidget(fDetail, 0, 0);
    grid->addWidget(fRuler, 0, 1);
    grid->addWidget(fPeakMeter, 0, 2, 2, 1);

    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(CWaveformGeometry::kContentInset, 0, 4, 3);
    strip->setSpacing(2);
    strip->addWidget(fNavigator, 1);
    strip->addSpacing(4);
    for (COSLikePushButton* button : {fScrollLeft, fScrollRight, fZoomOut, fZoomIn})
        strip->addWidget(button, 0, Qt::AlignVCenter);
    grid->addLayout(strip, 1, 0);

    auto* vertical = new QHBoxLayout;
    vertical->setContentsMargins(0, 0, 0, 3);
    vertical->setSpacing(0);
    vertical->addStretch(1);
    vertical->addWidget(fVerticalZoomOut, 0, Qt::AlignVCenter);
    vertical->addWidget(fVerticalZoomIn, 0, Qt::AlignVCenter);
    vertical->addStretch(1);
    grid->addLayout(vertical, 1, 1);
    fScrollLeft->setToolTip(tr("Scroll Left"));
    fScrollRight->setToolTip(tr("Scroll Right"));
    fZoomOut->setToolTip(tr("Zoom Out (Ctrl+Minus)"));
    fZoomIn->setToolTip(tr("Zoom In (Ctrl+Plus)"));
    fVerticalZoomOut->setToolTip(tr("Lower Amplitude Zoom"));
    fVerticalZoomIn->setToolTip(tr("Raise Amplitude Zoom"));
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    // The ruler's column is as wide as the two vertical zoom buttons.
    fRuler->setFixedWidth(std::max(CVerticalWaveformRulerView::kWidth, 2 * fVerticalZoomIn->sizeHint().width()));
}

void CWaveformDisplayGroupView::Run(const std::function<void()>& work) {
    if (fRunner) {
        fRunner(work);
        return;
    }
    NSMishap::RunReportingFailure("waveform", work);
}

// The document --------------------------------------------------------------------------------

void CWaveformDisplayGroupView::RebuildModel() {
    const SDocumentParameters parameters = fDocument.GetDocumentParameters();
    const SWaveformDisplayModel model =
        MakeWaveformDisplayModel(fDocument.GetWaveSample(), parameters.fLeftLocator, parameters.fRightLocator);
    CWaveformDetailViewLogic& logic = fDetail->GetLogic();
    logic.SetModel(model);
    fNavigator->SetModel(model);
    CWaveformDetailView::SRulerSettings ruler;
    ruler.fUnits = fDocument.GetViewAndEditAttributes().fHorizontalRulerUnits;
    ruler.fBars = parameters.fLoop.GetBars();
    ruler.fBeats = parameters.fLoop.GetBeats();
    ruler.fNumerator = parameters.fLoop.GetTimeSignatureNumerator();
    ruler.fDenominator = parameters.fLoop.GetTimeSignatureDenominator();
    fDetail->SetRulerSettings(ruler);
    fRuler->SetLanes(fDetail->GetLaneCount());
    fDetail->update();
}

void CWaveformDisplayGroupView::RebuildSlices() {
    fDetail->SetSlices(MakeWaveformMarkerSlices(fDocument.GetSliceSequence()));
}

void CWaveformDisplayGroupView::RebuildWave() {
    const CABCWaveSample& sample = fDocument.GetWaveSample();
    fDetail->SetPeakCache(nullptr);
    fNavigator->SetPeakCache(nullptr);
    fPeaks = std::make_unique<CWaveformPeakCache>(sample);
    CWaveformDetailViewLogic& logic = fDetail->GetLogic();
    logic.SetSample(&sample);
    fDetail->SetPeakCache(fPeaks.get());
    fNavigator->SetPeakCache(fPeaks.get());
    const SVisibleRange old = logic.GetVisibleRange();
    RebuildModel();
    RebuildSlices();
    const int32_t frames = sample.GetFrameCount();
    ApplyRange(old.Width() > 0 ? NSWaveformRange::AfterWaveChange(old, frames) : SVisibleRange{0, frames});
    UpdatePlaybackCursor();
}

void CWaveformDisplayGroupView::OnParametersChanged() {
    RebuildModel();
    UpdatePlaybackCursor();
}

void CWaveformDisplayGroupView::OnSlicesChanged() { RebuildSlices(); }

void CWaveformDisplayGroupView::OnWaveSampleChanged() { RebuildWave(); }

void CWaveformDisplayGroupView::OnViewAndEditAttributesChanged() {
    const SViewAndEditAttributes& attributes = fDocument.GetViewAndEditAttributes();
    fDetail->GetLogic().SetTool(attributes.fEditTool);
    RebuildModel();
    // Time and Samples are remembered for new windows; Beats needs a loop length, so not.
    CPreferences* preferences = GetPreferences();
    if (!preferences) return;
    if (attributes.fHorizontalRulerUnits == kRulerUnits_Time)
        preferences->SetHorizontalRulerUnitsSaved(kSavedUnits_Time);
    else if (attributes.fHorizontalRulerUnits == kRulerUnits_Samples)
        preferences->SetHorizontalRulerUnitsSaved(kSavedUnits_Samples);
}

void CWaveformDisplayGroupView::OnPlaybackStateChanged() {
    UpdatePlaybackCursor();
    if (fDocument.IsPlaying()) {
        if (!fPlayback.isActive()) fPlayback.start();
    } else if (fPlayback.isActive()) {
        fPlayback.stop();
        FollowPlayback();
    }
}

void CWaveformDisplayGroupView::OnDisplayPreferencesChanged() {
    ApplyDisplayPreferences();
    fDetail->repaint();
    fNavigator->repaint();
    fRuler->repaint();
}

void CWaveformDisplayGroupView::ApplyDisplayPreferences() {
    const CPreferences* preferences = GetPreferences();
    const bool sum = preferences && preferences->GetViewStereoFilesAsSumOfLR();
    fDetail->SetSumOfChannels(sum);
    fNavigator->SetSumOfChannels(sum);
    fRuler->SetLanes(fDetail->GetLaneCount());
}

// Playback ------------------------------------------------------------------------------------

void CWaveformDisplayGroupView::UpdatePlaybackCursor() {
    const int32_t cursor = fDocument.GetPlayPosition();
    fDetail->SetPlaybackCursor(cursor);
    fNavigator->SetPlaybackCursor(cursor);
}

void CWaveformDisplayGroupView::FollowPlayback() {
    UpdatePlaybackCursor();
    const CPreferences* preferences = GetPreferences();
    if (!preferences || !preferences->GetScrollDuringPlayback()) return;
    if (fDetail->GetLogic().IsBusyWithMouse() || fNavigator->IsDragging()) return;
    Follow(fDetail->GetLogic().GetPlaybackCursor());
}

void CWaveformDisplayGroupView::Follow(int32_t cursor) {
    const CSliceSequence& sequence = fDocument.GetSliceSequence();
    const int32_t containing = FindShownSliceContaining(sequence, cursor);
    const int32_t sliceStart = containing >= 0 ? GetShownSliceExtent(sequence, containing).fStart : 0;
    if (const std::optional<SVisibleRange> range = NSWaveformRange::FollowCursor(
            fDetail->GetLogic().GetVisibleRange(), cursor, sliceStart, fDocument.GetWaveSample().GetFrameCount()))
        ApplyRange(*range);
}

// The visible range ---------------------------------------------------------------------------

void CWaveformDisplayGroupView::ApplyRange(SVisibleRange range) {
    CWaveformDetailViewLogic& logic = fDetail->GetLogic();
    if (range != logic.GetVisibleRange()) {
        logic.SetVisibleRange(range);
        fDetail->update();
    }
    fNavigator->SetVisibleRange(range);
    UpdateButtons();
}

void CWaveformDisplayGroupView::UpdateButtons() {
    const CWaveformDetailViewLogic& logic = fDetail->GetLogic();
    const bool sound = logic.GetModel().fFrameCount > 0;
    fZoomIn->setEnabled(sound && logic.CanZoomIn());
    fZoomOut->setEnabled(sound && logic.CanZoomOut());
    fScrollLeft->setEnabled(sound && logic.CanScrollLeft());
    fScrollRight->setEnabled(sound && logic.CanScrollRight());
    fVerticalZoomIn->setEnabled(sound && logic.CanVerticalZoomIn());
    fVerticalZoomOut->setEnabled(sound && logic.CanVerticalZoomOut());
}

void CWaveformDisplayGroupView::ZoomIn() {
    if (fDetail->GetLogic().CanZoomIn()) fDetail->GetLogic().ZoomIn(-1);
}

void CWaveformDisplayGroupView::ZoomOut() {
    if (fDetail->GetLogic().CanZoomOut()) fDetail->GetLogic().ZoomOut(-1);
}

void CWaveformDisplayGroupView::MagnifyToFit() { ApplyRange({0, fDocument.GetWaveSample().GetFrameCount()}); }

void CWaveformDisplayGroupView::MagnifyToFitLoop() {
    const SDocumentParameters parameters = fDocument.GetDocumentParameters();
    if (parameters.fRightLocator > parameters.fLeftLocator)
        ApplyRange({parameters.fLeftLocator, parameters.fRightLocator});
}

void CWaveformDisplayGroupView::JumpToCursor() { Follow(fDocument.GetPlayPosition()); }

// The detail view's handler ---------------------------------------------------------------------

void CWaveformDisplayGroupView::SetLocators(int32_t left, int32_t right) {
    Run([&] { fGestures.SetLocators(left, right); });
}

void CWaveformDisplayGroupView::SliceClickedWithExtend(int32_t shownIndex) {
    Run([&] {
        fGestures.SliceClickedWithExtend(shownIndex);
        fDocument.CloseUndoStep();
    });
}

void CWaveformDisplayGroupView::BeginGesture(EWaveformGesture gesture, int32_t shownIndex, int32_t frame) {
    Run([&] { fGestures.BeginGesture(gesture, shownIndex, frame); });
}

void CWaveformDisplayGroupView::ContinueGesture(int32_t frame) {
    Run([&] { fGestures.ContinueGesture(frame); });
}

void CWaveformDisplayGroupView::EndGesture() {
    Run([&] { fGestures.EndGesture(); });
}

void CWaveformDisplayGroupView::RangeSelection(int32_t start, int32_t end, ERangePhase phase, bool extend) {
    Run([&] { fGestures.RangeSelection(start, end, phase, extend); });
}

void CWaveformDisplayGroupView::SetVisibleRange(int32_t start, int32_t end) { ApplyRange({start, end}); }

void CWaveformDisplayGroupView::CursorDraggedTo(int32_t frame) {
    Run([&] { fGestures.CursorDraggedTo(frame); });
}

void CWaveformDisplayGroupView::VerticalZoomChanged(double factor) {
    fRuler->SetVerticalZoom(factor);
    fDetail->update();
    UpdateButtons();
}

// Context menus and the drag out ----------------------------------------------------------------

void CWaveformDisplayGroupView::ContextClickOnSlice(const SPlainMouseEvent& event, int32_t shownIndex) {
    std::vector<SWaveformMenuItem> items;
    Run([&] { items = fGestures.PrepareSliceMenu(shownIndex); });
    const auto& slices = fDetail->GetLogic().GetSlices();
    if (items.empty() || shownIndex < 0 || size_t(shownIndex) >= slices.size()) return;
    RunMenu(items, event, slices[size_t(shownIndex)].fPosition);
}

void CWaveformDisplayGroupView::ContextClickInWaveform(const SPlainMouseEvent& event, int32_t frame) {
    RunMenu(CWaveformDocumentGestures::WaveformMenu(), event, frame);
}

void CWaveformDisplayGroupView::RunMenu(const std::vector<SWaveformMenuItem>& items, const SPlainMouseEvent& event,
                                        int32_t frame) {
    const QPoint global = fDetail->mapToGlobal(QPoint(event.fX, event.fY));
    const int32_t command = fMenuRunner ? fMenuRunner(items, global) : ExecMenu(this, items, global);
    if (command != 0) DoMenuCommand(command, frame);
}

int32_t CWaveformDisplayGroupView::ExecMenu(QWidget* parent, const std::vector<SWaveformMenuItem>& items,
                                            const QPoint& global) {
    QMenu menu(parent);
    for (const SWaveformMenuItem& item : items) {
        QAction* action = menu.addAction(QString::fromStdString(item.fLabel));
        action->setData(item.fCommand);
    }
    const QAction* chosen = menu.exec(global);
    return chosen ? chosen->data().toInt() : 0;
}

void CWaveformDisplayGroupView::DoMenuCommand(int32_t command, int32_t frame) {
    using namespace NSCommandIds;
    switch (command) {
    case kLockSlices:
    case kUnlockSlices:
    case kMuteSlices:
    case kUnmuteSlices:
    case kMagnifyToFit:
    case kMagnifyToFitLoop:
        if (fWindowCommand) fWindowCommand(command);
        return;
    case kMagnifyToFitSlice:
        if (const std::optional<SVisibleRange> range = fGestures.SliceRangeAt(frame)) ApplyRange(*range);
        return;
    default:
        Run([&] { fGestures.DoSliceCommand(command, frame); });
        return;
    }
}

void CWaveformDisplayGroupView::DragOut(int32_t pressFrame) {
    if (!fDragOut) return;
    const CSliceSequence& sequence = fDocument.GetSliceSequence();
    std::vector<int32_t> slices;
    const int32_t pressed = FindShownSliceContaining(sequence, pressFrame);
    const CSlice* slice = sequence.GetSlice(pressed);
    if (slice && slice->IsSelected()) {
        for (int32_t i = 0; i < sequence.GetSliceCount(); ++i) {
            const CSlice& each = *sequence.GetSlice(i);
            if (each.IsSelected() && sequence.IsSliceShown(each)) slices.push_back(i);
        }
    }
    fDragOut(slices);
}

// The left locator at opening -------------------------------------------------------------------

void CWaveformDisplayGroupView::OfferLeftLocatorMove() {
    SDocumentParameters parameters = fDocument.GetDocumentParameters();
    int32_t first = 0;
    if (HasLoopLength(parameters) || parameters.fLeftLocator != 0 ||
        !fDocument.GetSliceSequence().GetFirstSliceOffset(first) || first >= parameters.fRightLocator)
        return;
    const CPreferences* preferences = GetPreferences();
    const bool always = preferences && preferences->GetAlwaysMoveLeftLocatorToFirstSlice();
    // "[No][Yes]": Yes is the rightmost button.
    if (!always && ShowAlert(AlertReference(NSAlertIds::kMoveLeftLocatorToFirstSlice)) != kAlertAnswerOfRightmostButton)
        return;
    Run([&] {
        parameters.fLeftLocator = first;
        NSUndoPackage::VTransaction transaction;
        transaction.Add(std::make_unique<CDocumentParametersChange>(fDocument, parameters));
        fDocument.ApplyWithoutUndo(transaction);
    });
}

}  // namespace NSQuillet
