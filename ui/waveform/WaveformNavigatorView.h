#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

#include "ui/logic/waveform/NavigatorDrag.h"
#include "ui/logic/waveform/WaveformDisplayModel.h"
#include "ui/logic/waveform/WaveformGeometry.h"

namespace NSNavigator {
class INavigatorSkin;
}

namespace NSQuillet {

class CWaveformPeakCache;

// The overview strip: the whole sample, the loop, the playback cursor and a grip marking the
// detail view's visible range. A drag on it moves (or, in zoom mode, also scales) the visible
// range through CNavigatorDrag and reports each new range. Draws with the program's navigator
// skin (CQuilletSkin::Get()), with plain colours when there is none. User-interface thread.
class CWaveformNavigatorView final : public QWidget {
    Q_OBJECT

public:
    using FSetRange = std::function<void(SVisibleRange)>;

    static constexpr int kHeight = 24;
    static constexpr int kMinimumGripWidth = 21;

    explicit CWaveformNavigatorView(QWidget* parent = nullptr);

    void SetModel(const SWaveformDisplayModel& model);
    // Not owned; null: no wave. Kept until the next call.
    void SetPeakCache(const CWaveformPeakCache* cache);
    void SetSumOfChannels(bool sum);
    void SetVisibleRange(SVisibleRange range);
    void SetPlaybackCursor(int32_t frame);
    // The detail view's content width, which the zoom drag scales against.
    void SetDetailWidth(int32_t width) { fDetailWidth = width; }
    void SetRangeHandler(FSetRange handler) { fSetRange = std::move(handler); }
    // Null: CQuilletSkin::Get(). Not owned.
    void SetSkin(NSNavigator::INavigatorSkin* skin) { fSkin = skin; }

    // The strip's track (the whole sample) and the grip, in view pixels.
    QRect GetTrackRect() const;
    QRect GetGripRect() const;
    bool IsDragging() const { return fDrag.has_value(); }

    QSize sizeHint() const override { return QSize(400, kHeight); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Press(QMouseEvent& event, bool doubleClick);
    int FrameToX(int64_t frame) const;
    QRect CursorColumn(int32_t frame) const;
    void DrawWave(QPainter& painter, const QRect& area);

    SWaveformDisplayModel fModel;
    const CWaveformPeakCache* fPeaks = nullptr;
    bool fSumOfChannels = false;
    SVisibleRange fRange;
    int32_t fCursor = 0;
    int32_t fDetailWidth = 1;
    FSetRange fSetRange;
    NSNavigator::INavigatorSkin* fSkin = nullptr;
    std::optional<CNavigatorDrag> fDrag;
    bool fHot = false;
};

}  // namespace NSQuillet
