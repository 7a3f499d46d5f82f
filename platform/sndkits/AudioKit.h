#pragma once

#include <cstdint>

#include "platform/sndkits/IAudioKit.h"

// The libraries' entry points. "IAudioKit" gives the process-wide library object (never delete
// it); any other name gives null and kSoundKitUnknownInterface, a null name null and
// kSoundKitBadArgument. `status` must not be null. Any thread.
NSSoundKits::IAudioKit* RiffAudioKit_Create(const char* interfaceName, uint32_t* status);
NSSoundKits::IAudioKit* AppleAudioKit_Create(const char* interfaceName, uint32_t* status);
