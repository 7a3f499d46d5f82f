#pragma once

#include <atomic>
#include <cstdint>

#include "platform/soundport/IDriver.h"
#include "platform/soundport/PortAudioHost.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// A PortAudio output stream on one device: float, one buffer per channel, opened up to the
// highest active channel; inactive channels reach the renderer as null and are silenced here.
// A stream counts as stopped by itself when PortAudio ends it or when no callback came for
// two seconds while it should run.
class CPortAudioDriver final : public IDriver {
public:
    CPortAudioDriver(CPortAudioHost& host, const SDeviceInfo& device, const SDriverSettings& settings);

    const SDeviceInfo& GetDevice() const override { return fDevice; }
    SDriverSettings GetSettings() const override { return fSettings; }
    uint32_t Start(IRenderer* renderer) override;
    uint32_t ApplySettings(const SDriverSettings& settings) override;
    void Stop() override;
    void Release() override;
    uint32_t Retake() override;
    EDriverState GetState() const override;
    uint32_t GetOutputRate() const override;
    double GetOutputLatencyMs() const override;
    SDriverStatistics GetStatistics() const override;
    uint32_t WriteBlob(std::vector<uint8_t>* blob) const override;
    uint32_t GetClockSources(std::vector<std::string>* sources) const override;
    uint32_t GetClockSource(int32_t* index) const override;
    uint32_t SetClockSource(int32_t index) override;
    uint32_t OpenControlPanel() override;
    void Destroy() override;

    // Device thread: one callback of the stream, and the stream's end.
    void ServeCallback(float** buffers, int32_t frames, bool underflow);
    void StreamFinished() { fFinished.store(true); }

private:
    ~CPortAudioDriver() = default;

    uint32_t OpenStream();
    void CloseStream();

    CPortAudioHost& fHost;
    SDeviceInfo fDevice;
    SDriverSettings fSettings;
    IRenderer* fRenderer = nullptr;
    mutable EDriverState fState = EDriverState::kStopped;
    uint32_t fLastRate = 0;
    void* fStream = nullptr;
    uint32_t fStreamRate = 0;
    double fStreamLatencyMs = 0.0;

    // Device thread while the stream runs.
    float* fChannels[kMaximumChannels] = {};
    uint64_t fActiveChannels = 0;
    int32_t fOpenChannels = 0;

    std::atomic<bool> fFinished{false};
    std::atomic<uint64_t> fCallbacks{0};
    std::atomic<uint64_t> fFrames{0};
    std::atomic<uint64_t> fLateCallbacks{0};
    mutable uint64_t fSeenCallbacks = 0;
    mutable int64_t fSeenAtMilliseconds = 0;
};

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
