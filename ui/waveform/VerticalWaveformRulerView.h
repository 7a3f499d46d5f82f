#pragma once

#include <QWidget>

#include <cstdint>

namespace NSQuillet {

// The amplitude ruler beside the detail view: per lane, levels in dB at the heights where the
// detail view draws them at its vertical zoom. User-interface thread.
class CVerticalWaveformRulerView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 34;

    explicit CVerticalWaveformRulerView(QWidget* parent = nullptr);

    // The detail view's lanes (1 or 2) and vertical zoom; redraws on a change.
    void SetLanes(int32_t laneCount);
    void SetVerticalZoom(double zoom);
    int32_t GetLaneCount() const { return fLaneCount; }
    double GetVerticalZoom() const { return fZoom; }

    QSize sizeHint() const override { return QSize(kWidth, 100); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t fLaneCount = 1;
    double fZoom = 1.0;
};

}  // namespace NSQuillet
