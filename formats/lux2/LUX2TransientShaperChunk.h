#pragma once

#include <cstdint>

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/LUX2Format.h"

namespace NSQuillet {

struct SLUX2TransientShaper {
    bool fOn = false;
    int32_t fThreshold = 77;
    int32_t fRatio = 39;
    // Indexes into the sampler's time table (on the old 0..127 scale in 1.0 files).
    int32_t fAttack = 193;
    int32_t fRelease = 350;
};

// COMP: the transient shaper of the slice voices, 9 bytes.
class CLUX2TransientShaperChunk final : public CABCFormat {
public:
    static constexpr SLUX2Range kLevel{0, 127};
    static constexpr SLUX2Range kTime{0, 1023};

    // A value outside its range: XFormatViolation "invalid data in compressor chunk"; a body
    // cut short: XFormatViolation "".
    explicit CLUX2TransientShaperChunk(CMedia& body);
    // Each value clamped into its range.
    explicit CLUX2TransientShaperChunk(const SLUX2TransientShaper& shaper);

    const SLUX2TransientShaper& GetShaper() const { return fShaper; }
    void Write(CMedia& media) const override;

private:
    SLUX2TransientShaper fShaper;
};

}  // namespace NSQuillet
