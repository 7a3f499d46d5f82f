#include "formats/program/AKPDiskPrgTuneChunk.h"

namespace NSQuillet {

CAKPDiskPrgTuneChunk::CAKPDiskPrgTuneChunk()
    : CAKPDiskChunk(MakeChunkId("tune"), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 0, 0, 0, 0, 0}) {}

}  // namespace NSQuillet
