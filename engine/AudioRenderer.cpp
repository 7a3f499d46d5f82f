#include "engine/AudioRenderer.h"

#include <algorithm>

#include "engine/AudioCardManager.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CAudioRenderer::CAudioRenderer(CAudioCardManager* manager) : fManager(manager) {}

void CAudioRenderer::Pause() {
    if (fPauseCount == 0) {
        if (IAudioSource* source = fSource.load()) source->StopPlayback();
        if (!fMutex.TimedLock(kPauseTimeoutMilliseconds)) throw NSMishap::XStdRuntimeError("no mutex");
        // What is left of the last piece belongs to the playback that just stopped.
        fStagingIndex = kPieceFrames;
    }
    ++fPauseCount;
}

void CAudioRenderer::Resume() {
    if (fPauseCount == 0) return;
    if (--fPauseCount == 0) fMutex.Unlock();
}

void CAudioRenderer::Render(int32_t frames, float* const* channels, int32_t channelCount) {
    if (frames <= 0) return;
    const bool enabled = fEnabled.load(std::memory_order_relaxed);
    if (!enabled || !fMutex.TryLock()) {
        for (int32_t channel = 0; channel < channelCount; ++channel) {
            if (channels[channel]) std::fill_n(channels[channel], frames, 0.0f);
        }
        fSilencedCallbacks.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    IAudioSource* source = fSource.load(std::memory_order_acquire);
    for (int32_t done = 0; done < frames;) {
        if (fStagingIndex == kPieceFrames) {
            if (source) {
                source->Render(fStagingLeft, fStagingRight, kPieceFrames);
            } else {
                std::fill_n(fStagingLeft, kPieceFrames, 0.0f);
                std::fill_n(fStagingRight, kPieceFrames, 0.0f);
            }
            fStagingIndex = 0;
        }
        const int32_t count = std::min(frames - done, kPieceFrames - fStagingIndex);
        for (int32_t channel = 0; channel < channelCount; ++channel) {
            if (!channels[channel]) continue;
            const float* staging = (channel % 2 == 0 ? fStagingLeft : fStagingRight) + fStagingIndex;
            std::copy_n(staging, count, channels[channel] + done);
        }
        fStagingIndex += count;
        done += count;
    }
    fMutex.Unlock();
}

void CAudioRenderer::RateChanged(uint32_t) {
    if (fEnabled.load() && fManager) fManager->HandleRateChange();
}

}  // namespace NSQuillet
