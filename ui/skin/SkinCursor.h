#pragma once

#include <QCursor>

#include <cstdint>

namespace NSQuilletSkin {

// Cursor `id` (870, 1401, 1500, 1700, 1701) with its hot spot; the 2x drawing when the device
// pixel ratio is above 1. Any other id raises XNotFound "Unknown cursor ID".
QCursor GetSkinCursor(int32_t id, qreal devicePixelRatio);

}  // namespace NSQuilletSkin
