#pragma once

#include <cstdint>

namespace NSQuilletSkin {

// Insets of a navigator part, in 1x pixels. All zero is the empty answer.
struct SSkinMargins {
    int32_t fLeft = 0;
    int32_t fTop = 0;
    int32_t fRight = 0;
    int32_t fBottom = 0;
    bool IsEmpty() const { return fLeft == 0 && fTop == 0 && fRight == 0 && fBottom == 0; }
    bool operator==(const SSkinMargins& other) const {
        return fLeft == other.fLeft && fTop == other.fTop && fRight == other.fRight && fBottom == other.fBottom;
    }
};

// The navigator skin's four margin operations, in slot order.
enum class ENavigatorMargins : int32_t { kFirst, kSecond, kThird, kFourth };

// The insets of part 0, 1 or 2; any other part gets the empty margins.
SSkinMargins GetNavigatorMargins(ENavigatorMargins which, int32_t part);

}  // namespace NSQuilletSkin
