#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "platform/soundport/FloatWaveRecorder.h"
#include "platform/soundport/IDriver.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// The Null Output: a device without hardware. A clocked thread of its own calls the renderer
// as a card with two buffers would: each callback is asked for when the previous buffer starts
// to play and is late when it returns after its own buffer should have started; the thread
// sleeps to absolute deadlines of the monotonic clock, so no drift builds up. A late callback
// is counted and the clock starts again from it, as a card restarts after a gap.
class CNullOutputDriver final : public IDriver {
public:
    static constexpr int32_t kChannels = 8;

    static SDeviceInfo MakeDevice(bool isDefault);

    CNullOutputDriver(const SDeviceInfo& device, const SDriverSettings& settings, const SNullOutputOptions& options);

    const SDeviceInfo& GetDevice() const override { return fDevice; }
    SDriverSettings GetSettings() const override { return fSettings; }
    uint32_t Start(IRenderer* renderer) override;
    uint32_t ApplySettings(const SDriverSettings& settings) override;
    void Stop() override;
    void Release() override;
    uint32_t Retake() override;
    EDriverState GetState() const override { return fState; }
    uint32_t GetOutputRate() const override { return fSettings.fRate; }
    double GetOutputLatencyMs() const override;
    SDriverStatistics GetStatistics() const override;
    uint32_t WriteBlob(std::vector<uint8_t>* blob) const override;
    uint32_t GetClockSources(std::vector<std::string>* sources) const override;
    uint32_t GetClockSource(int32_t* index) const override;
    uint32_t SetClockSource(int32_t index) override;
    uint32_t OpenControlPanel() override;
    void Destroy() override;

private:
    ~CNullOutputDriver();

    uint32_t OpenStream();
    void CloseStream();
    void Run();
    int32_t NextCallbackFrames();
    void Callback(int32_t frames);
    void SleepUntil(int64_t nanoseconds) const;
    int64_t FramesToNanoseconds(int64_t frames) const;

    SDeviceInfo fDevice;
    SDriverSettings fSettings;
    SNullOutputOptions fOptions;
    IRenderer* fRenderer = nullptr;
    EDriverState fState = EDriverState::kStopped;
    uint32_t fLastRate = 0;

    std::vector<float> fBuffers;
    float* fChannels[kChannels] = {};
    int32_t fOpenChannels = 0;
    std::unique_ptr<CFloatWaveRecorder> fRecorder;
    uint32_t fRandom = 1;

    std::atomic<bool> fStopRequested{false};
    std::thread fThread;
    std::atomic<uint64_t> fCallbacks{0};
    std::atomic<uint64_t> fFrames{0};
    std::atomic<uint64_t> fLateCallbacks{0};
    std::atomic<uint64_t> fDroppedFrames{0};
};

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
