#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/soundport/DeviceInfo.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// The device block: magic "SPKB", u32 version, u16 length and bytes of the host API name,
// u16 length and bytes of the device name, u32 rate, u32 buffer frames, u64 active-channel
// mask; big-endian, nothing after it.
constexpr uint32_t kDriverBlobVersion = 1;

struct SDriverBlob {
    std::string fHostApi;
    std::string fDevice;
    SDriverSettings fSettings;
};

std::vector<uint8_t> WriteDriverBlob(const SDriverBlob& blob);

// kSoundPortKitIncompatibleBlob for another version; kSoundPortKitBadBlob for a wrong magic,
// a length beyond the bytes, an empty name, settings out of range or bytes left over.
uint32_t ReadDriverBlob(const uint8_t* bytes, size_t size, SDriverBlob* blob);

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
