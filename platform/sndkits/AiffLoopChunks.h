#pragma once

#include <cstdint>

#include "platform/sndkits/SndFileVirtualFile.h"

namespace NSSoundKits::NSSoundKitsDetails {

// libsndfile writes no instrument data into AIFF files, so the loop is appended after it has
// closed the file: a 'MARK' chunk with markers 1 ("beg loop") at `start` and 2 ("end loop") at
// `end`, an 'INST' chunk whose sustain loop runs forward between them, and the FORM size
// updated. Markers stand between frames, so [start, end) is exact.
uint32_t AppendAiffLoopChunks(CSndFileVirtualFile& file, uint32_t start, uint32_t end);

}  // namespace NSSoundKits::NSSoundKitsDetails
