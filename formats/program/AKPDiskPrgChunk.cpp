#include "formats/program/AKPDiskPrgChunk.h"

namespace NSQuillet {

CAKPDiskPrgChunk::CAKPDiskPrgChunk() : CAKPDiskChunk(MakeChunkId("prg "), {1, 0, 0, 0, 2, 0}) {}

}  // namespace NSQuillet
