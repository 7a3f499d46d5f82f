#pragma once

#include <cstdint>

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/LUX2Format.h"

namespace NSQuillet {

struct SLUX2Envelope {
    bool fOn = true;
    // Indexes into the sampler's time table (on the old 0..127 scale in 1.0 files).
    int32_t fAttack = 21;
    int32_t fDecay = 1023;
    // Percent − 1.
    int32_t fStretch = 40;
};

// TRSH: the envelope of the slice voices, 7 bytes.
class CLUX2EnvelopeChunk final : public CABCFormat {
public:
    static constexpr SLUX2Range kTime{0, 1023};
    static constexpr SLUX2Range kStretch{0, 100};

    // A value outside its range: XFormatViolation "invalid data in transient shaper chunk"; a
    // body cut short: XFormatViolation "".
    explicit CLUX2EnvelopeChunk(CMedia& body);
    // Each value clamped into its range.
    explicit CLUX2EnvelopeChunk(const SLUX2Envelope& envelope);

    const SLUX2Envelope& GetEnvelope() const { return fEnvelope; }
    void Write(CMedia& media) const override;

private:
    SLUX2Envelope fEnvelope;
};

}  // namespace NSQuillet
