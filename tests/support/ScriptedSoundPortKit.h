#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/AudioCardManager.h"
#include "platform/soundport/ISoundPortKit.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSQuilletTest {

namespace NSScriptedSoundPortKit {

using namespace NSSoundPortKit2;
using NSQuillet::CAudioCardManager;

// A library with scripted devices: "Card (hw:0,0)" exclusive, "Server" shared, "Busy" that
// never opens; its devices take 44100 and 48000 Hz only. A device block is the device's name; a
// block beginning with '!' cannot be read. The test decides when a running stream dies.
class CScriptedKit final : public ISoundPortKit {
public:
    class CDriver final : public IDriver {
    public:
        CDriver(CScriptedKit& kit, SDeviceInfo device, SDriverSettings settings)
            : fKit(kit), fDevice(std::move(device)), fSettings(settings) {}
        const SDeviceInfo& GetDevice() const override { return fDevice; }
        SDriverSettings GetSettings() const override { return fSettings; }
        uint32_t Start(IRenderer*) override {
            if (fDevice.fName == "Busy") return kSoundPortKitDeviceUnavailable;
            fState = EDriverState::kRunning;
            return kSoundPortKitSuccess;
        }
        uint32_t ApplySettings(const SDriverSettings& settings) override {
            if (settings.fRate != 44100 && settings.fRate != 48000) return kSoundPortKitSettingsRefused;
            fSettings = settings;
            return kSoundPortKitSuccess;
        }
        void Stop() override { fState = EDriverState::kStopped; }
        void Release() override {
            ++fKit.fReleases;
            fState = EDriverState::kReleased;
        }
        uint32_t Retake() override {
            ++fKit.fRetakes;
            fState = EDriverState::kRunning;
            return kSoundPortKitSuccess;
        }
        EDriverState GetState() const override { return fKit.fStreamDied ? EDriverState::kFailed : fState; }
        uint32_t GetOutputRate() const override { return fSettings.fRate; }
        double GetOutputLatencyMs() const override { return 0.0; }
        SDriverStatistics GetStatistics() const override { return {}; }
        uint32_t WriteBlob(std::vector<uint8_t>* blob) const override {
            blob->assign(fDevice.fName.begin(), fDevice.fName.end());
            return kSoundPortKitSuccess;
        }
        uint32_t GetClockSources(std::vector<std::string>*) const override { return kSoundPortKitUnavailable; }
        uint32_t OpenControlPanel() override { return kSoundPortKitUnavailable; }
        void Destroy() override { delete this; }

    private:
        CScriptedKit& fKit;
        SDeviceInfo fDevice;
        SDriverSettings fSettings;
        EDriverState fState = EDriverState::kStopped;
    };

    CScriptedKit() {
        fDevices = {Device("Card (hw:0,0)", true, true), Device("Server", false, false), Device("Busy", false, false)};
    }
    static SDeviceInfo Device(const char* name, bool exclusive, bool isDefault) {
        SDeviceInfo device;
        device.fHostApi = "ALSA";
        device.fName = name;
        device.fOutputChannels = 2;
        device.fDefaultRate = 48000;
        device.fIsExclusive = exclusive;
        device.fIsDefault = isDefault;
        return device;
    }
    uint32_t Rescan() override { return kSoundPortKitSuccess; }
    uint32_t GetHostApis(std::vector<SHostApiInfo>* apis) override {
        apis->assign(1, SHostApiInfo{"ALSA", 3, false, false});
        return kSoundPortKitSuccess;
    }
    uint32_t GetDevices(std::vector<SDeviceInfo>* devices) override {
        *devices = fDevices;
        return kSoundPortKitSuccess;
    }
    uint32_t GetSupportedRates(const std::string&, const std::string&, int32_t, std::vector<uint32_t>* rates) override {
        *rates = {44100, 48000};
        return kSoundPortKitSuccess;
    }
    IDriver* CreateDriver(const std::string& hostApi, const std::string& name, const SDriverSettings& settings,
                          uint32_t* status) override {
        for (const SDeviceInfo& device : fDevices) {
            if (device.fHostApi == hostApi && device.fName == name) {
                *status = kSoundPortKitSuccess;
                return new CDriver(*this, device, settings);
            }
        }
        *status = kSoundPortKitNoSuchDevice;
        return nullptr;
    }
    IDriver* CreateDefaultDriver(const SDriverSettings& settings, uint32_t* status) override {
        return CreateDriver("ALSA", "Card (hw:0,0)", settings, status);
    }
    IDriver* CreateNullOutput(const SDriverSettings&, const SNullOutputOptions&, uint32_t* status) override {
        *status = kSoundPortKitDeviceUnavailable;
        return nullptr;
    }
    IDriver* CreateDriverFromBlob(const uint8_t* bytes, size_t size, std::string* missing, uint32_t* status) override {
        const std::string name(reinterpret_cast<const char*>(bytes), size);
        if (!name.empty() && name[0] == '!') {
            *status = kSoundPortKitBadBlob;
            return nullptr;
        }
        IDriver* driver = CreateDriver("ALSA", name, CAudioCardManager::GetStandardSettings(2), status);
        if (!driver && missing) *missing = name;
        return driver;
    }
    uint32_t GetBlobVersion() const override { return 1; }
    const char* GetLastErrorText() const override { return ""; }

    std::vector<SDeviceInfo> fDevices;
    bool fStreamDied = false;
    int fReleases = 0;
    int fRetakes = 0;
};

}  // namespace NSScriptedSoundPortKit

using NSScriptedSoundPortKit::CScriptedKit;

}  // namespace NSQuilletTest
