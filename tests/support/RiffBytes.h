#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Expected RIFF files written out by hand in tests: little-endian fields, ids and chunks.
namespace NSQuilletTest::NSRiffBytes {

using Bytes = std::vector<uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Zeros(size_t count) { return Bytes(count, 0); }
inline Bytes U16(uint16_t value) { return {uint8_t(value), uint8_t(value >> 8)}; }
inline Bytes U32(uint32_t value) {
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}
inline Bytes Id(const char (&id)[5]) { return {uint8_t(id[0]), uint8_t(id[1]), uint8_t(id[2]), uint8_t(id[3])}; }
// Id, size and body; no pad byte (the bodies of these tests have even sizes).
inline Bytes Chunk(const char (&id)[5], const Bytes& body) { return Id(id) + U32(uint32_t(body.size())) + body; }

}  // namespace NSQuilletTest::NSRiffBytes
