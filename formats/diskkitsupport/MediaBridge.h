#pragma once

#include <cstdint>
#include <string>

#include "formats/diskkitsupport/FileMedia.h"
#include "platform/diskkit/FileSpec.h"
#include "platform/diskkit/IDiskKit.h"

namespace NSDiskKitSupport {

// A media over a newly created file (creator code 'Qlet'), into which a sound or program file
// is written. The file takes its name only when Close succeeds; destroying the bridge without
// Close, as when a writer fails, removes what was written and leaves a replaced file as it was.
// A missing folder is an XNotFound "directory"; an existing name with kCreateNew an
// XAlreadyExists; replacing a file without write permission an XReadOnly.
class CMediaBridge final : public CABCFileMedia {
public:
    CMediaBridge(const NSDiskKit::CFileSpec& file, uint32_t typeCode, NSDiskKit::ECreateMode mode);
    CMediaBridge(const std::string& path, uint32_t typeCode, NSDiskKit::ECreateMode mode)
        : CMediaBridge(NSDiskKit::CFileSpec::FromPath(path), typeCode, mode) {}
};

}  // namespace NSDiskKitSupport
