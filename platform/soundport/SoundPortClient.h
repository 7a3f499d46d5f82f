#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/soundport/ISoundPortKit.h"

namespace NSSoundPortKitUtils {

// The failure property that names the audio device a failure concerns.
inline constexpr const char* kProperty_AudioDeviceName = "audio_device_name";

// The program's client of the audio-card library: the current driver, running into one
// renderer, with the library's statuses turned into failures aimed at "audio_driver" that
// name the device in kProperty_AudioDeviceName:
// - XOpen: the device could not be opened (busy, gone, refused by its host);
// - XNotFound: no such device (also from a block whose device is absent, then with the
//   message "couldn't recreate driver from blob");
// - XUnsupportedFormat: the device refuses the rate, buffer size or channels; or a block of
//   another version, "incompatible driver spec version";
// - XFormatViolation: a block that cannot be read, "couldn't recreate driver from blob";
// - XCreate (target "file"): the Null Output's recording file could not be created.
// User-interface thread.
class CClient {
public:
    // `kit` null: the process-wide library. Neither is owned.
    explicit CClient(NSSoundPortKit2::IRenderer& renderer, NSSoundPortKit2::ISoundPortKit* kit = nullptr);
    ~CClient();
    CClient(const CClient&) = delete;
    CClient& operator=(const CClient&) = delete;

    NSSoundPortKit2::ISoundPortKit& GetKit() { return fKit; }

    std::vector<NSSoundPortKit2::SHostApiInfo> GetHostApis();
    // Reads the machine's devices anew first when no stream of a host API is open.
    std::vector<NSSoundPortKit2::SDeviceInfo> GetDevices();
    // Reads the machine's devices anew in any case: an open card's stream, which keeps the
    // host from that, is closed for it and its device opened again with the same settings
    // (on failure no driver is open).
    std::vector<NSSoundPortKit2::SDeviceInfo> RescanDevices();
    std::vector<uint32_t> GetSupportedRates(const NSSoundPortKit2::SDeviceInfo& device);

    // Each closes the current driver, then creates the new one and starts it. On failure no
    // driver is open.
    void OpenDefault(const NSSoundPortKit2::SDriverSettings& settings);
    void Open(const std::string& hostApi, const std::string& device, const NSSoundPortKit2::SDriverSettings& settings);
    void OpenNullOutput(const NSSoundPortKit2::SDriverSettings& settings, const NSSoundPortKit2::SNullOutputOptions& options);
    void OpenFromBlob(const std::vector<uint8_t>& blob);
    void Close();

    bool IsOpen() const { return fDriver != nullptr; }
    // The following need an open driver (else XIllegalCallSequence).
    const NSSoundPortKit2::SDeviceInfo& GetDevice() const;
    NSSoundPortKit2::SDriverSettings GetSettings() const;
    // Reopens the stream with new settings; on failure the driver is closed.
    void ApplySettings(const NSSoundPortKit2::SDriverSettings& settings);
    uint32_t GetOutputRate() const;
    double GetOutputLatencyMs() const;
    NSSoundPortKit2::EDriverState GetState() const;
    NSSoundPortKit2::SDriverStatistics GetStatistics() const;
    std::vector<uint8_t> GetBlob() const;
    // The device's clock sources, none where its host API offers none; the index of the one
    // it follows (-1 for none), and another to follow.
    std::vector<std::string> GetClockSources() const;
    int32_t GetClockSource() const;
    void SetClockSource(int32_t index);
    // The host's settings window of the device; returns when it is closed.
    void OpenControlPanel();
    void Release();
    // On failure the driver is closed.
    void Retake();

private:
    const NSSoundPortKit2::IDriver& Driver() const;
    void Start(NSSoundPortKit2::IDriver* driver, uint32_t status, const std::string& deviceName);
    [[noreturn]] void Fail(uint32_t status, const std::string& message, const std::string& deviceName);

    NSSoundPortKit2::IRenderer& fRenderer;
    NSSoundPortKit2::ISoundPortKit& fKit;
    NSSoundPortKit2::IDriver* fDriver = nullptr;
};

}  // namespace NSSoundPortKitUtils
