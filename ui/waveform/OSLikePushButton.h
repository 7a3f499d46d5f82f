#pragma once

#include <QAbstractButton>

#include <cstdint>

#include "ui/waveform/ViewPictures.h"

namespace NSQuillet {

// A small push button in the desktop style showing one skin glyph (the waveform group's zoom
// and scroll buttons). Repeats while held; never takes the keyboard focus, so the window's keys
// keep reaching the waveform. User-interface thread.
class COSLikePushButton final : public QAbstractButton {
    Q_OBJECT

public:
    COSLikePushButton(int32_t glyphId, QWidget* parent = nullptr);

    int32_t GetGlyphId() const { return fGlyphId; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t fGlyphId;
    CViewPictures fPictures;
};

}  // namespace NSQuillet
