#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/soundport/DeviceInfo.h"
#include "platform/soundport/IDriver.h"

namespace NSSoundPortKit2 {

// The audio-card library: the host APIs and output devices of the machine, drivers for them,
// and the device block that re-creates a chosen driver. Process-wide, never deleted.
// User-interface thread; calls may take a while (a host probes its devices) but never hang.
// `status` must not be null; on failure the result is null.
class ISoundPortKit {
public:
    // Reads the device list anew, so that cards plugged in or removed since are seen; only
    // while no stream of a host API is open (else kSoundPortKitStreamOpen, the list kept).
    // The Null Output's streams do not count.
    virtual uint32_t Rescan() = 0;
    // The host APIs with output devices, the built-in one (the Null Output's) last.
    virtual uint32_t GetHostApis(std::vector<SHostApiInfo>* hostApis) = 0;
    // Every output device, the Null Output last; exactly one is marked default.
    virtual uint32_t GetDevices(std::vector<SDeviceInfo>* devices) = 0;
    // Those of the standard rates (kStandardRates) the device accepts with `channels` channels,
    // probed before a driver for it is created and kept until the next rescan, so that a
    // device held by its own stream still answers; a server's device (fFixedRate) gives its
    // one rate.
    virtual uint32_t GetSupportedRates(const std::string& hostApi, const std::string& device, int32_t channels,
                                       std::vector<uint32_t>* rates) = 0;

    // A stopped driver for the device; the Null Output (built-in host API) gets
    // SNullOutputOptions::FromEnvironment(). Settings out of range are kSoundPortKitBadArgument;
    // more channels than the device has, or another rate or buffer size than a server's own,
    // kSoundPortKitSettingsRefused.
    virtual IDriver* CreateDriver(const std::string& hostApi, const std::string& device,
                                  const SDriverSettings& settings, uint32_t* status) = 0;
    // The default device with `settings`, the Null Output when the machine has no card.
    virtual IDriver* CreateDefaultDriver(const SDriverSettings& settings, uint32_t* status) = 0;
    virtual IDriver* CreateNullOutput(const SDriverSettings& settings, const SNullOutputOptions& options,
                                      uint32_t* status) = 0;
    // A stopped driver from a block that IDriver::WriteBlob wrote: a block of another version
    // is kSoundPortKitIncompatibleBlob, one that cannot be read kSoundPortKitBadBlob, one whose
    // device is absent kSoundPortKitNoSuchDevice (with the device's name in *missingDevice
    // when not null).
    virtual IDriver* CreateDriverFromBlob(const uint8_t* bytes, size_t size, std::string* missingDevice,
                                          uint32_t* status) = 0;
    // The version written into device blocks.
    virtual uint32_t GetBlobVersion() const = 0;

    // The host's text for the calling thread's last failure, "" if none.
    virtual const char* GetLastErrorText() const = 0;

protected:
    ~ISoundPortKit() = default;
};

}  // namespace NSSoundPortKit2
