#include "formats/program/AKPDiskKLOCChunk.h"

namespace NSQuillet {

CAKPDiskKLOCChunk::CAKPDiskKLOCChunk()
    : CAKPDiskChunk(MakeChunkId("kloc"), {2, 3, 1, 4, 21, 127, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0}) {}

void CAKPDiskKLOCChunk::SetKeyRange(uint8_t lowKey, uint8_t highKey) {
    SetByte(4, lowKey);
    SetByte(5, highKey);
}

}  // namespace NSQuillet
