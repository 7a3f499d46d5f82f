#pragma once

#include <cstdint>

namespace NSMishap {

// How a sound-file library pushes bytes. Answers with a status word of the library it is given
// to and never throws. One thread at a time; may block on I/O.
class IByteWriter {
public:
    // Stores `count` bytes at `position`, growing the target as needed.
    virtual uint32_t Write(int64_t position, int64_t count, const void* source) = 0;
    // The target's size in bytes, which a library needs to seek from the end.
    virtual uint32_t GetSize(int64_t* size) = 0;
    virtual ~IByteWriter() = default;
};

}  // namespace NSMishap
