#include "formats/program/AKPDiskFilterChunk.h"

namespace NSQuillet {

CAKPDiskFilterChunk::CAKPDiskFilterChunk() : CAKPDiskChunk(MakeChunkId("filt"), {2, 0, 100, 0, 0, 0, 0, 0, 0, 5}) {}

}  // namespace NSQuillet
