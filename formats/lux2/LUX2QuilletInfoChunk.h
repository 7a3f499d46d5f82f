#pragma once

#include <cstdint>

#include "formats/lux2/ABCFormat.h"
#include "formats/lux2/Version.h"

namespace NSQuillet {

// QUIL: the product settings.
class CLUX2QuilletInfoChunk final : public CABCFormat {
public:
    // The ruler units the grid code stands for.
    static constexpr uint32_t kRulerUnitsTime = 286;
    static constexpr uint32_t kRulerUnitsSamples = 287;
    static constexpr uint32_t kRulerUnitsBeats = 288;

    // A version neither 2.0 or later nor 0.0.0, or a last field negative as a signed number:
    // XFormatViolation "invalid data in quillet info chunk"; a grid code other than 0, 1, 10,
    // 11, 12: XFormatViolation "invalid grid/unit byte quillet info chunk"; a damaged version or
    // a body cut short: XFormatViolation "".
    explicit CLUX2QuilletInfoChunk(CMedia& body);
    // Ruler units other than the three count as time; the last field is written 0. A version
    // the reader would refuse is an XStdInvalidArgument.
    CLUX2QuilletInfoChunk(const CVersion& version, bool silenceSelected, uint32_t rulerUnits, uint32_t exportSize);

    const CVersion& GetVersion() const { return fVersion; }
    bool IsSilenceSelected() const { return fSilenceSelected; }
    uint32_t GetRulerUnits() const { return fRulerUnits; }
    // Bytes the export of the loop writes.
    uint32_t GetExportSize() const { return fExportSize; }
    void Write(CMedia& media) const override;

    static bool IsReadableVersion(const CVersion& version);

private:
    CVersion fVersion;
    bool fSilenceSelected = false;
    uint32_t fRulerUnits = kRulerUnitsTime;
    uint32_t fExportSize = 0;
    uint32_t fLast = 0;
};

}  // namespace NSQuillet
