#include "formats/lux2/LUX2TransientShaperChunk.h"

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kBodySize = 9;

}  // namespace

CLUX2TransientShaperChunk::CLUX2TransientShaperChunk(CMedia& body) {
    RequireBytesLeft(body, kBodySize);
    fShaper.fOn = ReadU8(body) != 0;
    fShaper.fThreshold = ReadU16(body);
    fShaper.fRatio = ReadU16(body);
    fShaper.fAttack = ReadU16(body);
    fShaper.fRelease = ReadU16(body);
    if (!kLevel.Contains(fShaper.fThreshold) || !kLevel.Contains(fShaper.fRatio) || !kTime.Contains(fShaper.fAttack) ||
        !kTime.Contains(fShaper.fRelease)) {
        throw NSMishap::XFormatViolation("invalid data in compressor chunk");
    }
}

CLUX2TransientShaperChunk::CLUX2TransientShaperChunk(const SLUX2TransientShaper& shaper) : fShaper(shaper) {
    fShaper.fThreshold = int32_t(kLevel.Clamp(shaper.fThreshold));
    fShaper.fRatio = int32_t(kLevel.Clamp(shaper.fRatio));
    fShaper.fAttack = int32_t(kTime.Clamp(shaper.fAttack));
    fShaper.fRelease = int32_t(kTime.Clamp(shaper.fRelease));
}

void CLUX2TransientShaperChunk::Write(CMedia& media) const {
    WriteU8(media, fShaper.fOn ? 1 : 0);
    WriteU16(media, uint16_t(fShaper.fThreshold));
    WriteU16(media, uint16_t(fShaper.fRatio));
    WriteU16(media, uint16_t(fShaper.fAttack));
    WriteU16(media, uint16_t(fShaper.fRelease));
}

}  // namespace NSQuillet
