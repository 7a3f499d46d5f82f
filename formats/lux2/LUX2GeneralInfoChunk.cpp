#include "formats/lux2/LUX2GeneralInfoChunk.h"

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kBodySize = 22;

}  // namespace

// Bars and beats may both be 0: a document without a loop length is saved like any other and
// must open again.
CLUX2GeneralInfoChunk::CLUX2GeneralInfoChunk(CMedia& body) {
    RequireBytesLeft(body, kBodySize);
    fInfo.fSliceCount = ReadU32(body);
    fInfo.fBars = ReadU16(body);
    fInfo.fBeats = ReadU8(body);
    fInfo.fTimeSignatureNumerator = ReadU8(body);
    fInfo.fTimeSignatureDenominator = ReadU8(body);
    fInfo.fSensitivity = ReadU8(body);
    fInfo.fGateSensitivity = ReadU16(body);
    fInfo.fGain = ReadU16(body);
    fInfo.fPitch = int16_t(ReadU16(body));
    const uint32_t tempo = ReadU32(body);
    fInfo.fExportSlicesSeparately = ReadU8(body) != 0;
    fInfo.fPreviewOn = ReadU8(body) != 0;
    const bool valid = kBars.Contains(fInfo.fBars) && kBeats.Contains(fInfo.fBeats) &&
                       kTimeSignature.Contains(fInfo.fTimeSignatureNumerator) &&
                       kTimeSignature.Contains(fInfo.fTimeSignatureDenominator) &&
                       kSensitivity.Contains(fInfo.fSensitivity) && kGateSensitivity.Contains(fInfo.fGateSensitivity) &&
                       kGain.Contains(fInfo.fGain) && kPitch.Contains(fInfo.fPitch) && kTempo.Contains(tempo);
    if (!valid) throw NSMishap::XFormatViolation("invalid data in general info chunk");
    fInfo.fPreviewTempo = int32_t(tempo);
}

CLUX2GeneralInfoChunk::CLUX2GeneralInfoChunk(const SLoopFileGeneralInfo& info) : fInfo(info) {
    fInfo.fBars = int32_t(kBars.Clamp(info.fBars));
    fInfo.fBeats = int32_t(kBeats.Clamp(info.fBeats));
    fInfo.fTimeSignatureNumerator = int32_t(kTimeSignature.Clamp(info.fTimeSignatureNumerator));
    fInfo.fTimeSignatureDenominator = int32_t(kTimeSignature.Clamp(info.fTimeSignatureDenominator));
    fInfo.fSensitivity = int32_t(kSensitivity.Clamp(info.fSensitivity));
    fInfo.fGateSensitivity = int32_t(kGateSensitivity.Clamp(info.fGateSensitivity));
    fInfo.fGain = int32_t(kGain.Clamp(info.fGain));
    fInfo.fPitch = int32_t(kPitch.Clamp(info.fPitch));
    fInfo.fPreviewTempo = int32_t(kTempo.Clamp(info.fPreviewTempo));
}

void CLUX2GeneralInfoChunk::Write(CMedia& media) const {
    WriteU32(media, fInfo.fSliceCount);
    WriteU16(media, uint16_t(fInfo.fBars));
    WriteU8(media, uint8_t(fInfo.fBeats));
    WriteU8(media, uint8_t(fInfo.fTimeSignatureNumerator));
    WriteU8(media, uint8_t(fInfo.fTimeSignatureDenominator));
    WriteU8(media, uint8_t(fInfo.fSensitivity));
    WriteU16(media, uint16_t(fInfo.fGateSensitivity));
    WriteU16(media, uint16_t(fInfo.fGain));
    WriteU16(media, uint16_t(int16_t(fInfo.fPitch)));
    WriteU32(media, uint32_t(fInfo.fPreviewTempo));
    WriteU8(media, fInfo.fExportSlicesSeparately ? 1 : 0);
    WriteU8(media, fInfo.fPreviewOn ? 1 : 0);
}

}  // namespace NSQuillet
