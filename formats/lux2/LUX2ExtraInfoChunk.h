#pragma once

#include <cstdint>

#include "formats/lux2/ABCFormat.h"

namespace NSQuillet {

// QLTX: the product extra settings, 21 bytes with the version 1.0.
class CLUX2ExtraInfoChunk final : public CABCFormat {
public:
    // The edit tools the stored modes 0..3 stand for.
    static constexpr uint32_t kEditToolArrow = 685;
    static constexpr uint32_t kEditToolPen = 688;

    // A version of another family than 1: XVersionTooNew "old extra info chunk"; a damaged
    // version or a body cut short: XFormatViolation "". A mode above 3 reads as the arrow.
    explicit CLUX2ExtraInfoChunk(CMedia& body);
    // An edit tool other than 685..688 is written as the arrow; the three effect flags as 1.
    CLUX2ExtraInfoChunk(uint32_t editTool, uint32_t windowState1, uint32_t windowState2, uint8_t windowStateFlag);

    uint32_t GetEditTool() const { return fEditTool; }
    uint32_t GetWindowState1() const { return fWindowState1; }
    uint32_t GetWindowState2() const { return fWindowState2; }
    // Kept as the byte it is: the window gives it its meaning.
    uint8_t GetWindowStateFlag() const { return fWindowStateFlag; }
    // What the information view shows as switched on, for the effect chunks in their order:
    // TRSH, EQ, COMP.
    bool IsEnvelopeOn() const { return fEffectsOn[0]; }
    bool IsEqualizerOn() const { return fEffectsOn[1]; }
    bool IsTransientShaperOn() const { return fEffectsOn[2]; }
    void Write(CMedia& media) const override;

private:
    uint32_t fEditTool = kEditToolArrow;
    bool fEffectsOn[3] = {true, true, true};
    uint32_t fWindowState1 = 0;
    uint32_t fWindowState2 = 0;
    uint8_t fWindowStateFlag = 0;
};

}  // namespace NSQuillet
