#include "formats/DiskKitLibrary.h"

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKit.h"

namespace NSDiskKitSupport {

NSDiskKit::IDiskKit& GetDiskKit() {
    static NSDiskKit::IDiskKit* const library = [] {
        uint32_t status = NSDiskKit::kDiskKitSuccess;
        NSDiskKit::IDiskKit* created = DiskKit_Create("IDiskKit", &status);
        NSDiskKit::CheckDiskKitStatus(status, "create the file-system library");
        return created;
    }();
    return *library;
}

void CheckFileStatus(uint32_t status, const char* operation, const std::string& path) {
    if (status == NSDiskKit::kDiskKitSuccess) return;
    NSDiskKit::CheckDiskKitStatus(status, std::string(operation) + " " + path + ": " + GetDiskKit().GetLastErrorText());
}

}  // namespace NSDiskKitSupport
