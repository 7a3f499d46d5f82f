#pragma once

#include <cstdint>

namespace NSMishap {

// How a sound-file library pulls bytes. Answers with a status word of the library it is given
// to and never throws. One thread at a time; may block on I/O.
class IByteReader {
public:
    // Copies exactly `count` bytes from `position`. A negative position or count, or a null
    // destination with any count, is the bad-argument status.
    virtual uint32_t Read(int64_t position, int64_t count, void* destination) = 0;
    virtual ~IByteReader() = default;
};

}  // namespace NSMishap
