#pragma once

#include <cstdint>

namespace NSDiskKit {

// The byte reader of an open file. One thread at a time; blocks on disk I/O, so never on the
// audio thread. Positions and counts are in bytes from the start of the file.
class IFileReader {
public:
    // Copies exactly `count` bytes from `position`. A range that does not lie wholly inside the
    // file is kDiskKitReadFailure (no short reads); a position above 2^63 - 1 is kDiskKitBadArgument.
    virtual uint32_t Read(uint64_t position, uint64_t count, void* destination) = 0;

protected:
    ~IFileReader() = default;
};

}  // namespace NSDiskKit
