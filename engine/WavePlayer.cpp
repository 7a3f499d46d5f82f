#include "engine/WavePlayer.h"

#include <algorithm>
#include <cmath>

#include "engine/AudioCardManager.h"
#include "engine/LUXObject.h"
#include "engine/QuilletSequencer.h"
#include "engine/WaveSample.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kFractionOne = 32768;
constexpr uint32_t kFractionMask = kFractionOne - 1;
constexpr float kSixteenBitScale = 3.0518509447574615e-5f;  // 1/32767

}  // namespace

CWavePlayer& CWavePlayer::Get() {
    // Never destroyed: the device thread may render it while the process exits.
    static CWavePlayer* const player = [] {
        CAudioCardManager& manager = CAudioCardManager::Get();
        auto* created = new CWavePlayer(manager);
        manager.GetRenderer().SetSource(created);
        return created;
    }();
    return *player;
}

CWavePlayer::CWavePlayer(IAudioOutputState& output) : fOutput(output) {}

bool CWavePlayer::PlaySample(const CABCWaveSample* sample, IWavePlayerListener* listener) {
    if (!sample || !fOutput.IsOutputWorking()) return false;
    Stop();
    {
        CMutexLock lock(fLock);
        // 64-bit: a rate above 131071 Hz times 32768 does not fit 32 bits.
        const uint64_t step = (uint64_t(ClampSampleRate(sample->GetSampleRate())) * kFractionOne) /
                              ClampSampleRate(fOutput.GetOutputRate());
        fMode = kPlayingSample;
        fPlayedFrames.store(0, std::memory_order_relaxed);
        fSample = sample;
        fPosition = {};
        fStep.fFrame = uint32_t(step >> 15);
        fStep.fFraction = uint32_t(step & kFractionMask);
        fListener = listener;
    }
    if (listener) listener->WavePlayerStarted();
    return true;
}

bool CWavePlayer::PlaySequencer(CQuilletSequencer* sequencer, IWavePlayerListener* listener, int64_t frames) {
    if (!sequencer || !fOutput.IsOutputWorking()) return false;
    bool exchanged = false;
    IWavePlayerListener* old = nullptr;
    {
        CMutexLock lock(fLock);
        if (fMode == kPlayingSequencer && fSequencer == sequencer) {
            exchanged = true;
            old = fListener;
            fListener = listener;
            fFrameLimit = frames < 0 ? kUnlimited : fPlayedFrames.load(std::memory_order_relaxed) + frames;
        }
    }
    if (exchanged) {
        if (old) old->WavePlayerStopped();
        if (listener) listener->WavePlayerStarted();
        return true;
    }
    Stop();
    {
        CMutexLock lock(fLock);
        fMode = kPlayingSequencer;
        fPlayedFrames.store(0, std::memory_order_relaxed);
        fFrameLimit = frames < 0 ? kUnlimited : frames;
        fSequencer = sequencer;
        fListener = listener;
    }
    if (listener) listener->WavePlayerStarted();
    return true;
}

bool CWavePlayer::PlayLoopObject(CLUXObject* object, IWavePlayerListener* listener) {
    if (!object || !fOutput.IsOutputWorking()) return false;
    Stop();
    {
        CMutexLock lock(fLock);
        object->SetOutputRate(fOutput.GetOutputRate());
        object->Rewind();
        fMode = kPlayingLoopObject;
        fPlayedFrames.store(0, std::memory_order_relaxed);
        fLoopObject = object;
        fListener = listener;
    }
    if (listener) listener->WavePlayerStarted();
    return true;
}

void CWavePlayer::Stop() {
    CQuilletSequencer* sequencer = nullptr;
    bool cut = false;
    {
        CMutexLock lock(fLock);
        sequencer = fSequencer;
        // A limited playback reaches its end on the audio thread, which then no longer renders
        // the sequencer and so could not serve a stop.
        cut = fFrameLimit != kUnlimited || fMode == kFinished;
    }
    const bool running = fOutput.IsOutputRunning();
    // Without the lock: the audio thread must render the sequencer to serve the stop.
    if (sequencer && running && !cut) sequencer->Stop();
    IWavePlayerListener* old = nullptr;
    {
        CMutexLock lock(fLock);
        if (fSequencer && (!running || cut)) fSequencer->ResetPlayback();
        if (fLoopObject) fLoopObject->Rewind();
        fMode = kStopped;
        fFrameLimit = kUnlimited;
        fSample = nullptr;
        fSequencer = nullptr;
        fLoopObject = nullptr;
        old = fListener;
        fListener = nullptr;
    }
    if (old) old->WavePlayerStopped();
}

bool CWavePlayer::IsPlaying() const { return fSample || fSequencer || fLoopObject; }

CWavePlayer::EMode CWavePlayer::GetMode() const { return fMode.load(); }

void CWavePlayer::Idle() {
    const EMode mode = fMode.load();
    // The sequencer's transport is read without its lock, like the mode.
    if (mode == kFinished || (mode == kPlayingSequencer && fSequencer && !fSequencer->IsPlaying())) Stop();
}

CWavePlayer::SFramePosition CWavePlayer::GetPosition() const {
    CMutexLock lock(fLock);
    return fPosition;
}

CWavePlayer::SFramePosition CWavePlayer::GetStep() const {
    CMutexLock lock(fLock);
    return fStep;
}

void CWavePlayer::Render(float* left, float* right, int32_t count) {
    if (count <= 0) return;
    CMutexTryLock lock(fLock);
    if (!lock.IsLocked()) {
        std::fill_n(left, count, 0.0f);
        std::fill_n(right, count, 0.0f);
        fSilencedPieces.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    const EMode mode = fMode.load(std::memory_order_relaxed);
    int32_t played = count;
    switch (mode) {
        case kPlayingSample: RenderSample(left, right, count); break;
        case kPlayingSequencer: played = RenderSequencer(left, right, count); break;
        case kPlayingLoopObject: fLoopObject->Render(count, left, right); break;
        default:
            std::fill_n(left, count, 0.0f);
            std::fill_n(right, count, 0.0f);
            return;
    }
    fPlayedFrames.fetch_add(played, std::memory_order_relaxed);
    bool clipped = false;
    float peaks[2] = {0.0f, 0.0f};
    float* outputs[2] = {left, right};
    for (int channel = 0; channel < 2; ++channel) {
        float* values = outputs[channel];
        for (int32_t i = 0; i < count; ++i) {
            float value = values[i];
            if (value > 1.0f || value < -1.0f) {
                value = value > 1.0f ? 1.0f : -1.0f;
                values[i] = value;
                clipped = true;
            }
            peaks[channel] = std::max(peaks[channel], std::fabs(value));
        }
    }
    if (mode == kPlayingSequencer) fSequencer->GetLevelMeter().Report(peaks[0], peaks[1], clipped);
}

int32_t CWavePlayer::RenderSequencer(float* left, float* right, int32_t count) {
    if (fFrameLimit == kUnlimited) {
        fSequencer->Render(left, right, count);
        return count;
    }
    const int64_t remaining = fFrameLimit - fPlayedFrames.load(std::memory_order_relaxed);
    const int32_t frames = int32_t(std::clamp<int64_t>(remaining, 0, count));
    if (frames > 0) fSequencer->Render(left, right, frames);
    std::fill(left + frames, left + count, 0.0f);
    std::fill(right + frames, right + count, 0.0f);
    if (remaining <= count) fMode = kFinished;
    return frames;
}

void CWavePlayer::RenderSample(float* left, float* right, int32_t count) {
    const CABCWaveSample& sample = *fSample;
    const uint32_t frames = uint32_t(std::max(sample.GetFrameCount(), 0));
    const int32_t channels = sample.IsStereo() ? 2 : 1;
    float* outputs[2] = {left, right};
    int32_t i = 0;
    for (; i < count && fPosition.fFrame < frames; ++i) {
        const int32_t frame = int32_t(fPosition.fFrame);
        const int32_t fraction = int32_t(fPosition.fFraction);
        for (int32_t channel = 0; channel < channels; ++channel) {
            const int32_t s0 = sample.Get16(frame, channel + 1);
            const int32_t s1 = fPosition.fFrame + 1 < frames ? sample.Get16(frame + 1, channel + 1) : 0;
            const int32_t value = std::clamp(s0 + ((s1 - s0) * fraction) / int32_t(kFractionOne), -32768, 32767);
            outputs[channel][i] = float(value) * kSixteenBitScale;
        }
        if (channels == 1) right[i] = left[i];
        fPosition.fFraction += fStep.fFraction;
        fPosition.fFrame += fStep.fFrame;
        if (fPosition.fFraction >= kFractionOne) {
            fPosition.fFraction -= kFractionOne;
            fPosition.fFrame += 1;
        }
    }
    if (fPosition.fFrame >= frames) fMode = kFinished;
    std::fill(left + i, left + count, 0.0f);
    std::fill(right + i, right + count, 0.0f);
}

}  // namespace NSQuillet
