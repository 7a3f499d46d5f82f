#include "formats/program/AKPDiskPrgOutChunk.h"

namespace NSQuillet {

CAKPDiskPrgOutChunk::CAKPDiskPrgOutChunk() : CAKPDiskChunk(MakeChunkId("out "), {1, 85, 0, 0, 0, 0, 0, 25}) {}

}  // namespace NSQuillet
