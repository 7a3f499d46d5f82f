#pragma once

#include <cstdint>

#include "formats/media/Media.h"

namespace NSQuillet {

// Sequential, at the media's current position, big-endian; failures as for CMedia::Read/Write.
uint8_t ReadU8(CMedia& media);
uint16_t ReadU16(CMedia& media);
uint32_t ReadU32(CMedia& media);
void WriteU8(CMedia& media, uint8_t value);
void WriteU16(CMedia& media, uint16_t value);
void WriteU32(CMedia& media, uint32_t value);

}  // namespace NSQuillet
