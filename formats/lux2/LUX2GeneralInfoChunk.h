#pragma once

#include <cstdint>

#include "engine/LoopSettings.h"
#include "formats/loopfile/LoopFileInfo.h"
#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/LUX2Format.h"

namespace NSQuillet {

// GLOB: the general loop settings, 22 bytes.
class CLUX2GeneralInfoChunk final : public CABCFormat {
public:
    static constexpr SValueRange kBars = CLoopSettings::kBarsRange;
    static constexpr SValueRange kBeats = CLoopSettings::kBeatsRange;
    // A stored 0 is read as 1.
    static constexpr SValueRange kTimeSignature{0, CLoopSettings::kTimeSignatureRange.fHighest};
    static constexpr SValueRange kSensitivity{0, 99};
    static constexpr SValueRange kGateSensitivity{0, 999};
    static constexpr SValueRange kGain{0, 7943};
    static constexpr SValueRange kPitch{-2400, 2400};
    static constexpr SValueRange kTempo = CLoopSettings::kPreviewTempoRange;

    // A field outside its range: XFormatViolation "invalid data in general info chunk"; a body
    // cut short: XFormatViolation "".
    explicit CLUX2GeneralInfoChunk(CMedia& body);
    // Each field clamped into its range.
    explicit CLUX2GeneralInfoChunk(const SLoopFileGeneralInfo& info);

    const SLoopFileGeneralInfo& GetInfo() const { return fInfo; }
    void Write(CMedia& media) const override;

private:
    SLoopFileGeneralInfo fInfo;
};

}  // namespace NSQuillet
