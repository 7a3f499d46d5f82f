#include "formats/program/AKPDiskPrgModSrcsChunk.h"

namespace NSQuillet {

CAKPDiskPrgModSrcsChunk::CAKPDiskPrgModSrcsChunk()
    : CAKPDiskChunk(MakeChunkId("mods"), {1, 0, 17, 0, 2, 6, 2, 3, 1, 8, 1, 6, 1, 1, 4, 6, 5, 6, 3, 6,
                                          7, 0, 8, 0, 6, 0, 0, 7, 0, 11, 2, 5, 9, 5, 9, 8, 9, 9}) {}

}  // namespace NSQuillet
