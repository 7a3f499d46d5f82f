#include "platform/soundport/SoundPortKitLibrary.h"

#include <new>

#include "platform/soundport/DriverBlob.h"
#include "platform/soundport/NullOutputDriver.h"
#include "platform/soundport/PortAudioDriver.h"
#include "platform/soundport/SettingsRange.h"
#include "platform/soundport/SoundPortKit.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

namespace {

bool IsNullOutput(const std::string& hostApi, const std::string& device) {
    return hostApi == kBuiltInHostApiName && device == kNullOutputName;
}

template <class TResult>
TResult* Fail(uint32_t* status, uint32_t failure) {
    *status = failure;
    return nullptr;
}

}  // namespace

uint32_t CSoundPortKit::Rescan() { return fHost.Rescan(); }

bool CSoundPortKit::HasCard() { return fHost.EnsureStarted() == kSoundPortKitSuccess && fHost.GetDefaultDevice(); }

uint32_t CSoundPortKit::GetHostApis(std::vector<SHostApiInfo>* hostApis) {
    if (!hostApis) return kSoundPortKitBadArgument;
    fHost.EnsureStarted();
    *hostApis = fHost.GetHostApis();
    SHostApiInfo builtIn;
    builtIn.fName = kBuiltInHostApiName;
    builtIn.fDeviceCount = 1;
    hostApis->push_back(builtIn);
    return kSoundPortKitSuccess;
}

uint32_t CSoundPortKit::GetDevices(std::vector<SDeviceInfo>* devices) {
    if (!devices) return kSoundPortKitBadArgument;
    const bool card = HasCard();
    *devices = fHost.GetDevices();
    devices->push_back(CNullOutputDriver::MakeDevice(!card));
    return kSoundPortKitSuccess;
}

uint32_t CSoundPortKit::GetSupportedRates(const std::string& hostApi, const std::string& device, int32_t channels,
                                          std::vector<uint32_t>* rates) {
    if (!rates) return kSoundPortKitBadArgument;
    if (IsNullOutput(hostApi, device)) {
        rates->assign(std::begin(kStandardRates), std::end(kStandardRates));
        return kSoundPortKitSuccess;
    }
    const uint32_t started = fHost.EnsureStarted();
    if (started != kSoundPortKitSuccess) return started;
    const int index = fHost.FindDevice(hostApi, device);
    if (index < 0) return kSoundPortKitNoSuchDevice;
    return fHost.GetSupportedRates(index, channels, rates);
}

IDriver* CSoundPortKit::CreateDriver(const std::string& hostApi, const std::string& device,
                                     const SDriverSettings& settings, uint32_t* status) {
    if (!status) return nullptr;
    if (!AreSettingsInRange(settings)) return Fail<IDriver>(status, kSoundPortKitBadArgument);
    if (IsNullOutput(hostApi, device)) return CreateNullOutput(settings, SNullOutputOptions::FromEnvironment(), status);
    const uint32_t started = fHost.EnsureStarted();
    if (started != kSoundPortKitSuccess) return Fail<IDriver>(status, kSoundPortKitNoSuchDevice);
    for (const SDeviceInfo& info : fHost.GetDevices()) {
        if (info.fHostApi != hostApi || info.fName != device) continue;
        const uint32_t accepted = CheckSettingsForDevice(info, settings);
        if (accepted != kSoundPortKitSuccess) return Fail<IDriver>(status, accepted);
        // Probed now, while no stream of this driver holds the device.
        std::vector<uint32_t> rates;
        fHost.GetSupportedRates(fHost.FindDevice(hostApi, device), info.fOutputChannels, &rates);
        IDriver* driver = new (std::nothrow) CPortAudioDriver(fHost, info, settings);
        *status = driver ? kSoundPortKitSuccess : kSoundPortKitOutOfMemory;
        return driver;
    }
    return Fail<IDriver>(status, kSoundPortKitNoSuchDevice);
}

IDriver* CSoundPortKit::CreateDefaultDriver(const SDriverSettings& settings, uint32_t* status) {
    if (!status) return nullptr;
    if (HasCard()) {
        const SDeviceInfo* device = fHost.GetDefaultDevice();
        return CreateDriver(device->fHostApi, device->fName, settings, status);
    }
    return CreateNullOutput(settings, SNullOutputOptions::FromEnvironment(), status);
}

IDriver* CSoundPortKit::CreateNullOutput(const SDriverSettings& settings, const SNullOutputOptions& options,
                                         uint32_t* status) {
    if (!status) return nullptr;
    if (!AreSettingsInRange(settings)) return Fail<IDriver>(status, kSoundPortKitBadArgument);
    const SDeviceInfo device = CNullOutputDriver::MakeDevice(false);
    if (OpenChannelCount(settings.fActiveChannels) > device.fOutputChannels)
        return Fail<IDriver>(status, kSoundPortKitSettingsRefused);
    IDriver* driver = new (std::nothrow) CNullOutputDriver(device, settings, options);
    *status = driver ? kSoundPortKitSuccess : kSoundPortKitOutOfMemory;
    return driver;
}

IDriver* CSoundPortKit::CreateDriverFromBlob(const uint8_t* bytes, size_t size, std::string* missingDevice,
                                             uint32_t* status) {
    if (!status) return nullptr;
    SDriverBlob blob;
    const uint32_t read = ReadDriverBlob(bytes, size, &blob);
    if (read != kSoundPortKitSuccess) return Fail<IDriver>(status, read);
    IDriver* driver = CreateDriver(blob.fHostApi, blob.fDevice, blob.fSettings, status);
    if (*status == kSoundPortKitNoSuchDevice && missingDevice) *missingDevice = blob.fDevice;
    return driver;
}

uint32_t CSoundPortKit::GetBlobVersion() const { return kDriverBlobVersion; }

const char* CSoundPortKit::GetLastErrorText() const { return CPortAudioHost::GetLastErrorText(); }

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails

NSSoundPortKit2::ISoundPortKit* SoundPortKit_Create(const char* interfaceName, uint32_t* status) {
    using namespace NSSoundPortKit2;
    if (!status) return nullptr;
    if (!interfaceName) {
        *status = kSoundPortKitBadArgument;
        return nullptr;
    }
    if (std::string(interfaceName) != "ISoundPortKit") {
        *status = kSoundPortKitUnknownInterface;
        return nullptr;
    }
    // Never destroyed: a driver may still run while the process exits.
    static NSSoundPortKitDetails::CSoundPortKit* const library = new NSSoundPortKitDetails::CSoundPortKit;
    *status = kSoundPortKitSuccess;
    return library;
}
