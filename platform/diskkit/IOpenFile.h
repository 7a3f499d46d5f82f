#pragma once

#include <cstdint>

#include "platform/diskkit/IFileReader.h"
#include "platform/diskkit/IFileWriter.h"

namespace NSDiskKit {

// An open file. Owned by whoever opened it until Close, which always destroys it. One thread
// at a time; every operation may block on disk I/O.
class IOpenFile {
public:
    // Both live as long as the file object.
    virtual IFileReader* GetReader() = 0;
    virtual IFileWriter* GetWriter() = 0;
    virtual uint32_t GetSize(uint64_t* size) = 0;
    virtual bool IsWritable() const = 0;

    // Closes the file and destroys this object, also when the status is a failure.
    virtual uint32_t Close() = 0;

protected:
    ~IOpenFile() = default;
};

}  // namespace NSDiskKit
