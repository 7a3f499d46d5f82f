#include "platform/soundport/PortAudioHost.h"

#include <portaudio.h>

#include <algorithm>

#include "platform/soundport/JackServer.h"
#include "platform/soundport/QuietHostDiagnostics.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

namespace {

thread_local std::string tLastErrorText;

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// ALSA's hw and plughw devices belong to one program at a time; its plug-ins (default, pulse,
// dmix, ...) and JACK are shared by a server. PortAudio names a card's devices "… (hw:0,0)".
bool IsExclusive(PaHostApiTypeId type, const std::string& name) {
    if (type == paOSS) return true;
    if (type != paALSA) return false;
    return StartsWith(name, "hw:") || StartsWith(name, "plughw:") || name.find("(hw:") != std::string::npos ||
           name.find("(plughw:") != std::string::npos;
}

}  // namespace

CPortAudioHost::~CPortAudioHost() {
    if (fStarted) Pa_Terminate();
}

uint32_t CPortAudioHost::EnsureStarted() {
    if (fStarted) return kSoundPortKitSuccess;
    if (fStartFailed) return kSoundPortKitHostFailure;
    QuietHostDiagnostics();
    const PaError error = Pa_Initialize();
    if (error != paNoError) {
        fStartFailed = true;
        TranslateError(error);
        return kSoundPortKitHostFailure;
    }
    fStarted = true;
    ReadDevices();
    return kSoundPortKitSuccess;
}

uint32_t CPortAudioHost::Rescan() {
    if (fOpenStreams > 0) return kSoundPortKitStreamOpen;
    if (fStarted) Pa_Terminate();
    fStarted = false;
    fStartFailed = false;
    fHostApis.clear();
    fDevices.clear();
    fDeviceIndices.clear();
    fProbedRates.clear();
    return EnsureStarted();
}

void CPortAudioHost::ReadDevices() {
    const PaDeviceIndex defaultOutput = Pa_GetDefaultOutputDevice();
    const PaHostApiIndex apiCount = Pa_GetHostApiCount();
    for (PaHostApiIndex api = 0; api < apiCount; ++api) {
        const PaHostApiInfo* apiInfo = Pa_GetHostApiInfo(api);
        if (!apiInfo) continue;
        // A JACK server runs every client at its own rate and buffer size: PortAudio refuses
        // other rates and would only re-block other buffer sizes.
        uint32_t serverRate = 0;
        int32_t serverBuffer = 0;
        if (apiInfo->type == paJACK && ReadJackServerSettings(&serverRate, &serverBuffer))
            serverBuffer = std::clamp(serverBuffer, kMinimumBufferFrames, kMaximumBufferFrames);
        SHostApiInfo host;
        host.fName = apiInfo->name;
        for (int i = 0; i < apiInfo->deviceCount; ++i) {
            const PaDeviceIndex index = Pa_HostApiDeviceIndexToDeviceIndex(api, i);
            const PaDeviceInfo* info = index >= 0 ? Pa_GetDeviceInfo(index) : nullptr;
            if (!info || info->maxOutputChannels <= 0) continue;
            SDeviceInfo device;
            device.fHostApi = host.fName;
            device.fName = info->name;
            device.fOutputChannels = std::min(info->maxOutputChannels, kMaximumChannels);
            device.fDefaultRate = uint32_t(info->defaultSampleRate + 0.5);
            device.fDefaultLatencyMs = info->defaultLowOutputLatency * 1000.0;
            device.fIsDefault = index == defaultOutput;
            device.fIsExclusive = IsExclusive(apiInfo->type, device.fName);
            device.fFixedRate = serverRate;
            device.fFixedBufferFrames = serverBuffer;
            fDevices.push_back(device);
            fDeviceIndices.push_back(index);
            ++host.fDeviceCount;
        }
        if (host.fDeviceCount > 0) fHostApis.push_back(host);
    }
}

int CPortAudioHost::FindDevice(const std::string& hostApi, const std::string& name) const {
    for (size_t i = 0; i < fDevices.size(); ++i) {
        if (fDevices[i].fHostApi == hostApi && fDevices[i].fName == name) return fDeviceIndices[i];
    }
    return paNoDevice;
}

const SDeviceInfo* CPortAudioHost::GetDefaultDevice() const {
    for (const SDeviceInfo& device : fDevices) {
        if (device.fIsDefault) return &device;
    }
    return nullptr;
}

uint32_t CPortAudioHost::GetSupportedRates(int device, int32_t channels, std::vector<uint32_t>* rates) {
    rates->clear();
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (!info) return kSoundPortKitNoSuchDevice;
    for (size_t i = 0; i < fDeviceIndices.size(); ++i) {
        if (fDeviceIndices[i] != device || fDevices[i].fFixedRate == 0) continue;
        rates->assign(1, fDevices[i].fFixedRate);
        return kSoundPortKitSuccess;
    }
    for (const SProbedRates& probed : fProbedRates) {
        if (probed.fDevice != device || probed.fChannels != channels) continue;
        *rates = probed.fRates;
        return kSoundPortKitSuccess;
    }
    PaStreamParameters output{};
    output.device = device;
    output.channelCount = std::max(1, std::min(channels, info->maxOutputChannels));
    output.sampleFormat = paFloat32 | paNonInterleaved;
    output.suggestedLatency = info->defaultLowOutputLatency;
    for (uint32_t rate : kStandardRates) {
        if (Pa_IsFormatSupported(nullptr, &output, double(rate)) == paFormatIsSupported) rates->push_back(rate);
    }
    // A device busy at the moment refuses every rate: asked again next time.
    if (!rates->empty()) fProbedRates.push_back({device, channels, *rates});
    return kSoundPortKitSuccess;
}

uint32_t CPortAudioHost::TranslateError(int error) {
    tLastErrorText = Pa_GetErrorText(error);
    if (error == paUnanticipatedHostError) {
        const PaHostErrorInfo* host = Pa_GetLastHostErrorInfo();
        if (host && host->errorText && host->errorText[0]) tLastErrorText += std::string(": ") + host->errorText;
    }
    switch (error) {
        case paNoError: return kSoundPortKitSuccess;
        case paInvalidDevice: return kSoundPortKitNoSuchDevice;
        case paInvalidSampleRate:
        case paInvalidChannelCount:
        case paSampleFormatNotSupported:
        case paBadIODeviceCombination:
        case paBufferTooBig:
        case paBufferTooSmall: return kSoundPortKitSettingsRefused;
        case paInsufficientMemory: return kSoundPortKitOutOfMemory;
        case paNotInitialized:
        case paHostApiNotFound:
        case paInvalidHostApi: return kSoundPortKitHostFailure;
        default: return kSoundPortKitDeviceUnavailable;
    }
}

const char* CPortAudioHost::GetLastErrorText() { return tLastErrorText.c_str(); }

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
