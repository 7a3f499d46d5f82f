#include "formats/program/AKPDiskPrgLFOChunk.h"

namespace NSQuillet {

CAKPDiskPrgLFOChunk::CAKPDiskPrgLFOChunk()
    : CAKPDiskChunk(MakeChunkId("lfo "), {2, 1, 43, 0, 0, 0, 1, 15, 0, 0, 0, 0, 0, 0}) {}

}  // namespace NSQuillet
