#include "formats/lux2/LUX2SampleInfoChunk.h"

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kBodySize = 18;

// Stored codes of the bit depths 8, 16, 24 and 32.
int32_t BitDepthOf(uint8_t code) {
    switch (code) {
        case 1: return 8;
        case 3: return 16;
        case 5: return 24;
        case 7: return 32;
        default: return 0;
    }
}

uint8_t CodeOf(int32_t bitDepth) { return uint8_t(bitDepth / 4 - 1); }

bool IsValidFormat(int32_t channels, int32_t bitDepth) {
    return (channels == 1 || channels == 2) && (bitDepth == 16 || bitDepth == 24);
}

}  // namespace

CLUX2SampleInfoChunk::CLUX2SampleInfoChunk(CMedia& body) {
    RequireBytesLeft(body, kBodySize);
    fInfo.fChannelCount = ReadU8(body);
    fInfo.fBitDepth = BitDepthOf(ReadU8(body));
    fInfo.fSampleRate = ReadU32(body);
    fInfo.fFrameCount = ReadU32(body);
    fInfo.fLoopStart = ReadU32(body);
    fInfo.fLoopEnd = ReadU32(body);
    const bool valid = IsValidFormat(fInfo.fChannelCount, fInfo.fBitDepth) && kSampleRate.Contains(fInfo.fSampleRate) &&
                       fInfo.fLoopStart <= fInfo.fLoopEnd && fInfo.fLoopStart < fInfo.fFrameCount &&
                       fInfo.fLoopEnd <= fInfo.fFrameCount;
    if (!valid) throw NSMishap::XFormatViolation("invalid data in sample info chunk");
}

CLUX2SampleInfoChunk::CLUX2SampleInfoChunk(const SLUX2SampleInfo& info) : fInfo(info) {
    if (!IsValidFormat(info.fChannelCount, info.fBitDepth)) {
        throw NSMishap::XStdInvalidArgument("a loop file holds 16- or 24-bit mono or stereo");
    }
    if (info.fFrameCount == 0) throw NSMishap::XStdInvalidArgument("a loop file holds at least one frame");
    fInfo.fSampleRate = uint32_t(kSampleRate.Clamp(info.fSampleRate));
    fInfo.fLoopStart = info.fLoopStart < info.fFrameCount ? info.fLoopStart : info.fFrameCount - 1;
    fInfo.fLoopEnd = info.fLoopEnd < fInfo.fLoopStart   ? fInfo.fLoopStart
                     : info.fLoopEnd > info.fFrameCount ? info.fFrameCount
                                                        : info.fLoopEnd;
}

void CLUX2SampleInfoChunk::Write(CMedia& media) const {
    WriteU8(media, uint8_t(fInfo.fChannelCount));
    WriteU8(media, CodeOf(fInfo.fBitDepth));
    WriteU32(media, fInfo.fSampleRate);
    WriteU32(media, fInfo.fFrameCount);
    WriteU32(media, fInfo.fLoopStart);
    WriteU32(media, fInfo.fLoopEnd);
}

}  // namespace NSQuillet
