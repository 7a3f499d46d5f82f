#include "ui/waveform/VerticalWaveformRulerView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/logic/waveform/WaveformGeometry.h"
#include "ui/waveform/WaveformColours.h"
#include "ui/waveform/WaveformLanes.h"

namespace NSQuillet {

namespace {

const QColor& kGround = NSWaveformColours::kPanelGround;
const QColor kLaneGround(30, 34, 40);
const QColor& kInk = NSWaveformColours::kInk;
const QColor kTick(110, 118, 128);
constexpr int kFontPixels = 9;
// Labels stand at least this far apart, and clear of the lane's edges.
constexpr double kLabelSpacing = 13.0;
// The levels offered, in dB below full scale.
constexpr int kLevels[] = {0, 3, 6, 9, 12, 18, 24, 30, 36, 42, 48, 54, 60, 72, 84, 96};

}  // namespace

CVerticalWaveformRulerView::CVerticalWaveformRulerView(QWidget* parent) : QWidget(parent) {
    setFixedWidth(kWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void CVerticalWaveformRulerView::SetLanes(int32_t laneCount) {
    if (laneCount == fLaneCount) return;
    fLaneCount = laneCount;
    update();
}

void CVerticalWaveformRulerView::SetVerticalZoom(double zoom) {
    if (zoom == fZoom) return;
    fZoom = zoom;
    update();
}

void CVerticalWaveformRulerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int strip = CWaveformGeometry::kMarkerStripHeight;
    painter.fillRect(rect(), kGround);
    QFont font = painter.font();
    font.setPixelSize(kFontPixels);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(QRect(0, strip - 14, width() - 4, 12), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("dB"));
    const int areaHeight = height() - strip;
    for (int32_t lane = 0; lane < fLaneCount; ++lane) {
        const SWaveformLane band = GetWaveformLane(strip, areaHeight, fLaneCount, lane);
        painter.fillRect(QRect(0, band.fTop, width(), band.fHeight), kLaneGround);
        const double centre = band.Centre();
        const double top = band.fTop + 1.0;
        const double bottom = band.fTop + band.fHeight - 1.0;
        painter.fillRect(QRectF(width() - 6, std::floor(centre), 6, 1), kTick);
        // From the loudest level towards the centre; a level is labelled when it stays inside
        // the lane and clear of the one above and of the centre.
        double previous = -1e9;
        for (const int level : kLevels) {
            const double amplitude = std::pow(10.0, -level / 20.0);
            const double y = band.ValueToY(amplitude, fZoom);
            if (y < top) continue;
            if (centre - y < kLabelSpacing) break;
            if (y - previous < kLabelSpacing) continue;
            previous = y;
            const double mirrored = 2.0 * centre - y;
            const QString label = level == 0 ? QStringLiteral("0") : QStringLiteral("-%1").arg(level);
            for (const double at : {y, mirrored}) {
                if (at > bottom) continue;
                painter.fillRect(QRectF(width() - 4, std::floor(at), 4, 1), kTick);
                // Kept inside the lane at its edges.
                const double textTop = std::clamp(at - 7.0, double(band.fTop), band.fTop + band.fHeight - 14.0);
                painter.drawText(QRectF(0, textTop, width() - 6, 14), Qt::AlignRight | Qt::AlignVCenter, label);
            }
        }
    }
}

}  // namespace NSQuillet
