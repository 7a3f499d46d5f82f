#include "formats/diskkitsupport/OpenFile.h"

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKitLibrary.h"

namespace NSDiskKitSupport {

namespace {

NSDiskKit::IOpenFile* OpenOrThrow(const NSDiskKit::CFileSpec& file, COpenFile::EAccess access) {
    NSDiskKit::IDiskKit& library = GetDiskKit();
    uint32_t status = NSDiskKit::kDiskKitSuccess;
    const bool writable = access == COpenFile::EAccess::kReadWrite;
    NSDiskKit::IOpenFile* opened = writable ? library.OpenForReadWrite(file, &status) : library.OpenForReading(file, &status);
    CheckFileStatus(status, writable ? "open for writing" : "open for reading", file.GetPath());
    return opened;
}

}  // namespace

COpenFile::COpenFile(const NSDiskKit::CFileSpec& file, EAccess access)
    : CABCFileMedia(OpenOrThrow(file, access), file.GetPath()) {}

}  // namespace NSDiskKitSupport
