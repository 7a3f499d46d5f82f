#pragma once

#include <algorithm>
#include <iterator>
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
// block beginning with '!' cannot be read. The test decides when a running stream dies. Its
// Null Output cannot be opened until OfferMoreHostApis; no driver calls its renderer: a test
// renders through the manager's renderer itself.
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
            SetRunning(true);
            return kSoundPortKitSuccess;
        }
        uint32_t ApplySettings(const SDriverSettings& settings) override {
            const uint32_t accepted = fKit.Accepts(fDevice, settings);
            if (accepted != kSoundPortKitSuccess) return accepted;
            fSettings = settings;
            return kSoundPortKitSuccess;
        }
        void Stop() override { SetRunning(false); }
        void Release() override {
            ++fKit.fReleases;
            SetRunning(false);
            fState = EDriverState::kReleased;
        }
        uint32_t Retake() override {
            ++fKit.fRetakes;
            SetRunning(true);
            return kSoundPortKitSuccess;
        }
        EDriverState GetState() const override { return fKit.fStreamDied ? EDriverState::kFailed : fState; }
        uint32_t GetOutputRate() const override { return fSettings.fRate; }
        // The host's latency: two buffers.
        double GetOutputLatencyMs() const override { return 2000.0 * fSettings.fBufferFrames / fSettings.fRate; }
        SDriverStatistics GetStatistics() const override { return {}; }
        uint32_t WriteBlob(std::vector<uint8_t>* blob) const override {
            blob->assign(fDevice.fName.begin(), fDevice.fName.end());
            return kSoundPortKitSuccess;
        }
        uint32_t GetClockSources(std::vector<std::string>* sources) const override {
            if (!fKit.HasClockSources(fDevice)) return kSoundPortKitUnavailable;
            *sources = fKit.fClockSources;
            return kSoundPortKitSuccess;
        }
        uint32_t GetClockSource(int32_t* index) const override {
            if (!fKit.HasClockSources(fDevice)) return kSoundPortKitUnavailable;
            *index = fClockSource;
            return kSoundPortKitSuccess;
        }
        uint32_t SetClockSource(int32_t index) override {
            if (!fKit.HasClockSources(fDevice)) return kSoundPortKitUnavailable;
            if (index < 0 || index >= int32_t(fKit.fClockSources.size())) return kSoundPortKitBadArgument;
            fClockSource = index;
            return kSoundPortKitSuccess;
        }
        uint32_t OpenControlPanel() override {
            if (!fKit.HasClockSources(fDevice)) return kSoundPortKitUnavailable;
            ++fKit.fControlPanelOpenings;
            return kSoundPortKitSuccess;
        }
        void Destroy() override {
            SetRunning(false);
            delete this;
        }

    private:
        void SetRunning(bool running) {
            if ((fState == EDriverState::kRunning) != running && !fDevice.fIsNullOutput) fKit.fOpenStreams += running ? 1 : -1;
            fState = running ? EDriverState::kRunning : EDriverState::kStopped;
        }

        CScriptedKit& fKit;
        SDeviceInfo fDevice;
        SDriverSettings fSettings;
        EDriverState fState = EDriverState::kStopped;
        int32_t fClockSource = 0;
    };

    CScriptedKit() {
        fDevices = {Device("Card (hw:0,0)", true, true), Device("Server", false, false), Device("Busy", false, false)};
        fHostApis = {SHostApiInfo{"ALSA", 3, false, false}};
        fMachine = fDevices;
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

    // Adds a JACK server's "system" (4 channels, only 48000 Hz and 256 frames), the "Studio
    // Host" API's "Multichannel Interface" (8 channels, 44100 to 96000 Hz, clock sources and a
    // control panel) and a Null Output that opens (8 channels, the standard rates).
    void OfferMoreHostApis() {
        SDeviceInfo jack = Device("system", false, false);
        jack.fHostApi = "JACK";
        jack.fOutputChannels = 4;
        jack.fFixedRate = 48000;
        jack.fFixedBufferFrames = 256;
        SDeviceInfo studio = Device("Multichannel Interface", true, false);
        studio.fHostApi = "Studio Host";
        studio.fOutputChannels = 8;
        studio.fDefaultRate = 44100;
        SDeviceInfo null = Device(kNullOutputName, true, false);
        null.fHostApi = kBuiltInHostApiName;
        null.fOutputChannels = 8;
        null.fDefaultRate = 44100;
        null.fIsNullOutput = true;
        fDevices.insert(fDevices.end(), {jack, studio, null});
        fMachine = fDevices;
        fHostApis.push_back(SHostApiInfo{"JACK", 1, false, false});
        fHostApis.push_back(SHostApiInfo{"Studio Host", 1, true, true});
        fHostApis.push_back(SHostApiInfo{kBuiltInHostApiName, 1, false, false});
        fNullOutputOpens = true;
    }

    std::vector<uint32_t> RatesOf(const SDeviceInfo& device) const {
        if (device.fFixedRate != 0) return {device.fFixedRate};
        if (device.fIsNullOutput) return std::vector<uint32_t>(std::begin(kStandardRates), std::end(kStandardRates));
        if (device.fHostApi == "Studio Host") return {44100, 48000, 88200, 96000};
        return {44100, 48000};
    }
    uint32_t Accepts(const SDeviceInfo& device, const SDriverSettings& settings) const {
        const std::vector<uint32_t> rates = RatesOf(device);
        if (std::find(rates.begin(), rates.end(), settings.fRate) == rates.end()) return kSoundPortKitSettingsRefused;
        if (device.fFixedBufferFrames != 0 && settings.fBufferFrames != device.fFixedBufferFrames)
            return kSoundPortKitSettingsRefused;
        for (int32_t channel = device.fOutputChannels; channel < 64; ++channel) {
            if ((settings.fActiveChannels >> channel) & 1u) return kSoundPortKitSettingsRefused;
        }
        return kSoundPortKitSuccess;
    }
    bool HasClockSources(const SDeviceInfo& device) const { return device.fHostApi == "Studio Host"; }

    // A successful rescan reads fMachine, the devices plugged in now.
    uint32_t Rescan() override {
        if (fOpenStreams > 0) return kSoundPortKitStreamOpen;
        ++fRescans;
        fDevices = fMachine;
        return kSoundPortKitSuccess;
    }
    uint32_t GetHostApis(std::vector<SHostApiInfo>* apis) override {
        *apis = fHostApis;
        return kSoundPortKitSuccess;
    }
    uint32_t GetDevices(std::vector<SDeviceInfo>* devices) override {
        *devices = fDevices;
        return kSoundPortKitSuccess;
    }
    uint32_t GetSupportedRates(const std::string& hostApi, const std::string& name, int32_t,
                               std::vector<uint32_t>* rates) override {
        for (const SDeviceInfo& device : fDevices) {
            if (device.fHostApi == hostApi && device.fName == name) {
                *rates = RatesOf(device);
                return kSoundPortKitSuccess;
            }
        }
        return kSoundPortKitNoSuchDevice;
    }
    IDriver* CreateDriver(const std::string& hostApi, const std::string& name, const SDriverSettings& settings,
                          uint32_t* status) override {
        for (const SDeviceInfo& device : fDevices) {
            if (device.fHostApi == hostApi && device.fName == name) {
                if (device.fIsNullOutput && !fNullOutputOpens) break;
                if (device.fFixedRate != 0 || device.fIsNullOutput) {
                    *status = Accepts(device, settings);
                    if (*status != kSoundPortKitSuccess) return nullptr;
                }
                *status = kSoundPortKitSuccess;
                return new CDriver(*this, device, settings);
            }
        }
        *status = fNullOutputOpens || hostApi != kBuiltInHostApiName ? kSoundPortKitNoSuchDevice
                                                                     : kSoundPortKitDeviceUnavailable;
        return nullptr;
    }
    IDriver* CreateDefaultDriver(const SDriverSettings& settings, uint32_t* status) override {
        return CreateDriver("ALSA", "Card (hw:0,0)", settings, status);
    }
    IDriver* CreateNullOutput(const SDriverSettings& settings, const SNullOutputOptions&, uint32_t* status) override {
        if (!fNullOutputOpens) {
            *status = kSoundPortKitDeviceUnavailable;
            return nullptr;
        }
        return CreateDriver(kBuiltInHostApiName, kNullOutputName, settings, status);
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
    std::vector<SDeviceInfo> fMachine;
    std::vector<SHostApiInfo> fHostApis;
    std::vector<std::string> fClockSources = {"Internal", "Word Clock", "S/PDIF"};
    bool fNullOutputOpens = false;
    bool fStreamDied = false;
    int fReleases = 0;
    int fRetakes = 0;
    int fRescans = 0;
    int fOpenStreams = 0;
    int fControlPanelOpenings = 0;
};

}  // namespace NSScriptedSoundPortKit

using NSScriptedSoundPortKit::CScriptedKit;

}  // namespace NSQuilletTest
