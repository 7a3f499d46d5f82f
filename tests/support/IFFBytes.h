#pragma once

// Big-endian IFF files written out byte by byte in tests, independently of the writers. No
// test framework here: fuzz targets use it too.

#include <cstdint>
#include <string>
#include <vector>

namespace NSQuilletTest {

using TBytes = std::vector<uint8_t>;

inline void Put8(TBytes& to, uint32_t v) { to.push_back(uint8_t(v)); }
inline void Put16(TBytes& to, uint32_t v) {
    to.push_back(uint8_t(v >> 8));
    to.push_back(uint8_t(v));
}
inline void Put32(TBytes& to, uint32_t v) {
    Put16(to, v >> 16);
    Put16(to, v);
}
inline void PutText(TBytes& to, const std::string& text) { to.insert(to.end(), text.begin(), text.end()); }
inline void PutBytes(TBytes& to, const TBytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

// Id, big-endian size, body, and a zero pad byte after an odd body.
inline TBytes Chunk(const std::string& id, const TBytes& body) {
    TBytes chunk;
    PutText(chunk, id);
    Put32(chunk, uint32_t(body.size()));
    PutBytes(chunk, body);
    if (body.size() % 2) chunk.push_back(0);
    return chunk;
}

// A FORM of `type` holding `chunks` in order.
inline TBytes Form(const std::string& type, const std::vector<TBytes>& chunks) {
    TBytes members;
    PutText(members, type);
    for (const TBytes& chunk : chunks) PutBytes(members, chunk);
    TBytes form;
    PutText(form, "FORM");
    Put32(form, uint32_t(members.size()));
    PutBytes(form, members);
    return form;
}

}  // namespace NSQuilletTest
