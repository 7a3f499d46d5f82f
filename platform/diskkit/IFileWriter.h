#pragma once

#include <cstdint>

namespace NSDiskKit {

// The byte writer of an open file. One thread at a time; blocks on disk I/O, so never on the
// audio thread. Positions and counts are in bytes from the start of the file.
class IFileWriter {
public:
    // Stores `count` bytes at `position`, growing the file as needed (a gap reads as zeros).
    // A range ending above 2^63 - 1 is kDiskKitBadArgument; a file opened for reading only
    // gives kDiskKitWrongAccess.
    virtual uint32_t Write(uint64_t position, uint64_t count, const void* source) = 0;
    virtual uint32_t GetSize(uint64_t* size) = 0;

protected:
    ~IFileWriter() = default;
};

}  // namespace NSDiskKit
