#include "formats/diskkitsupport/OpenReadFileBridge.h"

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKitLibrary.h"

namespace NSDiskKitSupport {

namespace {

NSDiskKit::IOpenFile* OpenOrThrow(const NSDiskKit::CFileSpec& file) {
    uint32_t status = NSDiskKit::kDiskKitSuccess;
    NSDiskKit::IOpenFile* opened = GetDiskKit().OpenForReading(file, &status);
    CheckFileStatus(status, "open for reading", file.GetPath());
    return opened;
}

}  // namespace

COpenReadFileBridge::COpenReadFileBridge(const NSDiskKit::CFileSpec& file)
    : CABCFileMedia(OpenOrThrow(file), file.GetPath()) {}

}  // namespace NSDiskKitSupport
