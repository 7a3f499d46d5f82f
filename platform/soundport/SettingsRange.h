#pragma once

#include <cstdint>

#include "platform/soundport/DeviceInfo.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

constexpr uint32_t kMinimumRate = 8000;
constexpr uint32_t kMaximumRate = 384000;

constexpr bool AreSettingsInRange(const SDriverSettings& settings) {
    return settings.fRate >= kMinimumRate && settings.fRate <= kMaximumRate &&
           settings.fBufferFrames >= kMinimumBufferFrames && settings.fBufferFrames <= kMaximumBufferFrames &&
           settings.fActiveChannels != 0;
}

// Channels a stream opens for `activeChannels`: up to the highest active one.
constexpr int32_t OpenChannelCount(uint64_t activeChannels) {
    int32_t count = 0;
    for (int32_t channel = 0; channel < kMaximumChannels; ++channel) {
        if ((activeChannels >> channel) & 1u) count = channel + 1;
    }
    return count;
}

// kSoundPortKitBadArgument for settings out of range; kSoundPortKitSettingsRefused for more
// channels than the device has, or another rate or buffer size than a server's own.
constexpr uint32_t CheckSettingsForDevice(const SDeviceInfo& device, const SDriverSettings& settings) {
    if (!AreSettingsInRange(settings)) return kSoundPortKitBadArgument;
    if (OpenChannelCount(settings.fActiveChannels) > device.fOutputChannels) return kSoundPortKitSettingsRefused;
    if (device.fFixedRate != 0 && settings.fRate != device.fFixedRate) return kSoundPortKitSettingsRefused;
    if (device.fFixedBufferFrames != 0 && settings.fBufferFrames != device.fFixedBufferFrames)
        return kSoundPortKitSettingsRefused;
    return kSoundPortKitSuccess;
}

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
