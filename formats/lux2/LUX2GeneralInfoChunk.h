#pragma once

#include <cstdint>

#include "engine/LoopSettings.h"
#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/LUX2Format.h"

namespace NSQuillet {

// The fields of GLOB as stored, unclamped: the writer fills every one from the settings, the
// reader from the file.
struct SLUX2GeneralInfo {
    uint32_t fSliceCount = 0;
    int32_t fBars = 0;
    int32_t fBeats = 0;
    int32_t fTimeSignatureNumerator = 0;
    int32_t fTimeSignatureDenominator = 0;
    int32_t fSensitivity = 0;
    int32_t fGateSensitivity = 0;
    // Linear, 1000 = unity.
    int32_t fGain = 0;
    // Cents.
    int32_t fPitch = 0;
    // Thousandths of a beat per minute.
    int32_t fTempo = 0;
    // The document flag and the loop flag.
    bool fExportSlicesSeparately = false;
    bool fPreviewOn = false;
};

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
    explicit CLUX2GeneralInfoChunk(const SLUX2GeneralInfo& info);

    const SLUX2GeneralInfo& GetInfo() const { return fInfo; }
    void Write(CMedia& media) const override;

private:
    SLUX2GeneralInfo fInfo;
};

}  // namespace NSQuillet
