#pragma once

#include <cstdint>

#include "platform/diskkit/IDiskKit.h"

// The library's one entry point. "IDiskKit" gives the process-wide library object, which lives
// for the life of the process (never delete it); any other name gives null and
// kDiskKitUnknownInterface, a null name or status kDiskKitBadArgument. Any thread.
NSDiskKit::IDiskKit* DiskKit_Create(const char* interfaceName, uint32_t* status);
