#pragma once

#include <cstdint>

namespace NSMishap {

// How a sound-file library pushes bytes. Failures are thrown as NSMishap failures; the glue that
// hands this to a library catches them at its callback boundary. One thread at a time.
class IByteWriter {
public:
    // Stores `count` bytes at `position`, growing the target as needed.
    virtual void Write(uint64_t position, uint64_t count, const void* source) = 0;
    // The target's size in bytes, which a library needs to seek from the end.
    virtual uint64_t GetSize() = 0;
    virtual ~IByteWriter() = default;
};

}  // namespace NSMishap
