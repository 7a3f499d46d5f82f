#include "ui/waveform/WaveformDetailView.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/document/ViewAndEditAttributes.h"
#include "engine/WaveSample.h"
#include "ui/logic/SkinPictures.h"
#include "ui/logic/waveform/WaveformPeakCache.h"
#include "ui/logic/waveform/WaveformRangeRules.h"
#include "ui/logic/waveform/WaveformRuler.h"
#include "ui/skin/SkinCursor.h"
#include "ui/waveform/WaveformColours.h"
#include "ui/waveform/WaveformLanes.h"
#include "ui/window/KeyTranslation.h"

namespace NSQuillet {

namespace {

// The skin's dark ground with its accents: blue slices, amber selection, teal locators, red
// playback cursor (resources/skin).
const QColor& kStripGround = NSWaveformColours::kPanelGround;
const QColor kStripEdge(70, 78, 89);
const QColor& kRulerInk = NSWaveformColours::kInk;
const QColor kWaveGround(22, 26, 31);
const QColor kBeyondSample(14, 17, 20);
const QColor kCentreLine(58, 65, 74);
const QColor kLaneSeparator(46, 52, 60);
const QColor& kWave = NSWaveformColours::kWave;
const QColor kMutedWave(93, 102, 114);
const QColor kLoopShade(18, 128, 106, 46);
const QColor kLoopStripShade(18, 128, 106, 70);
const QColor kLocatorLine(31, 174, 143);
const QColor kSelectedShade = NSWaveformColours::WithAlpha(NSWaveformColours::kSelection, 26);
const QColor kSelectedLine = NSWaveformColours::WithAlpha(NSWaveformColours::kSelection, 200);
const QColor kNormalLine = NSWaveformColours::WithAlpha(NSWaveformColours::kWave, 90);
const QColor kMutedLine(93, 102, 114, 160);
const QColor kLockedLine(163, 173, 184, 220);
const QColor& kCursorLine = NSWaveformColours::kPlaybackCursor;
const QColor kInactiveCursorLine(154, 161, 169);
const QColor kMagnifyBand(127, 178, 255, 64);
const QColor kMagnifyEdge(127, 178, 255);

constexpr int kRulerTickHeight = 12;
constexpr int kRulerFontPixels = 10;
// A wheel notch scrolls three scroll-button steps.
constexpr int kWheelScrollPixels = 3 * NSWaveformRange::kScrollStepPixels;
constexpr int kAutoScrollPixelsPerStep = 32;
constexpr int kMaximumAutoScrollSteps = 8;
// Frames are drawn as points once they stand this far apart.
constexpr double kPointSpacing = 3.0;

EMouseButton Button(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return EMouseButton::kPrimary;
    case Qt::RightButton:
        return EMouseButton::kSecondary;
    default:
        return EMouseButton::kOther;
    }
}

// `overlay` blended over the opaque `base`: the loop's ground filled at once, not blended over
// the whole view on every repaint.
QColor Over(const QColor& base, const QColor& overlay) {
    const double a = overlay.alphaF();
    return QColor::fromRgbF(float(base.redF() * (1 - a) + overlay.redF() * a),
                            float(base.greenF() * (1 - a) + overlay.greenF() * a),
                            float(base.blueF() * (1 - a) + overlay.blueF() * a));
}

QRect ToQRect(const SViewRect& rect) { return QRect(rect.fLeft, rect.fTop, rect.fWidth, rect.fHeight); }

// Columns [left, right) cut to the view's width: deep zooms put frames far outside it, and
// filling a rectangle millions of pixels wide is slow even when clipped.
QRect Span(int left, int right, int top, int height, int viewWidth) {
    const int from = std::clamp(left, -2, viewWidth + 2);
    const int to = std::clamp(right, -2, viewWidth + 2);
    return QRect(from, top, std::max(0, to - from), height);
}

// The slice lines' colours: selected, muted, locked, normal.
constexpr int32_t kSliceLineColourCount = 4;
const QColor kSliceLineColours[kSliceLineColourCount] = {kSelectedLine, kMutedLine, kLockedLine, kNormalLine};

int32_t SliceLineColourIndex(const SWaveformMarkerSlice& slice) {
    if (slice.fSelected) return 0;
    switch (slice.fKind) {
    case ESliceKind::kMuted:
        return 1;
    case ESliceKind::kLocked:
        return 2;
    default:
        return 3;
    }
}

// "1.2" of the loop between the locators with its length in beats; empty outside it or without
// a length.
QString BarsAndBeats(int32_t frame, int32_t left, int32_t right, const CWaveformDetailView::SRulerSettings& ruler) {
    const int32_t beats = ruler.fBars * ruler.fNumerator + ruler.fBeats;
    if (beats <= 0 || ruler.fNumerator <= 0 || right <= left || frame < left) return QString();
    const double beat = double(frame - left) * beats / double(right - left);
    const int64_t whole = int64_t(std::floor(beat));
    return QStringLiteral("%1.%2").arg(whole / ruler.fNumerator + 1).arg(whole % ruler.fNumerator + 1);
}

}  // namespace

CWaveformDetailView::CWaveformDetailView(IWaveformDetailViewHandler& handler, QWidget* parent)
    : QWidget(parent), fHandler(handler), fLogic(handler) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setFocusPolicy(Qt::ClickFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    fAutoScroll.setInterval(kAutoScrollIntervalMs);
    connect(&fAutoScroll, &QTimer::timeout, this, &CWaveformDetailView::OnAutoScroll);
}

void CWaveformDetailView::SetPeakCache(const CWaveformPeakCache* cache) {
    fPeaks = cache;
    // A new cache may stand where an old one stood: its columns are forgotten by name.
    for (SColumnPeaks& memo : fColumnPeaks) memo.fPeaks = nullptr;
    update();
}

void CWaveformDetailView::SetSlices(std::vector<SWaveformMarkerSlice> slices) {
    const std::vector<SWaveformMarkerSlice>& old = fLogic.GetSlices();
    if (old.size() != slices.size()) {
        fLogic.SetSlices(std::move(slices));
        update();
        return;
    }
    size_t first = 0;
    while (first < old.size() && old[first] == slices[first]) ++first;
    if (first == old.size()) return;
    size_t last = old.size() - 1;
    while (old[last] == slices[last]) --last;
    // A slice's colours reach from its start to the next slice's: the span runs from the
    // earliest changed start to the later of the starts after the last changed slice.
    const int32_t from = std::min(old[first].fPosition, slices[first].fPosition);
    int32_t to = fLogic.GetModel().fFrameCount;
    if (last + 1 < old.size()) to = std::max(old[last + 1].fPosition, slices[last + 1].fPosition);
    for (size_t i = first; i <= last; ++i) to = std::max({to, old[i].fPosition, slices[i].fPosition});
    fLogic.SetSlices(std::move(slices));
    // The markers stand over their position by up to their width.
    constexpr int kMarkerReach = 16;
    const CWaveformGeometry& geometry = fLogic.GetGeometry();
    const int left = std::max(0, geometry.FrameToX(from) - kMarkerReach);
    const int right = std::min(width(), geometry.FrameToX(to) + kMarkerReach);
    if (right > left) update(QRect(left, 0, right - left, height()));
}

void CWaveformDetailView::SetSumOfChannels(bool sum) {
    if (sum == fSumOfChannels) return;
    fSumOfChannels = sum;
    update();
}

int32_t CWaveformDetailView::GetLaneCount() const {
    return fLogic.GetModel().fStereo != 0 && !fSumOfChannels ? 2 : 1;
}

void CWaveformDetailView::SetRulerSettings(const SRulerSettings& settings) {
    if (settings == fRuler) return;
    const bool visible = settings.fUnits != fRuler.fUnits || settings.fUnits == kRulerUnits_Beats;
    fRuler = settings;
    if (visible) update(QRect(0, 0, width(), CWaveformGeometry::kMarkerStripHeight));
}

QRect CWaveformDetailView::CursorColumn(int32_t frame) const {
    const int32_t x = fLogic.GetGeometry().FrameToX(frame);
    const SViewRect handle = fLogic.GetPlaybackCursorRect();
    const int32_t half = std::max(2, handle.fWidth / 2 + 2);
    return QRect(x - half, 0, 2 * half + 1, height());
}

void CWaveformDetailView::SetPlaybackCursor(int32_t frame) {
    const int32_t old = fLogic.GetPlaybackCursor();
    if (old == frame) return;
    const QRect before = CursorColumn(old);
    fLogic.SetPlaybackCursor(frame);
    update(before);
    update(CursorColumn(frame));
}

bool CWaveformDetailView::IsActiveLook() const { return isActiveWindow(); }

// Mouse -------------------------------------------------------------------------------------

SPlainMouseEvent CWaveformDetailView::Plain(const QMouseEvent& event, int32_t clickCount) const {
    SPlainMouseEvent plain;
    const QPoint at = event.position().toPoint();
    plain.fX = at.x();
    plain.fY = at.y();
    plain.fButton = Button(event.button() == Qt::NoButton ? Qt::LeftButton : event.button());
    plain.fClickCount = clickCount;
    plain.fModifiers = ModifierBits(event.modifiers());
    return plain;
}

void CWaveformDetailView::mousePressEvent(QMouseEvent* event) {
    fPressed = true;
    const SPlainMouseEvent plain = Plain(*event, 1);
    fPressFrame = fLogic.GetGeometry().XToFrame(plain.fX, 0, std::max(0, fLogic.GetModel().fFrameCount - 1));
    fLogic.MouseDown(plain);
    AfterMouse(*event);
}

void CWaveformDetailView::mouseDoubleClickEvent(QMouseEvent* event) {
    fPressed = true;
    fLogic.MouseDown(Plain(*event, 2));
    AfterMouse(*event);
}

void CWaveformDetailView::mouseMoveEvent(QMouseEvent* event) {
    if (!fPressed) return;
    SPlainMouseEvent plain = Plain(*event, 1);
    plain.fButton = EMouseButton::kPrimary;
    if (fLogic.GetDragState() == EDetailDragState::kAudition && fDragOut) {
        const QWidget* top = window();
        const QPoint inWindow = top->mapFromGlobal(event->globalPosition().toPoint());
        if (!top->rect().contains(inWindow)) {
            fLogic.MouseUp(plain);
            fPressed = false;
            fAutoScroll.stop();
            UpdateCursor();
            update();
            fDragOut(fPressFrame);
            return;
        }
    }
    fLogic.MouseMove(plain);
    const int32_t steps = fLogic.IsCapturing() ? AutoScrollSteps(plain.fX) : 0;
    fAutoScrollSteps = steps;
    if (steps == 0) fAutoScroll.stop();
    else if (!fAutoScroll.isActive()) fAutoScroll.start();
    AfterMouse(*event, true);
}

void CWaveformDetailView::mouseReleaseEvent(QMouseEvent* event) {
    if (!fPressed) return;
    fPressed = false;
    fAutoScroll.stop();
    fLogic.MouseUp(Plain(*event, 1));
    QToolTip::hideText();
    AfterMouse(*event);
}

void CWaveformDetailView::AfterMouse(const QMouseEvent& event, bool moved) {
    UpdateCursor();
    if (fPressed && fLogic.GetDragState() != EDetailDragState::kIdle) ShowDragTip(event.globalPosition().toPoint());
    // A move changes what is drawn through the document, whose changes repaint what they touch;
    // only the magnify band is the view's own.
    if (!moved || fLogic.GetDragState() == EDetailDragState::kMagnify) update();
}

int32_t CWaveformDetailView::AutoScrollSteps(int32_t x) const {
    const SViewRect content = fLogic.GetGeometry().GetContent();
    int32_t distance = 0;
    if (x < content.fLeft) distance = x - content.fLeft;
    else if (x >= content.Right()) distance = x - content.Right() + 1;
    if (distance == 0) return 0;
    const int32_t steps = std::min(kMaximumAutoScrollSteps, std::abs(distance) / kAutoScrollPixelsPerStep + 1);
    return distance < 0 ? -steps : steps;
}

void CWaveformDetailView::OnAutoScroll() {
    if (!fPressed || fAutoScrollSteps == 0 || !fLogic.IsCapturing()) {
        fAutoScroll.stop();
        return;
    }
    fLogic.AutoScroll(fAutoScrollSteps);
    update();
}

void CWaveformDetailView::UpdateCursor() {
    const int32_t id = fLogic.GetCursorId();
    if (id == 0) unsetCursor();
    else setCursor(NSQuilletSkin::GetSkinCursor(id, devicePixelRatioF()));
}

void CWaveformDetailView::ShowDragTip(const QPoint& globalPosition) {
    const SWaveformDisplayModel& model = fLogic.GetModel();
    if (model.fFrameCount <= 0) return;
    int32_t frame;
    switch (fLogic.GetDragState()) {
    case EDetailDragState::kLeftLocator:
        frame = model.fLeftLocator;
        break;
    case EDetailDragState::kRightLocator:
        frame = model.fRightLocator;
        break;
    case EDetailDragState::kSlice: {
        const int32_t dragged = fLogic.GetDraggedSlice();
        const auto& slices = fLogic.GetSlices();
        if (dragged < 0 || size_t(dragged) >= slices.size()) return;
        frame = slices[size_t(dragged)].fPosition;
        break;
    }
    default:
        frame = fLogic.GetGeometry().XToFrame(mapFromGlobal(globalPosition).x(), 0, model.fFrameCount - 1);
        break;
    }
    QString text = QString::number(frame) + QStringLiteral("  ·  ") +
                   QString::number(double(frame) / std::max(1, model.fSampleRate), 'f', 3) + QStringLiteral(" s");
    const QString beats = BarsAndBeats(frame, model.fLeftLocator, model.fRightLocator, fRuler);
    if (!beats.isEmpty()) text += QStringLiteral("  ·  ") + beats;
    QToolTip::showText(globalPosition + QPoint(12, 16), text, this);
}

void CWaveformDetailView::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : delta < 0 ? -1 : 0);
    if (notches == 0 || fLogic.GetModel().fFrameCount <= 0 || fLogic.IsBusyWithMouse()) {
        event->ignore();
        return;
    }
    event->accept();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers & Qt::ControlModifier) {
        const int32_t around = fLogic.GetGeometry().XToFrame(event->position().x(), 0, fLogic.GetModel().fFrameCount - 1);
        for (int i = 0; i < std::abs(notches); ++i) {
            if (notches > 0 && fLogic.CanZoomIn()) fLogic.ZoomIn(around);
            if (notches < 0 && fLogic.CanZoomOut()) fLogic.ZoomOut(around);
        }
    } else if (modifiers & Qt::ShiftModifier) {
        for (int i = 0; i < std::abs(notches); ++i) {
            if (notches > 0) fLogic.VerticalZoomIn();
            else fLogic.VerticalZoomOut();
        }
    } else {
        // Wheel down (negative) moves towards the end, as a page scrolls down.
        const SVisibleRange range = fLogic.GetVisibleRange();
        const double framesPerPixel = fLogic.GetGeometry().FramesPerPixel();
        const int32_t step = std::max<int32_t>(1, int32_t(std::lround(kWheelScrollPixels * framesPerPixel)));
        const int64_t wanted = int64_t(range.fStart) - int64_t(notches) * step;
        const int64_t last = std::max<int64_t>(0, int64_t(fLogic.GetModel().fFrameCount) - range.Width());
        const auto start = int32_t(std::clamp<int64_t>(wanted, 0, last));
        if (start != range.fStart) fHandler.SetVisibleRange(start, start + range.Width());
    }
    update();
}

void CWaveformDetailView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) update();
    QWidget::changeEvent(event);
}

void CWaveformDetailView::resizeEvent(QResizeEvent* event) {
    fLogic.SetViewSize(width(), height());
    QWidget::resizeEvent(event);
}

// Drawing -----------------------------------------------------------------------------------

void CWaveformDetailView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    const int strip = CWaveformGeometry::kMarkerStripHeight;
    if (dirty.top() < strip) DrawMarkerStrip(painter, dirty);
    if (dirty.bottom() >= strip) DrawWaveArea(painter, dirty);
    DrawMarkers(painter, dirty);
}

int32_t CWaveformDetailView::FirstSliceAtOrAfter(int32_t frame) const {
    const auto& slices = fLogic.GetSlices();
    const auto at = std::lower_bound(slices.begin(), slices.end(), frame,
                                     [](const SWaveformMarkerSlice& slice, int32_t f) { return slice.fPosition < f; });
    return int32_t(at - slices.begin());
}

void CWaveformDetailView::DrawMarkerStrip(QPainter& painter, const QRect& dirty) {
    const CWaveformGeometry& geometry = fLogic.GetGeometry();
    const SWaveformDisplayModel& model = fLogic.GetModel();
    const int strip = CWaveformGeometry::kMarkerStripHeight;
    painter.fillRect(QRect(0, 0, width(), strip).intersected(dirty), kStripGround);
    if (model.fFrameCount > 0 && model.fRightLocator > model.fLeftLocator) {
        const int left = geometry.FrameToX(model.fLeftLocator);
        const int right = geometry.FrameToX(model.fRightLocator);
        painter.fillRect(Span(left, right, 0, strip, width()).intersected(dirty), Over(kStripGround, kLoopStripShade));
    }
    painter.fillRect(QRect(0, strip - 1, width(), 1).intersected(dirty), kStripEdge);
    if (model.fFrameCount > 0) {
        painter.save();
        painter.setClipRect(QRect(0, 0, width(), strip).intersected(dirty));
        DrawRuler(painter);
        painter.restore();
    }
}

void CWaveformDetailView::DrawRuler(QPainter& painter) {
    const CWaveformGeometry& geometry = fLogic.GetGeometry();
    const SWaveformDisplayModel& model = fLogic.GetModel();
    std::vector<SRulerTick> ticks;
    switch (fRuler.fUnits) {
    case kRulerUnits_Samples:
        ticks = NSWaveformRuler::SamplesTicks(geometry);
        break;
    case kRulerUnits_Beats:
        ticks = NSWaveformRuler::BeatsTicks(geometry, model.fLeftLocator, model.fRightLocator, fRuler.fBars,
                                            fRuler.fBeats, fRuler.fNumerator, fRuler.fDenominator);
        break;
    default:
        ticks = NSWaveformRuler::TimeTicks(geometry, model.fSampleRate);
        break;
    }
    QFont font = painter.font();
    font.setPixelSize(kRulerFontPixels);
    painter.setFont(font);
    const SViewRect content = geometry.GetContent();
    // A label the locator handles would cover is left out: the handle marks the place.
    const QRect handles[] = {ToQRect(fLogic.GetLeftLocatorRect()), ToQRect(fLogic.GetRightLocatorRect())};
    const QFontMetrics metrics(font);
    painter.setPen(kRulerInk);
    for (const SRulerTick& tick : ticks) {
        if (tick.fX < content.fLeft || tick.fX > content.Right()) continue;
        painter.fillRect(QRect(tick.fX, 0, 1, kRulerTickHeight), kRulerInk);
        const QString label = QString::fromStdString(tick.fLabel);
        const QRect text(tick.fX + NSWaveformRuler::kLabelOffset, 0, metrics.horizontalAdvance(label) + 1,
                         kRulerTickHeight + 1);
        if (text.intersects(handles[0]) || text.intersects(handles[1])) continue;
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, label);
    }
}

void CWaveformDetailView::DrawWaveArea(QPainter& painter, const QRect& dirty) {
    const CWaveformGeometry& geometry = fLogic.GetGeometry();
    const SWaveformDisplayModel& model = fLogic.GetModel();
    const SViewRect area = geometry.GetWaveformArea();
    const QRect whole(0, area.fTop, width(), area.fHeight);
    const QRect paint = whole.intersected(dirty);
    if (paint.isEmpty()) return;
    painter.save();
    painter.setClipRect(paint);
    painter.fillRect(paint, kWaveGround);
    if (model.fFrameCount <= 0) {
        painter.restore();
        return;
    }
    const int sampleStart = geometry.FrameToX(0);
    const int sampleEnd = geometry.FrameToX(model.fFrameCount);
    if (sampleStart > 0) painter.fillRect(QRect(0, area.fTop, sampleStart, area.fHeight), kBeyondSample);
    if (sampleEnd < width()) painter.fillRect(QRect(sampleEnd, area.fTop, width() - sampleEnd, area.fHeight), kBeyondSample);

    // The loop's ground, then the selected slices' extents over it.
    if (model.fRightLocator > model.fLeftLocator)
        painter.fillRect(Span(geometry.FrameToX(model.fLeftLocator), geometry.FrameToX(model.fRightLocator), area.fTop,
                              area.fHeight, width()),
                         Over(kWaveGround, kLoopShade));
    const SVisibleRange range = fLogic.GetVisibleRange();
    const auto& slices = fLogic.GetSlices();
    const int32_t firstSlice = std::max(0, FirstSliceAtOrAfter(range.fStart) - 1);
    for (size_t i = size_t(firstSlice); i < slices.size() && slices[i].fPosition <= range.fEnd; ++i) {
        if (!slices[i].fSelected) continue;
        const int32_t end = i + 1 < slices.size() ? slices[i + 1].fPosition : model.fFrameCount;
        painter.fillRect(Span(geometry.FrameToX(slices[i].fPosition), geometry.FrameToX(end), area.fTop, area.fHeight,
                              width()),
                         kSelectedShade);
    }

    const int32_t lanes = GetLaneCount();
    for (int32_t lane = 0; lane < lanes; ++lane) {
        const SWaveformLane strip = GetWaveformLane(area.fTop, area.fHeight, lanes, lane);
        painter.fillRect(Span(sampleStart, sampleEnd, int(std::floor(strip.Centre())), 1, width()), kCentreLine);
        if (lane == 1) painter.fillRect(QRect(0, strip.fTop - 1, width(), 1), kLaneSeparator);
    }
    if (fPeaks && fPeaks->GetFrameCount() == model.fFrameCount) {
        const bool stereo = model.fStereo != 0;
        const bool frames = geometry.FramesPerPixel() < 1.0;
        for (int32_t lane = 0; lane < lanes; ++lane) {
            const int32_t channel =
                lanes == 2 ? lane + 1 : (stereo && fSumOfChannels ? CWaveformPeakCache::kSumChannel : 1);
            if (frames) {
                DrawFrames(painter, channel, lane, lanes, paint);
            } else {
                const SViewRect content = geometry.GetContent();
                DrawLane(painter, channel, lane, lanes, std::max(paint.left(), content.fLeft),
                         std::min(paint.right(), content.Right() - 1));
            }
        }
    }

    // Slice lines, gathered by colour and drawn as cosmetic vertical lines, a call a colour: a
    // tall one-pixel fill costs the raster engine far more (it splits it among threads).
    std::vector<QLine> lines[kSliceLineColourCount];
    for (size_t i = size_t(firstSlice); i < slices.size() && slices[i].fPosition <= range.fEnd; ++i) {
        const int x = geometry.FrameToX(slices[i].fPosition);
        if (x < paint.left() - 1 || x > paint.right() + 1) continue;
        std::vector<QLine>& group = lines[SliceLineColourIndex(slices[i])];
        if (slices[i].fKind == ESliceKind::kLocked && !slices[i].fSelected) {
            // Locked slices: a dashed line, so the lock shows without colour.
            for (int y = paint.top() - (paint.top() - area.fTop) % 6; y < paint.bottom() + 1; y += 6)
                group.emplace_back(x, y, x, y + 3);
        } else {
            group.emplace_back(x, area.fTop, x, area.Bottom() - 1);
        }
    }
    for (int32_t colour = 0; colour < kSliceLineColourCount; ++colour) {
        if (lines[colour].empty()) continue;
        painter.setPen(QPen(kSliceLineColours[colour], 0));
        painter.drawLines(lines[colour].data(), int(lines[colour].size()));
    }
    painter.setPen(Qt::NoPen);
    for (const int32_t locator : {model.fLeftLocator, model.fRightLocator})
        painter.fillRect(QRect(geometry.FrameToX(locator), area.fTop, 1, area.fHeight), kLocatorLine);
    if (const std::optional<SVisibleRange> band = fLogic.GetMagnifyBand()) {
        const int left = geometry.FrameToX(band->fStart);
        const QRect rect = Span(left, std::max(left + 1, geometry.FrameToX(band->fEnd)), area.fTop, area.fHeight, width());
        painter.fillRect(rect, kMagnifyBand);
        painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), kMagnifyEdge);
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), kMagnifyEdge);
    }
    const int cursor = geometry.FrameToX(fLogic.GetPlaybackCursor());
    painter.fillRect(QRect(cursor, area.fTop, 1, area.fHeight), IsActiveLook() ? kCursorLine : kInactiveCursorLine);
    painter.restore();
}

// One column of device pixels per step: each takes the peak of the frames it covers, coloured
// grey where a muted slice sounds.
void CWaveformDetailView::DrawLane(QPainter& painter, int32_t channel, int32_t lane, int32_t laneCount,
                                   int32_t firstColumn, int32_t lastColumn) {
    if (lastColumn < firstColumn) return;
    const CWaveformGeometry& geometry = fLogic.GetGeometry();
    const SWaveformDisplayModel& model = fLogic.GetModel();
    const SWaveformLane strip =
        GetWaveformLane(geometry.GetWaveformArea().fTop, geometry.GetWaveformArea().fHeight, laneCount, lane);
    const double zoom = fLogic.GetVerticalZoom();
    const double ratio = std::max(1.0, devicePixelRatioF());
    const double left = geometry.GetContentLeft();
    const SVisibleRange range = fLogic.GetVisibleRange();
    const double framesPerColumn = geometry.FramesPerPixel() / ratio;
    const double top = strip.fTop;
    const double bottom = strip.fTop + strip.fHeight;
    const auto& slices = fLogic.GetSlices();

    const auto firstDevice = std::max<int64_t>(0, int64_t(std::floor((firstColumn - left) * ratio)));
    const auto lastDevice = int64_t(std::ceil((lastColumn + 1 - left) * ratio));
    if (lastDevice <= firstDevice) return;
    // From a block per column on, columns start and end on block boundaries, so each peak is a
    // few lookups (a block is a pixel or less); below it the columns' frames are read at once.
    const int32_t block = CWaveformPeakCache::kFirstBlock;
    const bool aligned = framesPerColumn >= block;
    auto columnFrames = [&](int64_t column, int32_t& start, int32_t& end) {
        const double from = range.fStart + double(column) * framesPerColumn;
        if (aligned) {
            start = int32_t(std::floor(from / block)) * block;
            end = std::max(start + block, int32_t(std::floor((from + framesPerColumn) / block)) * block);
        } else {
            start = int32_t(std::floor(from));
            end = std::max(start + 1, int32_t(std::ceil(from + framesPerColumn)));
        }
    };
    std::vector<float> first;
    std::vector<float> second;
    int32_t bufferStart = 0;
    if (!aligned) {
        int32_t unused = 0;
        int32_t bufferEnd = 0;
        columnFrames(firstDevice, bufferStart, unused);
        columnFrames(lastDevice - 1, unused, bufferEnd);
        bufferStart = std::clamp(bufferStart, 0, model.fFrameCount);
        bufferEnd = std::clamp(bufferEnd, bufferStart, model.fFrameCount);
        const CABCWaveSample* sample = fPeaks->GetSample();
        if (!sample) return;
        first.resize(size_t(bufferEnd - bufferStart));
        sample->GetFloats(bufferStart, bufferEnd - bufferStart, first.data(), channel == 2 ? 2 : 1);
        if (channel == CWaveformPeakCache::kSumChannel) {
            second.resize(first.size());
            sample->GetFloats(bufferStart, bufferEnd - bufferStart, second.data(), 2);
            for (size_t i = 0; i < first.size(); ++i) first[i] = (first[i] + second[i]) / 2.0f;
        }
    }
    SColumnPeaks& memo = fColumnPeaks[std::clamp(channel, 1, 3) - 1];
    if (aligned && (memo.fPeaks != fPeaks || memo.fStart != range.fStart || memo.fFramesPerColumn != framesPerColumn)) {
        memo.fPeaks = fPeaks;
        memo.fStart = range.fStart;
        memo.fFramesPerColumn = framesPerColumn;
        memo.fKnown.assign(memo.fKnown.size(), false);
    }
    auto readPeak = [&](int64_t column, int32_t start, int32_t end) {
        if (aligned) {
            if (size_t(column) >= memo.fKnown.size()) {
                memo.fKnown.resize(size_t(column) + 1, false);
                memo.fColumns.resize(size_t(column) + 1);
            }
            if (!memo.fKnown[size_t(column)]) {
                memo.fColumns[size_t(column)] = fPeaks->GetPeak(channel, start, end);
                memo.fKnown[size_t(column)] = true;
            }
            return memo.fColumns[size_t(column)];
        }
        start = std::max(start, bufferStart);
        end = std::min(end, bufferStart + int32_t(first.size()));
        if (start >= end) return SPeak{};
        const auto from = first.begin() + (start - bufferStart);
        const auto [low, high] = std::minmax_element(from, from + (end - start));
        return SPeak{*low, *high};
    };
    // Per device column from firstDevice: the rows the wave covers, [top, bottom), and its colour.
    const int64_t columns = lastDevice - firstDevice;
    std::vector<int> rowsFrom(size_t(columns), 0);
    std::vector<int> rowsTo(size_t(columns), 0);
    std::vector<QRgb> colours(size_t(columns), 0);
    const QRgb wave = qPremultiply(kWave.rgba());
    const QRgb mutedWave = qPremultiply(kMutedWave.rgba());
    int firstRow = INT32_MAX;
    int lastRow = INT32_MIN;
    size_t slice = size_t(std::max(0, FirstSliceAtOrAfter(range.fStart) - 1));
    for (int64_t column = firstDevice; column < lastDevice; ++column) {
        int32_t start = 0;
        int32_t end = 0;
        columnFrames(column, start, end);
        if (start >= model.fFrameCount) break;
        if (end <= 0) continue;
        const SPeak peak = readPeak(column, start, end);
        const auto yTop = int(std::floor(std::clamp(strip.ValueToY(peak.fMax, zoom), top, bottom) * ratio));
        const auto yBottom = int(std::ceil(std::clamp(strip.ValueToY(peak.fMin, zoom), top, bottom) * ratio));
        while (slice + 1 < slices.size() && slices[slice + 1].fPosition <= start) ++slice;
        const bool isMuted = slice < slices.size() && slices[slice].fPosition <= start &&
                             slices[slice].fKind == ESliceKind::kMuted;
        const size_t at = size_t(column - firstDevice);
        rowsFrom[at] = yTop;
        rowsTo[at] = std::max(yTop + 1, yBottom);
        colours[at] = isMuted ? mutedWave : wave;
        firstRow = std::min(firstRow, rowsFrom[at]);
        lastRow = std::max(lastRow, rowsTo[at]);
    }
    if (firstRow >= lastRow) return;
    // The columns written row by row into an image and drawn at once: the raster engine would
    // fill a tall one-pixel column pixel by pixel.
    const int imageWidth = int(columns);
    const int imageHeight = lastRow - firstRow;
    if (fLanePixels.width() < imageWidth || fLanePixels.height() < imageHeight)
        fLanePixels = QImage(std::max(imageWidth, fLanePixels.width()), std::max(imageHeight, fLanePixels.height()),
                             QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < imageHeight; ++row) {
        auto* pixels = reinterpret_cast<QRgb*>(fLanePixels.scanLine(row));
        const int y = firstRow + row;
        for (int c = 0; c < imageWidth; ++c)
            pixels[c] = y >= rowsFrom[size_t(c)] && y < rowsTo[size_t(c)] ? colours[size_t(c)] : 0;
    }
    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    painter.drawImage(QPoint(int(std::lround(left * ratio)) + int(firstDevice), firstRow), fLanePixels,
                      QRect(0, 0, imageWidth, imageHeight));
    painter.restore();
}

// Zoomed in beyond one frame per pixel: each frame a point, joined by lines.
void CWaveformDetailView::DrawFrames(QPainter& painter, int32_t channel, int32_t lane, int32_t laneCount,
                                     const QRect& dirty) {
    const CWaveformGeometry& geometry = fLogic.GetGeometry();
    const SWaveformDisplayModel& model = fLogic.GetModel();
    const SViewRect area = geometry.GetWaveformArea();
    const SWaveformLane strip = GetWaveformLane(area.fTop, area.fHeight, laneCount, lane);
    const double zoom = fLogic.GetVerticalZoom();
    const SVisibleRange range = fLogic.GetVisibleRange();
    const double pixelsPerFrame = 1.0 / geometry.FramesPerPixel();
    const double left = geometry.GetContentLeft();
    // The frames whose lines cross the dirty columns.
    const auto first = std::max<int32_t>(0, range.fStart + int32_t(std::floor((dirty.left() - left) / pixelsPerFrame)) - 1);
    const auto last = std::min<int32_t>(model.fFrameCount - 1,
                                        range.fStart + int32_t(std::ceil((dirty.right() + 1 - left) / pixelsPerFrame)) + 1);
    if (last < first) return;
    painter.save();
    const SViewRect content = geometry.GetContent();
    painter.setClipRect(QRect(content.fLeft, area.fTop, content.fWidth, area.fHeight).intersected(dirty));
    std::vector<QPointF> points;
    points.reserve(size_t(last - first + 1));
    const double top = strip.fTop;
    const double bottom = strip.fTop + strip.fHeight;
    for (int32_t frame = first; frame <= last; ++frame) {
        points.emplace_back(left + (frame - range.fStart) * pixelsPerFrame,
                            std::clamp(strip.ValueToY(fPeaks->GetValue(channel, frame), zoom), top, bottom));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kWave, 1.25));
    // Separate segments: a polyline's joins cost far more to stroke over noisy frames.
    std::vector<QLineF> lines;
    lines.reserve(points.size());
    for (size_t i = 1; i < points.size(); ++i) lines.emplace_back(points[i - 1], points[i]);
    painter.drawLines(lines.data(), int(lines.size()));
    if (pixelsPerFrame >= kPointSpacing) {
        const double radius = std::min(3.0, pixelsPerFrame / 4.0 + 0.75);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kWave.lighter(125));
        for (const QPointF& point : points) painter.drawEllipse(point, radius, radius);
        painter.setBrush(Qt::NoBrush);
    }
    painter.restore();
}

void CWaveformDetailView::DrawMarkers(QPainter& painter, const QRect& dirty) {
    const SWaveformDisplayModel& model = fLogic.GetModel();
    if (model.fFrameCount <= 0) return;
    const CWaveformGeometry& geometry = fLogic.GetGeometry();
    const SVisibleRange range = fLogic.GetVisibleRange();
    const auto& slices = fLogic.GetSlices();
    const double margin = 16.0 * geometry.FramesPerPixel() + 1.0;
    const int32_t first = FirstSliceAtOrAfter(int32_t(std::max(0.0, range.fStart - margin)));
    const int32_t dragged = fLogic.GetDraggedSlice();
    auto drawSlice = [&](int32_t index) {
        const SWaveformMarkerSlice& slice = slices[size_t(index)];
        const QRect rect = ToQRect(fLogic.GetSliceMarkerRect(index));
        if (!rect.intersects(dirty)) return;
        painter.drawPixmap(rect.topLeft(),
                           fPictures.Get(NSQuilletSkin::GetSliceMarkerPictureId(slice.fKind, slice.fSelected), *this));
    };
    for (int32_t i = first; size_t(i) < slices.size() && slices[size_t(i)].fPosition <= range.fEnd + margin; ++i)
        if (i != dragged) drawSlice(i);
    if (dragged >= 0 && size_t(dragged) < slices.size()) drawSlice(dragged);

    const bool active = IsActiveLook();
    const QRect left = ToQRect(fLogic.GetLeftLocatorRect());
    painter.drawPixmap(left.topLeft() + QPoint(2, 0), fPictures.Get(NSQuilletSkin::GetLeftLocatorPictureId(active), *this));
    const QRect right = ToQRect(fLogic.GetRightLocatorRect());
    painter.drawPixmap(right.topLeft(), fPictures.Get(NSQuilletSkin::GetRightLocatorPictureId(active), *this));
    const QRect cursor = ToQRect(fLogic.GetPlaybackCursorRect());
    painter.drawPixmap(cursor.topLeft(), fPictures.Get(NSQuilletSkin::GetPlaybackCursorPictureId(active), *this));
}

}  // namespace NSQuillet
