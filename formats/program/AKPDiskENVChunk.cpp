#include "formats/program/AKPDiskENVChunk.h"

namespace NSQuillet {

CAKPDiskENVChunk::CAKPDiskENVChunk()
    : CAKPDiskChunk(MakeChunkId("env "), {1, 1, 0, 50, 15, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) {}

CAKPDiskENVChunk::CAKPDiskENVChunk(EAKPKeygroupEnvelope envelope) : CAKPDiskENVChunk() {
    switch (envelope) {
        case EAKPKeygroupEnvelope::kFirst:
            break;
        case EAKPKeygroupEnvelope::kSecond:
            SetByte(1, 0);
            break;
        case EAKPKeygroupEnvelope::kThird:
            SetByte(1, 0);
            SetByte(2, 50);
            SetByte(5, 100);
            SetByte(6, 100);
            break;
    }
}

}  // namespace NSQuillet
