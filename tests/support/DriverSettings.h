#pragma once

#include <cstdint>

#include "platform/soundport/DeviceInfo.h"

namespace NSQuilletTest {

inline NSSoundPortKit2::SDriverSettings DriverSettings(uint32_t rate, int32_t buffer, uint64_t channels = 0x3) {
    NSSoundPortKit2::SDriverSettings settings;
    settings.fRate = rate;
    settings.fBufferFrames = buffer;
    settings.fActiveChannels = channels;
    return settings;
}

// The Null Output without waiting between callbacks; a non-zero seed gives random sizes.
inline NSSoundPortKit2::SNullOutputOptions FreeRunning(uint32_t seed = 0) {
    NSSoundPortKit2::SNullOutputOptions options;
    options.fFreeRunning = true;
    options.fRandomSizeSeed = seed;
    return options;
}

}  // namespace NSQuilletTest
