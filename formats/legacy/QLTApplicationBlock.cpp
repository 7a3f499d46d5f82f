#include "formats/legacy/QLTApplicationBlock.h"

#include <algorithm>

#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint8_t kMutedFlag = 1;
constexpr uint8_t kLockedFlag = 2;
constexpr uint8_t kSelectedFlag = 4;

[[noreturn]] void ThrowUnreadable() { throw NSMishap::XFormatViolation("couldn't read Quillet chunk"); }

CSlice ReadSlice(CMedia& body) {
    const uint32_t position = ReadU32(body);
    const int16_t level = std::max<int16_t>(int16_t(ReadU16(body)), 1);
    const uint8_t flags = ReadU8(body);
    ReadU8(body);
    const ESliceKind kind = flags & kLockedFlag  ? ESliceKind::kLocked
                            : flags & kMutedFlag ? ESliceKind::kMuted
                                                 : ESliceKind::kNormal;
    // Beyond the 32-bit frame range is beyond every sound: the sequence drops it.
    const int32_t frame = position > uint32_t(INT32_MAX) ? INT32_MAX : int32_t(position);
    return CSlice(frame, level, kind, (flags & kSelectedFlag) != 0);
}

}  // namespace

CQLTApplicationBlock::CQLTApplicationBlock(CMedia* chunk) {
    if (!chunk) ThrowUnreadable();
    CMedia& body = *chunk;
    if (body.GetSize() < kHeaderSize) ThrowUnreadable();
    if (ReadU32(body) != kSignature) throw NSMishap::XFormatViolation("bad Quillet chunk signature");
    if (ReadU32(body) != kMagic) throw NSMishap::XFormatViolation("bad Quillet chunk magic");
    fMajorVersion = ReadU8(body);
    fMinorVersion = ReadU8(body);
    if (fMajorVersion != kMajorVersion) throw NSMishap::XFormatViolation("bad Quillet chunk version");
    const uint8_t mode = ReadU8(body);
    if (mode < uint8_t(EQLTLoopMode::kOff) || mode > uint8_t(EQLTLoopMode::kOnWithSilenceSelected)) {
        throw NSMishap::XFormatViolation("invalid loop mode");
    }
    fLoopMode = EQLTLoopMode(mode);
    fNormalizeOptionOn = ReadU8(body) != 0;
    fBars = ReadU16(body);
    fBeats = ReadU8(body);
    fTimeSignatureNumerator = ReadU8(body);
    fTimeSignatureDenominator = ReadU8(body);
    fSensitivity = ReadU8(body);
    fLoopStart = ReadU32(body);
    fLoopEnd = ReadU32(body);
    const int16_t count = int16_t(ReadU16(body));
    if (count <= 0) throw NSMishap::XFormatViolation("zero or negativ slice count in app specific chunk");
    if ((body.GetSize() - kHeaderSize) / kSliceSize < uint64_t(count)) ThrowUnreadable();
    fSlices.reserve(size_t(count));
    for (int16_t i = 0; i < count; ++i) fSlices.push_back(ReadSlice(body));
}

}  // namespace NSQuillet
