#pragma once

#include <cstdint>

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/LUX2Format.h"

namespace NSQuillet {

// Hz, thousandths of a dB, band widths as Q × 1000.
struct SLUX2Equalizer {
    bool fOn = false;
    int32_t fLowCut = 15;
    int32_t fLowFrequency = 100;
    int32_t fLowGain = 0;
    int32_t fLowQ = 1000;
    int32_t fHighFrequency = 2500;
    int32_t fHighGain = 0;
    int32_t fHighQ = 1000;
    int32_t fHighCut = 20000;
};

// "EQ  ": the equalizer, 17 bytes: the switch and eight i16 in the order of the fields.
class CLUX2EqualizerChunk final : public CABCFormat {
public:
    static constexpr SLUX2Range kLowCut{15, 12000};
    static constexpr SLUX2Range kLowFrequency{20, 3000};
    static constexpr SLUX2Range kGain{-18000, 18000};
    static constexpr SLUX2Range kQ{500, 10000};
    static constexpr SLUX2Range kHighFrequency{1500, 16000};
    static constexpr SLUX2Range kHighCut{100, 20000};

    // A value outside its range: XFormatViolation "invalid data in equalizer chunk"; a body cut
    // short: XFormatViolation "".
    explicit CLUX2EqualizerChunk(CMedia& body);
    // Each value clamped into its range.
    explicit CLUX2EqualizerChunk(const SLUX2Equalizer& equalizer);

    const SLUX2Equalizer& GetEqualizer() const { return fEqualizer; }
    void Write(CMedia& media) const override;

private:
    SLUX2Equalizer fEqualizer;
};

}  // namespace NSQuillet
