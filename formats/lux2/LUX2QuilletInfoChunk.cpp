#include "formats/lux2/LUX2QuilletInfoChunk.h"

#include "formats/lux2/LUX2Format.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// After the version.
constexpr uint64_t kFieldsSize = 10;

constexpr uint8_t kGridTime = 10;
constexpr uint8_t kGridSamples = 11;
constexpr uint8_t kGridBeats = 12;
// Older files: 0 for time, 1 for beats.
constexpr uint8_t kGridOldTime = 0;
constexpr uint8_t kGridOldBeats = 1;

uint8_t GridCodeOf(uint32_t rulerUnits) {
    switch (rulerUnits) {
        case CLUX2QuilletInfoChunk::kRulerUnitsSamples: return kGridSamples;
        case CLUX2QuilletInfoChunk::kRulerUnitsBeats: return kGridBeats;
        default: return kGridTime;
    }
}

}  // namespace

bool CLUX2QuilletInfoChunk::IsReadableVersion(const CVersion& version) {
    return version >= CVersion(2, 0) || version == CVersion(0, 0);
}

CLUX2QuilletInfoChunk::CLUX2QuilletInfoChunk(CMedia& body) {
    fVersion = CVersion::Read(body);
    RequireBytesLeft(body, kFieldsSize);
    fSilenceSelected = ReadU8(body) != 0;
    const uint8_t grid = ReadU8(body);
    fExportSize = ReadU32(body);
    fLast = ReadU32(body);
    if (!IsReadableVersion(fVersion) || int32_t(fLast) < 0) {
        throw NSMishap::XFormatViolation("invalid data in quillet info chunk");
    }
    switch (grid) {
        case kGridTime:
        case kGridOldTime: fRulerUnits = kRulerUnitsTime; break;
        case kGridSamples: fRulerUnits = kRulerUnitsSamples; break;
        case kGridBeats:
        case kGridOldBeats: fRulerUnits = kRulerUnitsBeats; break;
        default: throw NSMishap::XFormatViolation("invalid grid/unit byte quillet info chunk");
    }
}

CLUX2QuilletInfoChunk::CLUX2QuilletInfoChunk(const CVersion& version, bool silenceSelected, uint32_t rulerUnits,
                                             uint32_t exportSize)
    : fVersion(version), fSilenceSelected(silenceSelected), fRulerUnits(rulerUnits), fExportSize(exportSize) {
    if (!IsReadableVersion(version)) throw NSMishap::XStdInvalidArgument("quillet info version before 2.0");
    if (GridCodeOf(rulerUnits) == kGridTime) fRulerUnits = kRulerUnitsTime;
}

void CLUX2QuilletInfoChunk::Write(CMedia& media) const {
    fVersion.Write(media);
    WriteU8(media, fSilenceSelected ? 1 : 0);
    WriteU8(media, GridCodeOf(fRulerUnits));
    WriteU32(media, fExportSize);
    WriteU32(media, fLast);
}

}  // namespace NSQuillet
