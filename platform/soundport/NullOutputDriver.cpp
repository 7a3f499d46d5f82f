#include "platform/soundport/NullOutputDriver.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <system_error>

#include "platform/soundport/DriverBlob.h"
#include "platform/soundport/SettingsRange.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSSoundPortKit2 {

SNullOutputOptions SNullOutputOptions::FromEnvironment() {
    SNullOutputOptions options;
    if (const char* path = std::getenv("QUILLET_NULL_OUTPUT_RECORD")) options.fRecordPath = path;
    return options;
}

namespace NSSoundPortKitDetails {

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;
// A stop is noticed within this time even at the longest buffers.
constexpr int64_t kLongestSleep = 20000000;

int64_t Now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

// As a card's callback thread runs: at a real-time priority where the system grants one (the
// clocked thread sleeps between callbacks, so it never holds a core); otherwise as it is.
void RaiseToRealTimePriority() {
    sched_param parameter{};
    parameter.sched_priority = sched_get_priority_min(SCHED_FIFO) + 9;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameter);
}

}  // namespace

SDeviceInfo CNullOutputDriver::MakeDevice(bool isDefault) {
    SDeviceInfo device;
    device.fHostApi = kBuiltInHostApiName;
    device.fName = kNullOutputName;
    device.fOutputChannels = kChannels;
    device.fDefaultRate = 44100;
    device.fDefaultLatencyMs = 0.0;
    device.fIsDefault = isDefault;
    device.fIsExclusive = true;
    device.fIsNullOutput = true;
    return device;
}

CNullOutputDriver::CNullOutputDriver(const SDeviceInfo& device, const SDriverSettings& settings,
                                     const SNullOutputOptions& options)
    : fDevice(device), fSettings(settings), fOptions(options), fRandom(options.fRandomSizeSeed | 1u) {}

CNullOutputDriver::~CNullOutputDriver() = default;

uint32_t CNullOutputDriver::Start(IRenderer* renderer) {
    if (!renderer) return kSoundPortKitBadArgument;
    if (fState != EDriverState::kStopped) return kSoundPortKitWrongState;
    fRenderer = renderer;
    return OpenStream();
}

uint32_t CNullOutputDriver::ApplySettings(const SDriverSettings& settings) {
    if (!AreSettingsInRange(settings)) return kSoundPortKitBadArgument;
    const SDriverSettings old = fSettings;
    if (fState != EDriverState::kRunning) {
        if (OpenChannelCount(settings.fActiveChannels) > fDevice.fOutputChannels) return kSoundPortKitSettingsRefused;
        fSettings = settings;
        return kSoundPortKitSuccess;
    }
    CloseStream();
    fSettings = settings;
    const uint32_t status = OpenStream();
    if (status != kSoundPortKitSuccess) fSettings = old;
    return status;
}

uint32_t CNullOutputDriver::OpenStream() {
    const int32_t channels = OpenChannelCount(fSettings.fActiveChannels);
    if (channels > fDevice.fOutputChannels) {
        fState = EDriverState::kStopped;
        return kSoundPortKitSettingsRefused;
    }
    try {
        fBuffers.assign(size_t(channels) * size_t(fSettings.fBufferFrames), 0.0f);
        if (!fRecorder && !fOptions.fRecordPath.empty()) {
            fRecorder = CFloatWaveRecorder::Create(fOptions.fRecordPath, channels, fSettings.fRate);
            if (!fRecorder) {
                fState = EDriverState::kStopped;
                return kSoundPortKitRecordingFailed;
            }
        }
        fOpenChannels = channels;
        for (int32_t channel = 0; channel < kChannels; ++channel) {
            const bool active = channel < channels && ((fSettings.fActiveChannels >> channel) & 1u);
            fChannels[channel] = active ? fBuffers.data() + size_t(channel) * size_t(fSettings.fBufferFrames) : nullptr;
        }
        fStopRequested.store(false);
        fThread = std::thread([this] { Run(); });
    } catch (const std::bad_alloc&) {
        fState = EDriverState::kStopped;
        return kSoundPortKitOutOfMemory;
    } catch (const std::system_error&) {
        fState = EDriverState::kStopped;
        return kSoundPortKitDeviceUnavailable;
    }
    fState = EDriverState::kRunning;
    const uint32_t previousRate = fLastRate;
    fLastRate = fSettings.fRate;
    if (previousRate != 0 && previousRate != fSettings.fRate) fRenderer->RateChanged(fSettings.fRate);
    return kSoundPortKitSuccess;
}

void CNullOutputDriver::CloseStream() {
    fStopRequested.store(true);
    if (fThread.joinable()) fThread.join();
}

void CNullOutputDriver::Stop() {
    CloseStream();
    fState = EDriverState::kStopped;
}

void CNullOutputDriver::Release() {
    if (fState != EDriverState::kRunning) return;
    CloseStream();
    fState = EDriverState::kReleased;
}

uint32_t CNullOutputDriver::Retake() {
    if (fState != EDriverState::kReleased) return kSoundPortKitWrongState;
    return OpenStream();
}

double CNullOutputDriver::GetOutputLatencyMs() const {
    return 1000.0 * double(fSettings.fBufferFrames) / double(fSettings.fRate);
}

SDriverStatistics CNullOutputDriver::GetStatistics() const {
    SDriverStatistics statistics;
    statistics.fCallbacks = fCallbacks.load();
    statistics.fFrames = fFrames.load();
    statistics.fLateCallbacks = fLateCallbacks.load();
    statistics.fRecordingDroppedFrames = fDroppedFrames.load();
    return statistics;
}

uint32_t CNullOutputDriver::WriteBlob(std::vector<uint8_t>* blob) const {
    if (!blob) return kSoundPortKitBadArgument;
    *blob = WriteDriverBlob({fDevice.fHostApi, fDevice.fName, fSettings});
    return kSoundPortKitSuccess;
}

uint32_t CNullOutputDriver::GetClockSources(std::vector<std::string>* sources) const {
    if (sources) sources->clear();
    return kSoundPortKitUnavailable;
}

uint32_t CNullOutputDriver::GetClockSource(int32_t* index) const {
    if (index) *index = -1;
    return kSoundPortKitUnavailable;
}

uint32_t CNullOutputDriver::SetClockSource(int32_t) { return kSoundPortKitUnavailable; }

uint32_t CNullOutputDriver::OpenControlPanel() { return kSoundPortKitUnavailable; }

void CNullOutputDriver::Destroy() {
    Stop();
    if (fRecorder) fRecorder->Close();
    delete this;
}

int64_t CNullOutputDriver::FramesToNanoseconds(int64_t frames) const {
    const int64_t rate = fSettings.fRate;
    return frames / rate * kNanosecondsPerSecond + frames % rate * kNanosecondsPerSecond / rate;
}

void CNullOutputDriver::SleepUntil(int64_t target) const {
    for (;;) {
        if (fStopRequested.load(std::memory_order_relaxed)) return;
        const int64_t now = Now();
        if (now >= target) return;
        const int64_t until = std::min(target, now + kLongestSleep);
        timespec wake{time_t(until / kNanosecondsPerSecond), long(until % kNanosecondsPerSecond)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr);
    }
}

int32_t CNullOutputDriver::NextCallbackFrames() {
    if (!fOptions.fFreeRunning || fOptions.fRandomSizeSeed == 0) return fSettings.fBufferFrames;
    // xorshift32: no allocation, no lock.
    fRandom ^= fRandom << 13;
    fRandom ^= fRandom >> 17;
    fRandom ^= fRandom << 5;
    return 1 + int32_t(fRandom % uint32_t(fSettings.fBufferFrames));
}

void CNullOutputDriver::Callback(int32_t frames) {
    fRenderer->Render(frames, fChannels, fOpenChannels);
    if (fRecorder && !fRecorder->Append(frames, fChannels, fOpenChannels, fOptions.fFreeRunning))
        fDroppedFrames.fetch_add(uint64_t(frames), std::memory_order_relaxed);
    fCallbacks.fetch_add(1, std::memory_order_relaxed);
    fFrames.fetch_add(uint64_t(frames), std::memory_order_relaxed);
}

void CNullOutputDriver::Run() {
    const bool clocked = !fOptions.fFreeRunning;
    if (clocked) RaiseToRealTimePriority();
    int64_t start = Now();
    // Frames whose playing has begun, and the buffer queued behind them.
    int64_t played = 0;
    int32_t queued = NextCallbackFrames();
    Callback(queued);
    while (!fStopRequested.load(std::memory_order_relaxed)) {
        if (clocked) SleepUntil(start + FramesToNanoseconds(played));
        if (fStopRequested.load(std::memory_order_relaxed)) break;
        played += queued;
        queued = NextCallbackFrames();
        Callback(queued);
        if (!clocked) continue;
        const int64_t finished = Now();
        if (finished > start + FramesToNanoseconds(played)) {
            fLateCallbacks.fetch_add(1, std::memory_order_relaxed);
            start = finished - FramesToNanoseconds(played);
        }
    }
}

}  // namespace NSSoundPortKitDetails

}  // namespace NSSoundPortKit2
