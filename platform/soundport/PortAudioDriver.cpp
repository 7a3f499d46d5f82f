#include "platform/soundport/PortAudioDriver.h"

#include <portaudio.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/soundport/DriverBlob.h"
#include "platform/soundport/SettingsRange.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

namespace {

constexpr int64_t kSilentStreamMilliseconds = 2000;

int OnStreamCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                   PaStreamCallbackFlags flags, void* driver) {
    static_cast<CPortAudioDriver*>(driver)->ServeCallback(static_cast<float**>(output), int32_t(frames),
                                                         (flags & paOutputUnderflow) != 0);
    return paContinue;
}

void OnStreamFinished(void* driver) { static_cast<CPortAudioDriver*>(driver)->StreamFinished(); }

int64_t NowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

CPortAudioDriver::CPortAudioDriver(CPortAudioHost& host, const SDeviceInfo& device, const SDriverSettings& settings)
    : fHost(host), fDevice(device), fSettings(settings) {}

uint32_t CPortAudioDriver::Start(IRenderer* renderer) {
    if (!renderer) return kSoundPortKitBadArgument;
    if (fState == EDriverState::kRunning || fState == EDriverState::kReleased) return kSoundPortKitWrongState;
    fRenderer = renderer;
    return OpenStream();
}

uint32_t CPortAudioDriver::ApplySettings(const SDriverSettings& settings) {
    if (!AreSettingsInRange(settings)) return kSoundPortKitBadArgument;
    if (fState != EDriverState::kRunning) {
        const uint32_t accepted = CheckSettingsForDevice(fDevice, settings);
        if (accepted != kSoundPortKitSuccess) return accepted;
        fSettings = settings;
        return kSoundPortKitSuccess;
    }
    const SDriverSettings old = fSettings;
    CloseStream();
    fSettings = settings;
    const uint32_t status = OpenStream();
    if (status != kSoundPortKitSuccess) fSettings = old;
    return status;
}

uint32_t CPortAudioDriver::OpenStream() {
    fState = EDriverState::kStopped;
    const uint32_t accepted = CheckSettingsForDevice(fDevice, fSettings);
    if (accepted != kSoundPortKitSuccess) return accepted;
    const int32_t channels = OpenChannelCount(fSettings.fActiveChannels);
    const int device = fHost.FindDevice(fDevice.fHostApi, fDevice.fName);
    if (device < 0) return kSoundPortKitNoSuchDevice;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    PaStreamParameters output{};
    output.device = device;
    output.channelCount = channels;
    output.sampleFormat = paFloat32 | paNonInterleaved;
    output.suggestedLatency =
        std::max(info ? info->defaultLowOutputLatency : 0.0, 2.0 * fSettings.fBufferFrames / double(fSettings.fRate));
    fActiveChannels = fSettings.fActiveChannels;
    fOpenChannels = channels;
    fFinished.store(false);
    PaStream* stream = nullptr;
    PaError error = Pa_OpenStream(&stream, nullptr, &output, double(fSettings.fRate),
                                  static_cast<unsigned long>(fSettings.fBufferFrames), paClipOff, &OnStreamCallback, this);
    if (error != paNoError) return fHost.TranslateError(error);
    fHost.StreamOpened();
    fStream = stream;
    Pa_SetStreamFinishedCallback(stream, &OnStreamFinished);
    error = Pa_StartStream(stream);
    if (error != paNoError) {
        const uint32_t status = fHost.TranslateError(error);
        CloseStream();
        return status;
    }
    const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
    fStreamRate = streamInfo ? uint32_t(streamInfo->sampleRate + 0.5) : fSettings.fRate;
    fStreamLatencyMs = streamInfo ? streamInfo->outputLatency * 1000.0 : 0.0;
    fState = EDriverState::kRunning;
    fSeenCallbacks = fCallbacks.load();
    fSeenAtMilliseconds = NowMilliseconds();
    const uint32_t previousRate = fLastRate;
    fLastRate = fStreamRate;
    if (previousRate != 0 && previousRate != fStreamRate) fRenderer->RateChanged(fStreamRate);
    return kSoundPortKitSuccess;
}

void CPortAudioDriver::CloseStream() {
    if (!fStream) return;
    // Abort, not stop: a stream whose device went away may never drain its buffers.
    Pa_AbortStream(fStream);
    Pa_CloseStream(fStream);
    fStream = nullptr;
    fHost.StreamClosed();
}

void CPortAudioDriver::Stop() {
    CloseStream();
    fState = EDriverState::kStopped;
}

void CPortAudioDriver::Release() {
    if (GetState() != EDriverState::kRunning) return;
    CloseStream();
    fState = EDriverState::kReleased;
}

uint32_t CPortAudioDriver::Retake() {
    if (fState != EDriverState::kReleased) return kSoundPortKitWrongState;
    return OpenStream();
}

EDriverState CPortAudioDriver::GetState() const {
    if (fState != EDriverState::kRunning) return fState;
    const uint64_t callbacks = fCallbacks.load();
    const int64_t now = NowMilliseconds();
    if (callbacks != fSeenCallbacks) {
        fSeenCallbacks = callbacks;
        fSeenAtMilliseconds = now;
    }
    if (fFinished.load() || Pa_IsStreamActive(fStream) != 1 || now - fSeenAtMilliseconds > kSilentStreamMilliseconds)
        fState = EDriverState::kFailed;
    return fState;
}

uint32_t CPortAudioDriver::GetOutputRate() const { return fStream ? fStreamRate : fSettings.fRate; }

double CPortAudioDriver::GetOutputLatencyMs() const {
    if (fStream && fStreamLatencyMs > 0.0) return fStreamLatencyMs;
    return fDevice.fDefaultLatencyMs + 1000.0 * double(fSettings.fBufferFrames) / double(fSettings.fRate);
}

SDriverStatistics CPortAudioDriver::GetStatistics() const {
    SDriverStatistics statistics;
    statistics.fCallbacks = fCallbacks.load();
    statistics.fFrames = fFrames.load();
    statistics.fLateCallbacks = fLateCallbacks.load();
    return statistics;
}

uint32_t CPortAudioDriver::WriteBlob(std::vector<uint8_t>* blob) const {
    if (!blob) return kSoundPortKitBadArgument;
    *blob = WriteDriverBlob({fDevice.fHostApi, fDevice.fName, fSettings});
    return kSoundPortKitSuccess;
}

uint32_t CPortAudioDriver::GetClockSources(std::vector<std::string>* sources) const {
    if (sources) sources->clear();
    return kSoundPortKitUnavailable;
}

uint32_t CPortAudioDriver::GetClockSource(int32_t* index) const {
    if (index) *index = -1;
    return kSoundPortKitUnavailable;
}

uint32_t CPortAudioDriver::SetClockSource(int32_t) { return kSoundPortKitUnavailable; }

uint32_t CPortAudioDriver::OpenControlPanel() { return kSoundPortKitUnavailable; }

void CPortAudioDriver::Destroy() {
    Stop();
    delete this;
}

void CPortAudioDriver::ServeCallback(float** buffers, int32_t frames, bool underflow) {
    for (int32_t channel = 0; channel < fOpenChannels; ++channel)
        fChannels[channel] = ((fActiveChannels >> channel) & 1u) ? buffers[channel] : nullptr;
    fRenderer->Render(frames, fChannels, fOpenChannels);
    for (int32_t channel = 0; channel < fOpenChannels; ++channel) {
        if (!fChannels[channel]) std::memset(buffers[channel], 0, size_t(frames) * sizeof(float));
    }
    if (underflow) fLateCallbacks.fetch_add(1, std::memory_order_relaxed);
    fCallbacks.fetch_add(1, std::memory_order_relaxed);
    fFrames.fetch_add(uint64_t(frames), std::memory_order_relaxed);
}

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
