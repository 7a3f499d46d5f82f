#pragma once

#include <cstdint>
#include <string>

#include "platform/diskkit/IDiskKit.h"

namespace NSDiskKitSupport {

// The process-wide file-system library, created on first use. A failure to create it is thrown
// (and creation is tried again on the next call). Any thread.
NSDiskKit::IDiskKit& GetDiskKit();

// Tests only: GetDiskKit answers `library` (null: the real library again) until replaced; the
// one set before is returned. Not owned. Set it while no other thread reaches the library.
NSDiskKit::IDiskKit* ReplaceDiskKitForTesting(NSDiskKit::IDiskKit* library);

// Throws the failure of a status other than 5000, with the message
// "<operation> <path>: <the library's text for the failure>".
void CheckFileStatus(uint32_t status, const char* operation, const std::string& path);

}  // namespace NSDiskKitSupport
