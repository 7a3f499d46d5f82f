#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/document/DocumentListener.h"
#include "app/preferences/PreferencesListener.h"
#include "ui/logic/WindowCommands.h"
#include "ui/logic/waveform/WaveformDetailViewHandler.h"
#include "ui/logic/waveform/WaveformDocumentGestures.h"
#include "ui/logic/waveform/WaveformGeometry.h"

namespace NSQuillet {

class COSLikePushButton;
class CPeakMeterView;
class CQuilletDocument;
class CVerticalWaveformRulerView;
class CWaveformDetailView;
class CWaveformNavigatorView;
class CWaveformPeakCache;

// The centre of a document window: the detail view with its amplitude ruler, the navigator,
// the zoom and scroll buttons and the output peak meter. Turns the detail view's gestures into
// document operations (CWaveformDocumentGestures), runs the View menu's waveform commands and
// the zoom keys, follows the document's changes and, while it plays, its play position.
// User-interface thread.
class CWaveformDisplayGroupView final : public QWidget,
                                        public IWaveformCommands,
                                        private IWaveformDetailViewHandler,
                                        private IDocumentListener,
                                        private IPreferencesListener {
    Q_OBJECT

public:
    // Runs document work so that a failure reaches the user (the application's command runner).
    using FRunner = std::function<void(const std::function<void()>&)>;
    // A window command: 20250–20253 and the View menu's 20304, 20305.
    using FWindowCommand = std::function<void(int32_t command)>;
    // Shows a context menu at a global position; the chosen command, or 0.
    using FMenuRunner = std::function<int32_t(const std::vector<SWaveformMenuItem>& items, const QPoint& global)>;
    // An audition drag left the window: hand over the slices (full indices) or, when empty,
    // the whole loop.
    using FDragOut = std::function<void(const std::vector<int32_t>& slices)>;

    static constexpr int kPlaybackIntervalMs = 22;
    // The peak meter's column: two 6-pixel bars with their edges.
    static constexpr int kPeakMeterWidth = 16;

    // Not owned; outlives this view. Starts with the saved ruler units when the preferences
    // give them.
    explicit CWaveformDisplayGroupView(CQuilletDocument& document, QWidget* parent = nullptr);
    ~CWaveformDisplayGroupView() override;

    void SetRunner(FRunner runner) { fRunner = std::move(runner); }
    void SetWindowCommand(FWindowCommand command) { fWindowCommand = std::move(command); }
    void SetMenuRunner(FMenuRunner runner) { fMenuRunner = std::move(runner); }
    void SetDragOut(FDragOut dragOut) { fDragOut = std::move(dragOut); }

    // IWaveformCommands
    void ZoomIn() override;
    void ZoomOut() override;
    void MagnifyToFit() override;
    void MagnifyToFitLoop() override;
    void JumpToCursor() override;

    // A loop without a length whose left locator is at 0 while the first slice point lies a
    // little later: moves the left locator there, at once when the preference says so, else
    // when the user agrees. Applied without an undo step: it completes the opening.
    void OfferLeftLocatorMove();

    CWaveformDetailView& GetDetailView() { return *fDetail; }
    CWaveformNavigatorView& GetNavigator() { return *fNavigator; }
    CVerticalWaveformRulerView& GetVerticalRuler() { return *fRuler; }
    COSLikePushButton& GetZoomInButton() { return *fZoomIn; }
    COSLikePushButton& GetZoomOutButton() { return *fZoomOut; }
    COSLikePushButton& GetScrollLeftButton() { return *fScrollLeft; }
    COSLikePushButton& GetScrollRightButton() { return *fScrollRight; }
    COSLikePushButton& GetVerticalZoomInButton() { return *fVerticalZoomIn; }
    COSLikePushButton& GetVerticalZoomOutButton() { return *fVerticalZoomOut; }
    CPeakMeterView& GetPeakMeter() { return *fPeakMeter; }
    bool IsFollowingPlayback() const { return fPlayback.isActive(); }
    // One tick of the playback timer.
    void FollowPlayback();

private:
    // IWaveformDetailViewHandler
    void SetLocators(int32_t left, int32_t right) override;
    void SliceClickedWithExtend(int32_t shownIndex) override;
    void BeginGesture(EWaveformGesture gesture, int32_t shownIndex, int32_t frame) override;
    void ContinueGesture(int32_t frame) override;
    void EndGesture() override;
    void ContextClickOnSlice(const SPlainMouseEvent& event, int32_t shownIndex) override;
    void ContextClickInWaveform(const SPlainMouseEvent& event, int32_t frame) override;
    void RangeSelection(int32_t start, int32_t end, ERangePhase phase, bool extend) override;
    void SetVisibleRange(int32_t start, int32_t end) override;
    void CursorDraggedTo(int32_t frame) override;
    void VerticalZoomChanged(double factor) override;

    // IDocumentListener
    void OnParametersChanged() override;
    void OnSlicesChanged() override;
    void OnWaveSampleChanged() override;
    void OnViewAndEditAttributesChanged() override;
    void OnUndoHistoryChanged() override {}
    void OnTitleChanged() override {}
    void OnPlaybackStateChanged() override;

    // IPreferencesListener
    void OnDisplayPreferencesChanged() override;
    void OnBehaviorPreferencesChanged() override {}

    void Run(const std::function<void()>& work);
    void BuildLayout();
    void RebuildModel();
    void RebuildSlices();
    void RebuildWave();
    void ApplyDisplayPreferences();
    void ApplyRange(SVisibleRange range);
    void UpdateButtons();
    void UpdatePlaybackCursor();
    void Follow(int32_t cursor);
    void RunMenu(const std::vector<SWaveformMenuItem>& items, const SPlainMouseEvent& event, int32_t frame);
    void DoMenuCommand(int32_t command, int32_t frame);
    void DragOut(int32_t pressFrame);
    static int32_t ExecMenu(QWidget* parent, const std::vector<SWaveformMenuItem>& items, const QPoint& global);

    CQuilletDocument& fDocument;
    CWaveformDocumentGestures fGestures;
    std::unique_ptr<CWaveformPeakCache> fPeaks;
    CWaveformDetailView* fDetail = nullptr;
    CVerticalWaveformRulerView* fRuler = nullptr;
    CWaveformNavigatorView* fNavigator = nullptr;
    COSLikePushButton* fScrollLeft = nullptr;
    COSLikePushButton* fScrollRight = nullptr;
    COSLikePushButton* fZoomOut = nullptr;
    COSLikePushButton* fZoomIn = nullptr;
    COSLikePushButton* fVerticalZoomOut = nullptr;
    COSLikePushButton* fVerticalZoomIn = nullptr;
    CPeakMeterView* fPeakMeter = nullptr;
    QTimer fPlayback;
    FRunner fRunner;
    FWindowCommand fWindowCommand;
    FMenuRunner fMenuRunner;
    FDragOut fDragOut;
    bool fListeningToPreferences = false;
};

}  // namespace NSQuillet
