#pragma once

#include <cstdint>

#include "platform/soundport/ISoundPortKit.h"

// The library's one entry point. "ISoundPortKit" gives the process-wide library object (never
// delete it); any other name gives null and kSoundPortKitUnknownInterface, a null name
// kSoundPortKitBadArgument. `status` must not be null. The host APIs start on first need,
// with their diagnostics on the error stream silenced. User-interface thread.
NSSoundPortKit2::ISoundPortKit* SoundPortKit_Create(const char* interfaceName, uint32_t* status);
