#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/logic/waveform/WaveformDetailViewLogic.h"
#include "ui/logic/waveform/WaveformPeakCache.h"
#include "ui/waveform/ViewPictures.h"

namespace NSQuillet {

// The zoomable waveform with its marker strip: forwards the mouse to CWaveformDetailViewLogic
// as plain values, auto-scrolls a captured drag held beyond the content's sides, and draws the
// ruler, the markers, the wave (per pixel column from the peak cache, single frames when zoomed
// in further), the loop, the slices' states and the magnify band. Never changes the document:
// its handler (the group view) does. User-interface thread.
class CWaveformDetailView final : public QWidget {
    Q_OBJECT

public:
    // The ruler's units (ERulerUnits) and the loop length the Beats ruler counts.
    struct SRulerSettings {
        uint32_t fUnits = 286;
        int32_t fBars = 1;
        int32_t fBeats = 0;
        int32_t fNumerator = 4;
        int32_t fDenominator = 4;
        friend bool operator==(const SRulerSettings& a, const SRulerSettings& b) {
            return a.fUnits == b.fUnits && a.fBars == b.fBars && a.fBeats == b.fBeats &&
                   a.fNumerator == b.fNumerator && a.fDenominator == b.fDenominator;
        }
    };
    // Called when an audition drag leaves the window, with the frame the press was on; the
    // gesture has ended by then.
    using FDragOut = std::function<void(int32_t pressFrame)>;

    static constexpr int kAutoScrollIntervalMs = 50;

    // Not owned; outlives this view.
    explicit CWaveformDetailView(IWaveformDetailViewHandler& handler, QWidget* parent = nullptr);

    CWaveformDetailViewLogic& GetLogic() { return fLogic; }
    const CWaveformDetailViewLogic& GetLogic() const { return fLogic; }

    // Not owned; null: no wave is drawn. Kept until the next call.
    void SetPeakCache(const CWaveformPeakCache* cache);
    // Stereo drawn as one lane of (L + R) / 2.
    void SetSumOfChannels(bool sum);
    bool IsSumOfChannels() const { return fSumOfChannels; }
    // 1 or 2: the lanes the wave is drawn in.
    int32_t GetLaneCount() const;
    void SetRulerSettings(const SRulerSettings& settings);
    // Repaints only the columns of the old and the new cursor.
    void SetPlaybackCursor(int32_t frame);
    // The shown slices; repaints only the span whose slices changed (a slice dragged among a
    // thousand repaints a few columns), everything when their number changed.
    void SetSlices(std::vector<SWaveformMarkerSlice> slices);
    void SetDragOut(FDragOut dragOut) { fDragOut = std::move(dragOut); }
    bool IsAutoScrolling() const { return fAutoScroll.isActive(); }
    // The signed step count the auto-scroll timer passes for a mouse at view x `x`; 0 inside
    // the content.
    int32_t AutoScrollSteps(int32_t x) const;

    QSize sizeHint() const override { return QSize(600, 240); }
    QSize minimumSizeHint() const override { return QSize(120, 100); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SPlainMouseEvent Plain(const QMouseEvent& event, int32_t clickCount) const;
    void AfterMouse(const QMouseEvent& event, bool moved = false);
    void UpdateCursor();
    void ShowDragTip(const QPoint& globalPosition);
    void OnAutoScroll();
    bool IsActiveLook() const;
    QRect CursorColumn(int32_t frame) const;

    void DrawMarkerStrip(QPainter& painter, const QRect& dirty);
    void DrawRuler(QPainter& painter);
    void DrawWaveArea(QPainter& painter, const QRect& dirty);
    void DrawLane(QPainter& painter, int32_t channel, int32_t lane, int32_t laneCount, int32_t firstColumn,
                  int32_t lastColumn);
    void DrawFrames(QPainter& painter, int32_t channel, int32_t lane, int32_t laneCount, const QRect& dirty);
    void DrawMarkers(QPainter& painter, const QRect& dirty);
    int32_t FirstSliceAtOrAfter(int32_t frame) const;

    IWaveformDetailViewHandler& fHandler;
    CWaveformDetailViewLogic fLogic;
    const CWaveformPeakCache* fPeaks = nullptr;
    // The peaks of the device columns last drawn from the cache, per channel (1, 2, sum), kept
    // while the visible range's start, the frames per column and the cache stay the same, so
    // that repaints for slices, selection or the cursor skip the lookups.
    struct SColumnPeaks {
        const CWaveformPeakCache* fPeaks = nullptr;
        int32_t fStart = 0;
        double fFramesPerColumn = 0.0;
        std::vector<SPeak> fColumns;
        std::vector<bool> fKnown;
    };
    SColumnPeaks fColumnPeaks[3];
    // Where a lane's wave columns are composed before they are drawn; kept between repaints.
    QImage fLanePixels;
    bool fSumOfChannels = false;
    SRulerSettings fRuler;
    CViewPictures fPictures;
    QTimer fAutoScroll;
    int32_t fAutoScrollSteps = 0;
    FDragOut fDragOut;
    int32_t fPressFrame = 0;
    bool fPressed = false;
};

}  // namespace NSQuillet
