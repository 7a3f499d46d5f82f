#include "formats/media/MediaPrimitives.h"

namespace NSQuillet {

uint8_t ReadU8(CMedia& media) {
    uint8_t byte;
    media.Read(1, &byte);
    return byte;
}

uint16_t ReadU16(CMedia& media) {
    uint8_t bytes[2];
    media.Read(2, bytes);
    return uint16_t((bytes[0] << 8) | bytes[1]);
}

uint32_t ReadU32(CMedia& media) {
    uint8_t bytes[4];
    media.Read(4, bytes);
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
}

void WriteU8(CMedia& media, uint8_t value) { media.Write(1, &value); }

void WriteU16(CMedia& media, uint16_t value) {
    const uint8_t bytes[2] = {uint8_t(value >> 8), uint8_t(value)};
    media.Write(2, bytes);
}

void WriteU32(CMedia& media, uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    media.Write(4, bytes);
}

}  // namespace NSQuillet
