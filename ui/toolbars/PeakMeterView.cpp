#include "ui/toolbars/PeakMeterView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "app/document/QuilletDocument.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

namespace {

constexpr int32_t kLitPicture = 13411;
constexpr int32_t kDarkPicture = 13412;
// The two bars 2 pixels apart, the clip lamps above them.
constexpr int kBarGap = 2;
constexpr int kMargin = 1;
constexpr int kClipLampHeight = 5;
constexpr int kClipLampGap = 4;

}  // namespace

CPeakMeterView::CPeakMeterView(CQuilletDocument& document, QWidget* parent)
    : QWidget(parent),
      fDocument(document),
      fIdleTicks(*this, [this](double elapsedMilliseconds) { Tick(fDocument.TakeOutputLevel(), elapsedMilliseconds); }) {
    setObjectName(QStringLiteral("PeakMeter"));
    setToolTip(tr("Output level (click to clear the clip light)"));
    setAccessibleName(tr("Output level"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPeakMeterView::Tick(const CLevelMeter::SReading& reading, double elapsedMilliseconds) {
    fModel.Tick(reading.fLeftPeak, reading.fRightPeak, fDocument.GetWaveSample().IsStereo(), reading.fClipped,
                elapsedMilliseconds);
    if (reading.fClipped) fClipLit = true;
    UpdateDrawnState();
}

QSize CPeakMeterView::sizeHint() const { return QSize(2 * kMargin + 2 * kBarWidth + kBarGap, 160); }

QSize CPeakMeterView::minimumSizeHint() const {
    return QSize(sizeHint().width(), kMargin + kClipLampHeight + kClipLampGap + kLampCount * 2 + kMargin);
}

void CPeakMeterView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& dark = fPictures.Get(kDarkPicture, *this);
    const QPixmap& lit = fPictures.Get(kLitPicture, *this);
    const qreal ratio = dark.devicePixelRatio();
    // The pictures' ground (their top left pixel) behind everything.
    painter.drawPixmap(QRectF(rect()), dark, QRectF(0, 0, 1, 1));

    const int left = (width() - 2 * kBarWidth - kBarGap) / 2;
    const int right = left + kBarWidth + kBarGap;
    // The clip lamps are the bars' top lamp, red in either picture.
    const QRectF topLamp(0, ratio, kBarWidth * ratio, (kLampPitch - 1) * ratio);
    for (int x : {left, right}) {
        painter.drawPixmap(QRectF(x, kMargin, kBarWidth, kClipLampHeight), fClipLit ? lit : dark, topLamp);
    }
    const int top = kMargin + kClipLampHeight + kClipLampGap;
    const int height = this->height() - top - kMargin;
    DrawBar(painter, left, top, height, fLit[0]);
    DrawBar(painter, right, top, height, fLit[1]);
}

// The bar spread over `height` lamp by lamp: every lamp as high as the others (two thirds of the
// pitch, leaving at least a row of ground between lamps) at the bottom of its share.
void CPeakMeterView::DrawBar(QPainter& painter, int left, int top, int height, int32_t lit) {
    const QPixmap& dark = fPictures.Get(kDarkPicture, *this);
    const QPixmap& bright = fPictures.Get(kLitPicture, *this);
    const qreal ratio = dark.devicePixelRatio();
    const int shortestShare = height / kLampCount;
    const int lampHeight = std::max(1, std::min(int(std::lround(2.0 * height / (3.0 * kLampCount))), shortestShare - 1));
    for (int lamp = 0; lamp < kLampCount; ++lamp) {
        const int bottom = top + int(int64_t(lamp + 1) * height / kLampCount);
        // Lamp 0 is the top one; `lit` counts from the bottom.
        const bool on = kLampCount - lamp <= lit;
        painter.drawPixmap(QRectF(left, bottom - lampHeight, kBarWidth, lampHeight), on ? bright : dark,
                           QRectF(0, (lamp * kLampPitch + 1) * ratio, kBarWidth * ratio, (kLampPitch - 1) * ratio));
    }
}

void CPeakMeterView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    event->accept();
    fClipLit = false;
    UpdateDrawnState();
}

void CPeakMeterView::UpdateDrawnState() {
    bool changed = false;
    for (int32_t channel = 0; channel < 2; ++channel) {
        const int32_t lit = CPeakMeterModel::LitSegments(fModel.GetPosition(channel), kLampCount);
        if (lit != fLit[channel]) {
            fLit[channel] = lit;
            changed = true;
        }
    }
    if (changed || fClipLit != fClipDrawn) {
        fClipDrawn = fClipLit;
        update();
    }
}

}  // namespace NSQuillet
