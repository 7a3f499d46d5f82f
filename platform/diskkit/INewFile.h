#pragma once

#include <cstdint>

#include "platform/diskkit/IOpenFile.h"

namespace NSDiskKit {

// A file being created, open for reading and writing. When it replaces a file, the bytes go to
// a temporary file in the same folder that takes the name only when Close succeeds, so the old
// file stays untouched until then. A failed Close or a Discard removes what was written.
class INewFile : public IOpenFile {
public:
    uint32_t Close() override = 0;
    // Closes, removes what was written and destroys this object. Never fails.
    virtual void Discard() = 0;

    uint32_t GetCreatorCode() const { return fCreatorCode; }
    uint32_t GetTypeCode() const { return fTypeCode; }

protected:
    INewFile(uint32_t creatorCode, uint32_t typeCode) : fCreatorCode(creatorCode), fTypeCode(typeCode) {}
    ~INewFile() = default;

private:
    uint32_t fCreatorCode;
    uint32_t fTypeCode;
};

}  // namespace NSDiskKit
