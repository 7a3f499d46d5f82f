#pragma once

#include <cstdint>

namespace NSQuillet {

// A random-access container of bytes addressed by 64-bit positions. Failures are thrown as
// NSMishap failures. One thread at a time; file-backed media block on disk I/O.
class IMediaImplementation {
public:
    // Copies exactly `count` bytes starting at `position`.
    virtual void ReadAt(uint64_t position, uint64_t count, void* destination) = 0;
    // Stores `count` bytes at `position`, growing the media where it supports growth.
    virtual void WriteAt(uint64_t position, uint64_t count, const void* source) = 0;
    // In bytes.
    virtual uint64_t GetSize() const = 0;
    virtual ~IMediaImplementation() = default;
};

}  // namespace NSQuillet
