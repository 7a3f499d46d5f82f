#pragma once

#include <cstdint>

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/LUX2Format.h"

namespace NSQuillet {

// The fields of GLOB as stored.
struct SLUX2GeneralInfo {
    uint32_t fSliceCount = 0;
    int32_t fBars = 0;
    int32_t fBeats = 0;
    int32_t fTimeSignatureNumerator = 4;
    int32_t fTimeSignatureDenominator = 4;
    int32_t fSensitivity = 0;
    int32_t fGateSensitivity = 0;
    // Linear, 1000 = unity.
    int32_t fGain = 1000;
    // Cents.
    int32_t fPitch = 0;
    // Thousandths of a beat per minute.
    int32_t fTempo = 130000;
    // The document flag and the loop flag.
    bool fExportSlicesSeparately = true;
    bool fPreviewOn = false;
};

// GLOB: the general loop settings, 22 bytes.
class CLUX2GeneralInfoChunk final : public CABCFormat {
public:
    static constexpr SLUX2Range kBars{0, 999};
    static constexpr SLUX2Range kBeats{0, 7};
    static constexpr SLUX2Range kTimeSignature{0, 15};
    static constexpr SLUX2Range kSensitivity{0, 99};
    static constexpr SLUX2Range kGateSensitivity{0, 999};
    static constexpr SLUX2Range kGain{0, 7943};
    static constexpr SLUX2Range kPitch{-2400, 2400};
    static constexpr SLUX2Range kTempo{20000, 450000};

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
