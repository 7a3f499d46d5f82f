#pragma once

#include <QWidget>

#include <cstdint>

#include "ui/waveform/ViewPictures.h"

namespace NSQuillet {

// An effect toolbar's logo picture (13420 equalizer, 13421 transient shaper, 13422 envelope).
// User-interface thread.
class CToolbarLogoView final : public QWidget {
    Q_OBJECT

public:
    CToolbarLogoView(int32_t pictureId, QWidget* parent = nullptr);

    int32_t GetPictureId() const { return fPictureId; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t fPictureId;
    CViewPictures fPictures;
};

}  // namespace NSQuillet
