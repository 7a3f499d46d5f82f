#include "formats/lux2/LUX2EnvelopeChunk.h"

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kBodySize = 7;

}  // namespace

CLUX2EnvelopeChunk::CLUX2EnvelopeChunk(CMedia& body) {
    RequireBytesLeft(body, kBodySize);
    fEnvelope.fOn = ReadU8(body) != 0;
    fEnvelope.fAttack = ReadU16(body);
    fEnvelope.fDecay = ReadU16(body);
    fEnvelope.fStretch = ReadU16(body);
    if (!kTime.Contains(fEnvelope.fAttack) || !kTime.Contains(fEnvelope.fDecay) ||
        !kStretch.Contains(fEnvelope.fStretch)) {
        throw NSMishap::XFormatViolation("invalid data in transient shaper chunk");
    }
}

CLUX2EnvelopeChunk::CLUX2EnvelopeChunk(const SLUX2Envelope& envelope) : fEnvelope(envelope) {
    fEnvelope.fAttack = int32_t(kTime.Clamp(envelope.fAttack));
    fEnvelope.fDecay = int32_t(kTime.Clamp(envelope.fDecay));
    fEnvelope.fStretch = int32_t(kStretch.Clamp(envelope.fStretch));
}

void CLUX2EnvelopeChunk::Write(CMedia& media) const {
    WriteU8(media, fEnvelope.fOn ? 1 : 0);
    WriteU16(media, uint16_t(fEnvelope.fAttack));
    WriteU16(media, uint16_t(fEnvelope.fDecay));
    WriteU16(media, uint16_t(fEnvelope.fStretch));
}

}  // namespace NSQuillet
