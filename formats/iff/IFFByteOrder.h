#pragma once

#include <cstdint>

#include "formats/media/Media.h"

namespace NSQuillet {

// The byte order of chunk sizes: IFF big-endian, RIFF little-endian. Ids are always in file order.
enum class EIFFByteOrder { kBigEndian, kLittleEndian };

// Sequential, at the media's current position; failures as for CMedia::Read/Write.
uint32_t ReadChunkSize(CMedia& media, EIFFByteOrder order);
void WriteChunkSize(CMedia& media, EIFFByteOrder order, uint32_t size);

}  // namespace NSQuillet
