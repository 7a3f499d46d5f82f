#include "formats/lux2/LUX2ExtraInfoChunk.h"

#include "formats/lux2/LUX2Format.h"
#include "formats/lux2/Version.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// After the version.
constexpr uint64_t kFieldsSize = 16;
constexpr uint32_t kModeCount = CLUX2ExtraInfoChunk::kEditToolPen - CLUX2ExtraInfoChunk::kEditToolArrow + 1;

}  // namespace

CLUX2ExtraInfoChunk::CLUX2ExtraInfoChunk(CMedia& body) {
    if (!CVersion::Read(body).IsSameFamily(CVersion(1, 0))) throw NSMishap::XVersionTooNew("old extra info chunk");
    RequireBytesLeft(body, kFieldsSize);
    const uint32_t mode = ReadU32(body);
    fEditTool = mode < kModeCount ? kEditToolArrow + mode : kEditToolArrow;
    for (bool& on : fEffectsOn) on = ReadU8(body) != 0;
    fWindowState1 = ReadU32(body);
    fWindowState2 = ReadU32(body);
    fWindowStateFlag = ReadU8(body);
}

CLUX2ExtraInfoChunk::CLUX2ExtraInfoChunk(uint32_t editTool, uint32_t windowState1, uint32_t windowState2,
                                         uint8_t windowStateFlag)
    : fEditTool(editTool >= kEditToolArrow && editTool <= kEditToolPen ? editTool : kEditToolArrow),
      fWindowState1(windowState1),
      fWindowState2(windowState2),
      fWindowStateFlag(windowStateFlag) {}

void CLUX2ExtraInfoChunk::Write(CMedia& media) const {
    CVersion(1, 0).Write(media);
    WriteU32(media, fEditTool - kEditToolArrow);
    for (const bool on : fEffectsOn) WriteU8(media, on ? 1 : 0);
    WriteU32(media, fWindowState1);
    WriteU32(media, fWindowState2);
    WriteU8(media, fWindowStateFlag);
}

}  // namespace NSQuillet
