#include "formats/lux2/LUX2SliceChunk.h"

#include <algorithm>

#include "formats/lux2/LUX2Format.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kBodySize = 11;
constexpr uint8_t kMutedFlag = 1;
constexpr uint8_t kLockedFlag = 2;
constexpr uint8_t kSelectedFlag = 4;
constexpr uint8_t kKnownFlags = kMutedFlag | kLockedFlag | kSelectedFlag;

}  // namespace

CLUX2SliceChunk::CLUX2SliceChunk(CMedia& body) {
    RequireBytesLeft(body, kBodySize);
    const uint32_t position = ReadU32(body);
    ReadU32(body);
    const int16_t level = int16_t(ReadU16(body));
    const uint8_t flags = ReadU8(body);
    if (flags & ~kKnownFlags) throw NSMishap::XFormatViolation("bad flags in slice chunk");
    if ((flags & kMutedFlag && flags & kLockedFlag) || level < 0 || position > uint32_t(INT32_MAX)) {
        throw NSMishap::XFormatViolation("invalid data in slice chunk");
    }
    const ESliceKind kind = flags & kMutedFlag    ? ESliceKind::kMuted
                            : flags & kLockedFlag ? ESliceKind::kLocked
                                                  : ESliceKind::kNormal;
    fSlice = CSlice(int32_t(position), level, kind, (flags & kSelectedFlag) != 0);
}

CLUX2SliceChunk::CLUX2SliceChunk(const CSlice& slice) : fSlice(slice) {
    fSlice.SetPosition(std::max(slice.GetPosition(), 0));
    fSlice.SetLength(std::max(slice.GetLength(), 0));
    fSlice.SetLevel(std::max<int16_t>(slice.GetLevel(), 0));
}

void CLUX2SliceChunk::Write(CMedia& media) const {
    uint8_t flags = fSlice.IsSelected() ? kSelectedFlag : 0;
    if (fSlice.GetKind() == ESliceKind::kMuted) flags |= kMutedFlag;
    if (fSlice.GetKind() == ESliceKind::kLocked) flags |= kLockedFlag;
    WriteU32(media, uint32_t(fSlice.GetPosition()));
    WriteU32(media, uint32_t(fSlice.GetLength()));
    WriteU16(media, uint16_t(fSlice.GetLevel()));
    WriteU8(media, flags);
}

}  // namespace NSQuillet
