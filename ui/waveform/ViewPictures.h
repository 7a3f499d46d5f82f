#pragma once

#include <QPixmap>

#include <cstdint>

#include "ui/skin/BitmapFetcher.h"

class QWidget;

namespace NSQuillet {

// The skin pictures one widget draws, in the form for the screen it is on: the 2x drawing
// where the device pixel ratio is above 1. Each is loaded on first use and kept.
// User-interface thread.
class CViewPictures {
public:
    const QPixmap& Get(int32_t id, const QWidget& widget);
    const QPixmap& Get(int32_t id, qreal devicePixelRatio);

private:
    NSQuilletSkin::CSkinBitmapFetcher fPlain{1.0};
    NSQuilletSkin::CSkinBitmapFetcher fTwice{2.0};
};

}  // namespace NSQuillet
