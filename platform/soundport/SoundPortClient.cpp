#include "platform/soundport/SoundPortClient.h"

#include "foundation/Mishap.h"
#include "platform/soundport/SoundPortKit.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSSoundPortKitUtils {

using namespace NSSoundPortKit2;

namespace {

ISoundPortKit& ProcessKit() {
    uint32_t status = kSoundPortKitSuccess;
    ISoundPortKit* kit = SoundPortKit_Create("ISoundPortKit", &status);
    CheckSoundPortKitStatus(status, "create the audio-card library");
    return *kit;
}

std::string MessageFor(uint32_t status, const std::string& deviceName, const char* hostText) {
    std::string message;
    switch (status) {
        case kSoundPortKitIncompatibleBlob: return "incompatible driver spec version";
        case kSoundPortKitBadBlob: return "couldn't recreate driver from blob";
        case kSoundPortKitNoSuchDevice: message = "no audio device"; break;
        case kSoundPortKitSettingsRefused: message = "audio device refuses the settings"; break;
        case kSoundPortKitRecordingFailed: message = "cannot create the recording file of"; break;
        case kSoundPortKitDriverStopped: message = "audio driver stopped"; break;
        default: message = "cannot open audio device"; break;
    }
    message += " \"" + deviceName + "\"";
    if (hostText && hostText[0]) message += std::string(": ") + hostText;
    return message;
}

}  // namespace

CClient::CClient(IRenderer& renderer, ISoundPortKit* kit) : fRenderer(renderer), fKit(kit ? *kit : ProcessKit()) {}

CClient::~CClient() { Close(); }

std::vector<SHostApiInfo> CClient::GetHostApis() {
    std::vector<SHostApiInfo> hostApis;
    CheckSoundPortKitStatus(fKit.GetHostApis(&hostApis), "list the audio host APIs");
    return hostApis;
}

std::vector<SDeviceInfo> CClient::GetDevices() {
    // A stream is open: the list read before stays.
    fKit.Rescan();
    std::vector<SDeviceInfo> devices;
    CheckSoundPortKitStatus(fKit.GetDevices(&devices), "list the audio devices");
    return devices;
}

std::vector<SDeviceInfo> CClient::RescanDevices() {
    if (fKit.Rescan() == kSoundPortKitStreamOpen && fDriver && !fDriver->GetDevice().fIsNullOutput) {
        const SDeviceInfo device = fDriver->GetDevice();
        const SDriverSettings settings = fDriver->GetSettings();
        Close();
        // Another client's stream may still stand in the way: the list read before stays.
        fKit.Rescan();
        Open(device.fHostApi, device.fName, settings);
    }
    std::vector<SDeviceInfo> devices;
    CheckSoundPortKitStatus(fKit.GetDevices(&devices), "list the audio devices");
    return devices;
}

std::vector<uint32_t> CClient::GetSupportedRates(const SDeviceInfo& device) {
    std::vector<uint32_t> rates;
    const uint32_t status = fKit.GetSupportedRates(device.fHostApi, device.fName, device.fOutputChannels, &rates);
    if (status != kSoundPortKitSuccess) Fail(status, MessageFor(status, device.fName, fKit.GetLastErrorText()), device.fName);
    return rates;
}

void CClient::OpenDefault(const SDriverSettings& settings) {
    Close();
    uint32_t status = kSoundPortKitSuccess;
    IDriver* driver = fKit.CreateDefaultDriver(settings, &status);
    Start(driver, status, driver ? driver->GetDevice().fName : std::string("default"));
}

void CClient::Open(const std::string& hostApi, const std::string& device, const SDriverSettings& settings) {
    Close();
    uint32_t status = kSoundPortKitSuccess;
    IDriver* driver = fKit.CreateDriver(hostApi, device, settings, &status);
    Start(driver, status, device);
}

void CClient::OpenNullOutput(const SDriverSettings& settings, const SNullOutputOptions& options) {
    Close();
    uint32_t status = kSoundPortKitSuccess;
    IDriver* driver = fKit.CreateNullOutput(settings, options, &status);
    Start(driver, status, kNullOutputName);
}

void CClient::OpenFromBlob(const std::vector<uint8_t>& blob) {
    Close();
    uint32_t status = kSoundPortKitSuccess;
    std::string missing;
    IDriver* driver = fKit.CreateDriverFromBlob(blob.data(), blob.size(), &missing, &status);
    if (status == kSoundPortKitNoSuchDevice) Fail(status, "couldn't recreate driver from blob", missing);
    Start(driver, status, driver ? driver->GetDevice().fName : std::string());
}

void CClient::Start(IDriver* driver, uint32_t status, const std::string& deviceName) {
    if (status != kSoundPortKitSuccess || !driver) {
        Fail(status == kSoundPortKitSuccess ? kSoundPortKitOutOfMemory : status,
             MessageFor(status, deviceName, fKit.GetLastErrorText()), deviceName);
    }
    status = driver->Start(&fRenderer);
    if (status != kSoundPortKitSuccess) {
        driver->Destroy();
        Fail(status, MessageFor(status, deviceName, fKit.GetLastErrorText()), deviceName);
    }
    fDriver = driver;
}

void CClient::Close() {
    if (!fDriver) return;
    IDriver* driver = fDriver;
    fDriver = nullptr;
    driver->Destroy();
}

const IDriver& CClient::Driver() const {
    if (!fDriver) throw NSMishap::XIllegalCallSequence("no audio device is open");
    return *fDriver;
}

const SDeviceInfo& CClient::GetDevice() const { return Driver().GetDevice(); }
SDriverSettings CClient::GetSettings() const { return Driver().GetSettings(); }
uint32_t CClient::GetOutputRate() const { return Driver().GetOutputRate(); }
double CClient::GetOutputLatencyMs() const { return Driver().GetOutputLatencyMs(); }
EDriverState CClient::GetState() const { return Driver().GetState(); }
SDriverStatistics CClient::GetStatistics() const { return Driver().GetStatistics(); }

std::vector<uint8_t> CClient::GetBlob() const {
    std::vector<uint8_t> blob;
    CheckSoundPortKitStatus(Driver().WriteBlob(&blob), "write the audio device block");
    return blob;
}

void CClient::ApplySettings(const SDriverSettings& settings) {
    Driver();
    const std::string name = fDriver->GetDevice().fName;
    const uint32_t status = fDriver->ApplySettings(settings);
    if (status == kSoundPortKitSuccess) return;
    if (status != kSoundPortKitBadArgument) Close();
    Fail(status, MessageFor(status, name, fKit.GetLastErrorText()), name);
}

std::vector<std::string> CClient::GetClockSources() const {
    std::vector<std::string> sources;
    const uint32_t status = Driver().GetClockSources(&sources);
    if (status == kSoundPortKitUnavailable) return {};
    CheckSoundPortKitStatus(status, "list the clock sources of \"" + fDriver->GetDevice().fName + "\"");
    return sources;
}

int32_t CClient::GetClockSource() const {
    int32_t index = -1;
    const uint32_t status = Driver().GetClockSource(&index);
    if (status == kSoundPortKitUnavailable) return -1;
    CheckSoundPortKitStatus(status, "read the clock source of \"" + fDriver->GetDevice().fName + "\"");
    return index;
}

void CClient::SetClockSource(int32_t index) {
    Driver();
    const std::string name = fDriver->GetDevice().fName;
    const uint32_t status = fDriver->SetClockSource(index);
    if (status != kSoundPortKitSuccess) Fail(status, MessageFor(status, name, fKit.GetLastErrorText()), name);
}

void CClient::OpenControlPanel() {
    Driver();
    const std::string name = fDriver->GetDevice().fName;
    const uint32_t status = fDriver->OpenControlPanel();
    if (status != kSoundPortKitSuccess) Fail(status, MessageFor(status, name, fKit.GetLastErrorText()), name);
}

void CClient::Release() {
    Driver();
    fDriver->Release();
}

void CClient::Retake() {
    Driver();
    const std::string name = fDriver->GetDevice().fName;
    const uint32_t status = fDriver->Retake();
    if (status == kSoundPortKitSuccess) return;
    Close();
    Fail(status, MessageFor(status, name, fKit.GetLastErrorText()), name);
}

void CClient::Fail(uint32_t status, const std::string& message, const std::string& deviceName) {
    try {
        CheckSoundPortKitStatus(status, message);
    } catch (const NSMishap::NSMishapDetails::CExceptionBodyRefMixin& failure) {
        failure.AddProperty(kProperty_AudioDeviceName, deviceName);
        throw;
    }
    throw NSMishap::XIllegalCallSequence("audio failure without a status");
}

}  // namespace NSSoundPortKitUtils
