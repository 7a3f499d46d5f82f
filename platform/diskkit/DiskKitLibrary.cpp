#include "platform/diskkit/DiskKitLibrary.h"

#include <atomic>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKit.h"

namespace NSDiskKitSupport {

namespace {

std::atomic<NSDiskKit::IDiskKit*> gReplacement{nullptr};

}  // namespace

NSDiskKit::IDiskKit* ReplaceDiskKitForTesting(NSDiskKit::IDiskKit* library) { return gReplacement.exchange(library); }

NSDiskKit::IDiskKit& GetDiskKit() {
    if (NSDiskKit::IDiskKit* replacement = gReplacement.load()) return *replacement;
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
