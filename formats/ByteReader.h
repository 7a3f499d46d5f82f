#pragma once

#include <cstdint>

namespace NSMishap {

// How a sound-file library pulls bytes. Failures are thrown as NSMishap failures; the glue that
// hands this to a library catches them at its callback boundary. One thread at a time.
class IByteReader {
public:
    // Copies exactly `count` bytes starting at `position`.
    virtual void Read(uint64_t position, uint64_t count, void* destination) = 0;
    virtual ~IByteReader() = default;
};

}  // namespace NSMishap
