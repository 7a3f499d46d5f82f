#include "formats/program/AKPDiskZoneChunk.h"

#include <algorithm>

namespace NSQuillet {

namespace {

constexpr size_t kNameLengthAt = 1;
constexpr size_t kNameAt = 2;
constexpr size_t kNameFieldLength = 32;

}  // namespace

CAKPDiskZoneChunk::CAKPDiskZoneChunk()
    : CAKPDiskChunk(MakeChunkId("zone"), {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 127, 0, 0, 0, 0, 6, 0, 0, 1, 0, 0}) {}

void CAKPDiskZoneChunk::SetSampleName(const std::string& name) {
    const size_t length = std::min(name.size(), kMaximumNameLength);
    SetByte(kNameLengthAt, uint8_t(length));
    for (size_t i = 0; i < kNameFieldLength; ++i) {
        uint8_t byte = 0;
        if (i < length) {
            byte = uint8_t(name[i]);
            if (byte < 32 || byte > 126) byte = '_';
        }
        SetByte(kNameAt + i, byte);
    }
}

}  // namespace NSQuillet
