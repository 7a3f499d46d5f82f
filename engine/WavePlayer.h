#pragma once

#include <atomic>
#include <cstdint>

#include "engine/AudioOutputState.h"
#include "engine/AudioSource.h"
#include "engine/WavePlayerListener.h"
#include "foundation/Mutex.h"

namespace NSQuillet {

class CABCWaveSample;
class CLUXObject;
class CQuilletSequencer;

// Decides what the audio output plays: a wave sample straight (resampled by linear
// interpolation with a 15-bit fraction), a sequencer (the document's preview), or a loop
// object being auditioned; clamps the output to ±1 and feeds the sequencer's level meter.
//
// Threads: Render is the audio thread's and takes the lock only by try-lock (a piece that
// cannot get it is silence). Everything else is the user-interface thread's; IsPlaying,
// GetMode, GetPlayedFrames and Idle's check take no lock, so an idle client polling them
// never costs the audio thread a piece. The played objects are not owned and must outlive
// their playing.
class CWavePlayer final : public IAudioSource {
public:
    enum EMode : int32_t {
        kPlayingSample = 0,
        kPlayingSequencer = 1,
        kPlayingLoopObject = 2,
        kFinished = 3,  // the straight sample reached its end, or a limited playback its length
        kStopped = 4,
    };

    // Integer frames and a 15-bit fraction (0..32767).
    struct SFramePosition {
        uint32_t fFrame = 0;
        uint32_t fFraction = 0;
    };

    // A playback without a length: it ends when what plays ends or is stopped.
    static constexpr int64_t kUnlimited = -1;

    // The process-wide player, created on first use and rendered by the audio-card manager's
    // renderer.
    static CWavePlayer& Get();

    explicit CWavePlayer(IAudioOutputState& output);
    CWavePlayer(const CWavePlayer&) = delete;
    CWavePlayer& operator=(const CWavePlayer&) = delete;

    // Each play call answers false and does nothing while the output is not working. The
    // listener (may be null, not owned) is told "started" once playing.
    // Stops what plays, then plays `sample` from frame 0 at a step of
    // (sample rate × 32768) / output rate, both rates clamped to 11025..1000000.
    bool PlaySample(const CABCWaveSample* sample, IWavePlayerListener* listener);
    // The sequencer's own transport decides what it plays: request its playback first. When
    // this sequencer already plays, only the listener is exchanged (the old one told
    // "stopped", the new one "started"). `frames` ≥ 0 plays that many more output frames of it
    // and then silence, as a render of that length ends: the player is finished then, and a
    // stop ends it at once instead of letting the voices die away.
    bool PlaySequencer(CQuilletSequencer* sequencer, IWavePlayerListener* listener, int64_t frames = kUnlimited);
    // Stops what plays, sets the object to the output rate and plays its loop from the start.
    bool PlayLoopObject(CLUXObject* object, IWavePlayerListener* listener);
    // While the output runs, the sequencer is stopped (its Stop waits up to 4000 ms for the
    // audio thread); while it does not, no audio thread could serve the stop, so the
    // sequencer is reset at once, as it is after a limited playback. The loop object is
    // rewound. Then the player forgets what it played and tells the listener "stopped".
    void Stop();
    bool IsPlaying() const;
    EMode GetMode() const;
    // Stops when a straight sample or a limited playback has finished or the played sequencer
    // no longer plays.
    void Idle();
    // Output frames played since the last play call (an exchange of listeners keeps counting).
    int64_t GetPlayedFrames() const { return fPlayedFrames.load(std::memory_order_relaxed); }

    SFramePosition GetPosition() const;
    SFramePosition GetStep() const;
    // Pieces rendered as silence because the lock was busy.
    uint64_t GetSilencedPieceCount() const { return fSilencedPieces.load(); }

    void Render(float* left, float* right, int32_t count) override;
    void StopPlayback() override { Stop(); }

private:
    void RenderSample(float* left, float* right, int32_t count);
    int32_t RenderSequencer(float* left, float* right, int32_t count);

    IAudioOutputState& fOutput;
    mutable CMutex fLock;
    // Written under the lock (the audio thread writes kFinished); read without it.
    std::atomic<EMode> fMode{kStopped};
    IWavePlayerListener* fListener = nullptr;
    CQuilletSequencer* fSequencer = nullptr;
    CLUXObject* fLoopObject = nullptr;
    const CABCWaveSample* fSample = nullptr;
    SFramePosition fPosition;
    SFramePosition fStep;
    // Under the lock: the frame count at which a limited sequencer playback ends.
    int64_t fFrameLimit = kUnlimited;
    std::atomic<int64_t> fPlayedFrames{0};
    std::atomic<uint64_t> fSilencedPieces{0};
};

}  // namespace NSQuillet
