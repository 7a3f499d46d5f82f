#pragma once

#include <cstdint>

#include "ui/logic/WindowKeys.h"

namespace NSQuillet {

enum class EMouseButton { kPrimary, kSecondary, kOther };

// A mouse event as the view logic sees it: view pixels, the click count of a press (2 for a
// double click) and the modifier bits of WindowKeys.h (extend = Shift, fine = Alt,
// magnify = Ctrl).
struct SPlainMouseEvent {
    int32_t fX = 0;
    int32_t fY = 0;
    EMouseButton fButton = EMouseButton::kPrimary;
    int32_t fClickCount = 1;
    uint32_t fModifiers = 0;

    bool Extend() const { return (fModifiers & kModifier_Extend) != 0; }
    bool Fine() const { return (fModifiers & kModifier_Fine) != 0; }
    bool Magnify() const { return (fModifiers & kModifier_Magnify) != 0; }
};

}  // namespace NSQuillet
