#include "formats/diskkitsupport/FileMediaAccess.h"

#include "formats/diskkitsupport/OpenReadFileBridge.h"

namespace NSDiskKitSupport {

std::shared_ptr<NSQuillet::CMedia> OpenMediaForReading(const std::string& path) {
    return std::make_shared<COpenReadFileBridge>(path);
}

std::unique_ptr<CMediaBridge> CreateMediaForWriting(const std::string& path, uint32_t typeCode, NSDiskKit::ECreateMode mode) {
    return std::make_unique<CMediaBridge>(path, typeCode, mode);
}

}  // namespace NSDiskKitSupport
