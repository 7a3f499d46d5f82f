#pragma once

#include "platform/soundport/ISoundPortKit.h"
#include "platform/soundport/PortAudioHost.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// The library: PortAudio's host APIs and devices, and the built-in Null Output.
class CSoundPortKit final : public ISoundPortKit {
public:
    uint32_t Rescan() override;
    uint32_t GetHostApis(std::vector<SHostApiInfo>* hostApis) override;
    uint32_t GetDevices(std::vector<SDeviceInfo>* devices) override;
    uint32_t GetSupportedRates(const std::string& hostApi, const std::string& device, int32_t channels,
                               std::vector<uint32_t>* rates) override;
    IDriver* CreateDriver(const std::string& hostApi, const std::string& device, const SDriverSettings& settings,
                          uint32_t* status) override;
    IDriver* CreateDefaultDriver(const SDriverSettings& settings, uint32_t* status) override;
    IDriver* CreateNullOutput(const SDriverSettings& settings, const SNullOutputOptions& options,
                              uint32_t* status) override;
    IDriver* CreateDriverFromBlob(const uint8_t* bytes, size_t size, std::string* missingDevice,
                                  uint32_t* status) override;
    uint32_t GetBlobVersion() const override;
    const char* GetLastErrorText() const override;

private:
    bool HasCard();

    CPortAudioHost fHost;
};

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
