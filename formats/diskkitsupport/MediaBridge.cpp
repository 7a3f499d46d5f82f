#include "formats/diskkitsupport/MediaBridge.h"

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKitLibrary.h"
#include "platform/diskkit/FourCharCode.h"

namespace NSDiskKitSupport {

namespace {

NSDiskKit::INewFile* CreateOrThrow(const NSDiskKit::CFileSpec& file, uint32_t typeCode, NSDiskKit::ECreateMode mode) {
    uint32_t status = NSDiskKit::kDiskKitSuccess;
    NSDiskKit::INewFile* created =
        GetDiskKit().CreateFile(file.GetFolder(), file.GetName(), NSDiskKit::kQuilletCreatorCode, typeCode, mode, &status);
    CheckFileStatus(status, "create", file.GetPath());
    return created;
}

}  // namespace

CMediaBridge::CMediaBridge(const NSDiskKit::CFileSpec& file, uint32_t typeCode, NSDiskKit::ECreateMode mode)
    : CABCFileMedia(CreateOrThrow(file, typeCode, mode), file.GetPath()) {}

}  // namespace NSDiskKitSupport
