#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/soundport/DeviceInfo.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// PortAudio, started on first need, with the device list it read at its start. PortAudio
// reads the machine's devices only when it starts, so Rescan stops and starts it again, which
// is only allowed while none of its streams is open. User-interface thread.
class CPortAudioHost {
public:
    CPortAudioHost() = default;
    ~CPortAudioHost();
    CPortAudioHost(const CPortAudioHost&) = delete;
    CPortAudioHost& operator=(const CPortAudioHost&) = delete;

    uint32_t EnsureStarted();
    uint32_t Rescan();

    // Host APIs with at least one output device, in PortAudio's order.
    const std::vector<SHostApiInfo>& GetHostApis() const { return fHostApis; }
    const std::vector<SDeviceInfo>& GetDevices() const { return fDevices; }
    // PortAudio's index of the device, or -1.
    int FindDevice(const std::string& hostApi, const std::string& name) const;
    // The host's default output device, or null.
    const SDeviceInfo* GetDefaultDevice() const;
    // The standard rates the device accepts, probed once until the next rescan: a device whose
    // stream is open (ALSA's hw devices) refuses a probe, so the library probes before opening
    // one. A server's device gives its one rate.
    uint32_t GetSupportedRates(int device, int32_t channels, std::vector<uint32_t>* rates);

    void StreamOpened() { ++fOpenStreams; }
    void StreamClosed() { --fOpenStreams; }

    // The status of a PortAudio error, remembering its text for GetLastErrorText.
    uint32_t TranslateError(int error);
    static const char* GetLastErrorText();

private:
    struct SProbedRates {
        int fDevice = -1;
        int32_t fChannels = 0;
        std::vector<uint32_t> fRates;
    };

    void ReadDevices();

    bool fStarted = false;
    bool fStartFailed = false;
    int fOpenStreams = 0;
    std::vector<SHostApiInfo> fHostApis;
    std::vector<SDeviceInfo> fDevices;
    std::vector<int> fDeviceIndices;
    std::vector<SProbedRates> fProbedRates;
};

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
