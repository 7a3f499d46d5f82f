#include "ui/waveform/WaveformNavigatorView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/logic/waveform/WaveformPeakCache.h"
#include "ui/skin/QuilletSkin.h"
#include "ui/waveform/WaveformColours.h"

namespace NSQuillet {

namespace {

const QColor kPlainTrack(30, 35, 41);
const QColor kPlainGrip = NSWaveformColours::WithAlpha(NSWaveformColours::kSelection, 90);
const QColor kOverview = NSWaveformColours::WithAlpha(NSWaveformColours::kWave, 150);
const QColor& kPlainCursor = NSWaveformColours::kPlaybackCursor;

// A nine-slice picture stretched over `target`: corners kept, edges and middle stretched.
// `border` in 1x pixels.
void DrawNineSlice(QPainter& painter, const QRect& target, const QPixmap& picture, const QMargins& border) {
    if (picture.isNull() || target.isEmpty()) return;
    const qreal ratio = picture.devicePixelRatio();
    const QSizeF size = picture.deviceIndependentSize();
    const int l = std::min(border.left(), target.width() / 2);
    const int r = std::min(border.right(), target.width() - l);
    const int t = std::min(border.top(), target.height() / 2);
    const int b = std::min(border.bottom(), target.height() - t);
    const double xs[] = {0, double(l), size.width() - r, size.width()};
    const double ys[] = {0, double(t), size.height() - b, size.height()};
    const int xt[] = {target.left(), target.left() + l, target.right() + 1 - r, target.right() + 1};
    const int yt[] = {target.top(), target.top() + t, target.bottom() + 1 - b, target.bottom() + 1};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect to(QPoint(xt[column], yt[row]), QPoint(xt[column + 1] - 1, yt[row + 1] - 1));
            const QRectF from(xs[column] * ratio, ys[row] * ratio, (xs[column + 1] - xs[column]) * ratio,
                              (ys[row + 1] - ys[row]) * ratio);
            if (to.isEmpty() || from.isEmpty()) continue;
            painter.drawPixmap(QRectF(to), picture, from);
        }
    }
}

}  // namespace

CWaveformNavigatorView::CWaveformNavigatorView(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void CWaveformNavigatorView::SetModel(const SWaveformDisplayModel& model) {
    if (model == fModel) return;
    fModel = model;
    update();
}

void CWaveformNavigatorView::SetPeakCache(const CWaveformPeakCache* cache) {
    fPeaks = cache;
    update();
}

void CWaveformNavigatorView::SetSumOfChannels(bool sum) {
    if (sum == fSumOfChannels) return;
    fSumOfChannels = sum;
    update();
}

void CWaveformNavigatorView::SetVisibleRange(SVisibleRange range) {
    if (range == fRange) return;
    fRange = range;
    update();
}

QRect CWaveformNavigatorView::CursorColumn(int32_t frame) const { return QRect(FrameToX(frame) - 3, 0, 7, height()); }

void CWaveformNavigatorView::SetPlaybackCursor(int32_t frame) {
    if (frame == fCursor) return;
    update(CursorColumn(fCursor));
    fCursor = frame;
    update(CursorColumn(fCursor));
}

QRect CWaveformNavigatorView::GetTrackRect() const { return rect(); }

int CWaveformNavigatorView::FrameToX(int64_t frame) const {
    const QRect track = GetTrackRect();
    if (fModel.fFrameCount <= 0) return track.left();
    return track.left() + int(std::floor(double(track.width()) * double(frame) / fModel.fFrameCount + 0.5));
}

QRect CWaveformNavigatorView::GetGripRect() const {
    const QRect track = GetTrackRect();
    int left = FrameToX(fRange.fStart);
    int right = FrameToX(fRange.fEnd);
    if (right - left < kMinimumGripWidth) {
        const int centre = (left + right) / 2;
        left = std::clamp(centre - kMinimumGripWidth / 2, track.left(), std::max(track.left(), track.right() + 1 - kMinimumGripWidth));
        right = left + kMinimumGripWidth;
    }
    return QRect(left, track.top(), right - left, track.height());
}

// Pressing -----------------------------------------------------------------------------------

void CWaveformNavigatorView::Press(QMouseEvent& event, bool doubleClick) {
    if (event.button() != Qt::LeftButton || fModel.fFrameCount <= 0 || fRange.Width() <= 0) return;
    const QPoint at = event.position().toPoint();
    fDrag.emplace(fRange, fModel.fFrameCount, std::max(1, GetTrackRect().width()), std::max(1, fDetailWidth), at.x(),
                  at.y(), doubleClick, (event.modifiers() & Qt::ShiftModifier) != 0);
    update();
}

void CWaveformNavigatorView::mousePressEvent(QMouseEvent* event) { Press(*event, false); }
void CWaveformNavigatorView::mouseDoubleClickEvent(QMouseEvent* event) { Press(*event, true); }

void CWaveformNavigatorView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!fDrag) {
        const bool hot = GetGripRect().contains(at);
        if (hot != fHot) {
            fHot = hot;
            update();
        }
        return;
    }
    if (const std::optional<SVisibleRange> range = fDrag->Move(at.x(), at.y())) {
        if (fSetRange) fSetRange(*range);
    }
}

void CWaveformNavigatorView::mouseReleaseEvent(QMouseEvent* event) {
    if (!fDrag || event->button() != Qt::LeftButton) return;
    fDrag.reset();
    fHot = GetGripRect().contains(event->position().toPoint());
    update();
}

void CWaveformNavigatorView::leaveEvent(QEvent* event) {
    if (fHot) {
        fHot = false;
        update();
    }
    QWidget::leaveEvent(event);
}

// Drawing -----------------------------------------------------------------------------------

void CWaveformNavigatorView::DrawWave(QPainter& painter, const QRect& area) {
    if (!fPeaks || fPeaks->GetFrameCount() != fModel.fFrameCount || fModel.fFrameCount <= 0 || area.isEmpty()) return;
    const bool stereo = fModel.fStereo != 0;
    const int32_t lanes = stereo && !fSumOfChannels ? 2 : 1;
    const int32_t single = stereo && fSumOfChannels ? CWaveformPeakCache::kSumChannel : 1;
    const QRect track = GetTrackRect();
    const double framesPerPixel = double(fModel.fFrameCount) / std::max(1, track.width());
    std::vector<QRectF> rects;
    rects.reserve(size_t(area.width() * lanes));
    for (int32_t lane = 0; lane < lanes; ++lane) {
        const double laneHeight = double(area.height()) / lanes;
        const double centre = area.top() + laneHeight * (lane + 0.5);
        const double half = laneHeight / 2.0;
        for (int x = area.left(); x <= area.right(); ++x) {
            const auto start = int32_t(std::floor((x - track.left()) * framesPerPixel));
            const auto end = std::max(start + 1, int32_t(std::ceil((x + 1 - track.left()) * framesPerPixel)));
            if (start >= fModel.fFrameCount) break;
            const SPeak peak = fPeaks->GetPeak(lanes == 2 ? lane + 1 : single, start, end);
            const double top = centre - std::clamp<double>(peak.fMax, -1, 1) * half;
            const double bottom = centre - std::clamp<double>(peak.fMin, -1, 1) * half;
            rects.emplace_back(x, top, 1.0, std::max(1.0, bottom - top));
        }
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kOverview);
    painter.drawRects(rects.data(), int(rects.size()));
    painter.setBrush(Qt::NoBrush);
}

void CWaveformNavigatorView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    NSNavigator::INavigatorSkin* skin = fSkin ? fSkin : NSQuilletSkin::CQuilletSkin::Get();
    const QRect track = GetTrackRect();
    const bool hasSound = fModel.fFrameCount > 0;
    if (!skin) {
        painter.fillRect(track, kPlainTrack);
        if (!hasSound) return;
        DrawWave(painter, track.adjusted(1, 2, -1, -2));
        painter.fillRect(GetGripRect(), kPlainGrip);
        painter.fillRect(QRect(FrameToX(fCursor), 0, 1, height()), kPlainCursor);
        return;
    }
    // Part 0 is the track, 1 the grip, 2 the shadow: the first margins are the track's nine-slice
    // border, the second the grip's and the wave's inset, the third the shadow's border, the
    // fourth the grip's ends and the ridges' vertical inset.
    DrawNineSlice(painter, track, hasSound ? skin->GetTrackPicture() : skin->GetTrackDisabledPicture(),
                  skin->GetFirstMargins(0));
    if (!hasSound) return;
    const QRect inner = track.marginsRemoved(skin->GetSecondMargins(0));
    if (fModel.fRightLocator > fModel.fLeftLocator) {
        const int left = FrameToX(fModel.fLeftLocator);
        const QRect band = QRect(left, inner.top(), FrameToX(fModel.fRightLocator) - left, inner.height()).intersected(inner);
        painter.drawTiledPixmap(band, skin->GetLoopBandPicture(), QPointF(0, 0));
    }
    DrawWave(painter, inner);

    const QRect grip = GetGripRect();
    const QPixmap& outside = skin->GetOutsideShadePicture();
    const QRect before(track.left() + 1, track.top() + 1, grip.left() - track.left() - 1, track.height() - 2);
    const QRect after(grip.right() + 1, track.top() + 1, track.right() - grip.right() - 1, track.height() - 2);
    if (before.width() > 0) painter.drawTiledPixmap(before, outside);
    if (after.width() > 0) painter.drawTiledPixmap(after, outside);

    const int cursor = FrameToX(fCursor);
    painter.drawPixmap(QRect(cursor - 1, track.top(), 3, track.height()), skin->GetPlaybackCursorPicture());

    DrawNineSlice(painter, grip.adjusted(-2, 0, 2, 2), skin->GetGripShadowPicture(), skin->GetThirdMargins(2));
    const QPixmap& body = !fDrag ? (fHot ? skin->GetGripHotPicture() : skin->GetGripPicture())
                          : fDrag->GetMode() == CNavigatorDrag::EMode::kZoom ? skin->GetGripZoomPicture()
                                                                            : skin->GetGripPressedPicture();
    const QMargins ends = skin->GetFourthMargins(0);
    const QRect middle = grip.adjusted(std::min(ends.left(), grip.width() / 2), 0,
                                       -std::min(ends.right(), grip.width() / 2), 0);
    DrawNineSlice(painter, grip, body, skin->GetSecondMargins(2));
    const QPixmap& leftEnd = skin->GetGripLeftEndPicture();
    const QPixmap& rightEnd = skin->GetGripRightEndPicture();
    painter.drawPixmap(QRect(grip.left(), grip.top(), middle.left() - grip.left(), grip.height()), leftEnd,
                       QRectF(QPointF(0, 0), QSizeF(middle.left() - grip.left(), leftEnd.deviceIndependentSize().height()) *
                                                 leftEnd.devicePixelRatio()));
    const int rightWidth = grip.right() + 1 - (middle.right() + 1);
    const QSizeF rightSize = rightEnd.deviceIndependentSize();
    painter.drawPixmap(QRect(middle.right() + 1, grip.top(), rightWidth, grip.height()), rightEnd,
                       QRectF(QPointF((rightSize.width() - rightWidth) * rightEnd.devicePixelRatio(), 0),
                              QSizeF(rightWidth, rightSize.height()) * rightEnd.devicePixelRatio()));
    const QPixmap& ridges = skin->GetGripRidgesPicture();
    const QSizeF ridgesSize = ridges.deviceIndependentSize();
    const QRect ridgeArea = middle.marginsRemoved(skin->GetFourthMargins(1));
    if (ridgeArea.width() >= ridgesSize.width() + 4 && ridgeArea.height() >= ridgesSize.height())
        painter.drawPixmap(QPointF(ridgeArea.center().x() - ridgesSize.width() / 2 + 1,
                                   ridgeArea.center().y() - ridgesSize.height() / 2 + 1),
                           ridges);
}

}  // namespace NSQuillet
