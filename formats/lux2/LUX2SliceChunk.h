#pragma once

#include <cstdint>

#include "engine/Slice.h"
#include "formats/lux2/ABCFormat.h"

namespace NSQuillet {

// SLCE: one slice point, 11 bytes: position, length (for other readers; not read back),
// level and the flags muted (bit 0), locked (bit 1) and selected (bit 2).
class CLUX2SliceChunk final : public CABCFormat {
public:
    // Bits above bit 2: XFormatViolation "bad flags in slice chunk"; muted and locked both, a
    // level negative as a signed number or a position beyond the 31-bit frame range:
    // XFormatViolation "invalid data in slice chunk"; a body cut short: XFormatViolation "".
    explicit CLUX2SliceChunk(CMedia& body);
    // A negative level is written as 0, a negative position or length as 0.
    explicit CLUX2SliceChunk(const CSlice& slice);

    // Length 1 until the sequence computes it.
    const CSlice& GetSlice() const { return fSlice; }
    void Write(CMedia& media) const override;

private:
    CSlice fSlice;
};

}  // namespace NSQuillet
