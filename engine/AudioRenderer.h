#pragma once

#include <atomic>
#include <cstdint>

#include "engine/AudioSource.h"
#include "foundation/Mutex.h"
#include "platform/soundport/IRenderer.h"

namespace NSQuillet {

class CAudioCardManager;

// Fills the device's buffers from the audio source, always in pieces of 256 stereo frames:
// a piece is split across callbacks when a device asks for fewer frames, and several pieces
// fill a larger callback. Left goes to the even channels, right to the odd ones.
//
// Threads: Render runs on the device's thread and never waits (a callback that cannot have
// the mutex is silence); everything else is the user-interface thread's.
class CAudioRenderer final : public NSSoundPortKit2::IRenderer {
public:
    static constexpr int32_t kPieceFrames = 256;
    static constexpr uint32_t kPauseTimeoutMilliseconds = 2000;

    // `manager` (may be null) takes over new output rates.
    explicit CAudioRenderer(CAudioCardManager* manager);
    CAudioRenderer(const CAudioRenderer&) = delete;
    CAudioRenderer& operator=(const CAudioRenderer&) = delete;

    // Not owned; null plays silence.
    void SetSource(IAudioSource* source) { fSource.store(source); }
    IAudioSource* GetSource() const { return fSource.load(); }
    void SetEnabled(bool enabled) { fEnabled.store(enabled); }
    bool IsEnabled() const { return fEnabled.load(); }

    // Keeps the audio thread out until the matching Resume. The first of nested pauses stops
    // the source's playback, then takes the mutex, waiting at most 2000 ms: when it cannot, an
    // XStdRuntimeError "no mutex" and nothing is paused (the playback stays stopped). Blocks;
    // user-interface thread.
    void Pause();
    void Resume();
    int32_t GetPauseCount() const { return fPauseCount; }

    // Callbacks answered with silence because the renderer was disabled or its mutex busy.
    uint64_t GetSilencedCallbackCount() const { return fSilencedCallbacks.load(); }

    void Render(int32_t frames, float* const* channels, int32_t channelCount) override;
    // Asks the manager to take over the new rate, when enabled.
    void RateChanged(uint32_t rate) override;

private:
    CAudioCardManager* fManager;
    std::atomic<IAudioSource*> fSource{nullptr};
    std::atomic<bool> fEnabled{false};
    CMutex fMutex;
    int32_t fPauseCount = 0;
    std::atomic<uint64_t> fSilencedCallbacks{0};

    // Under fMutex.
    float fStagingLeft[kPieceFrames] = {};
    float fStagingRight[kPieceFrames] = {};
    int32_t fStagingIndex = kPieceFrames;
};

}  // namespace NSQuillet
