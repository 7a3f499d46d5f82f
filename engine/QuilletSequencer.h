#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/EqualizerEffect.h"
#include "engine/LevelMeter.h"
#include "engine/LoopSettings.h"
#include "engine/PlayList.h"
#include "engine/QuilletSampler.h"
#include "foundation/Mutex.h"
#include "foundation/Units.h"

namespace NSQuillet {

class CABCWaveSample;
class CSliceSequence;

// The preview sequencer: the loop settings, the play list, the transport and the play
// position, and the scheduler that starts a sampler voice for each slice at the preview
// tempo, in steps of 64 output frames, with the equalizer over the mix.
//
// Threads: everything but Render belongs to the user-interface thread and holds the state
// lock for its duration (Stop releases it while it waits); IsPlaying, GetTransport,
// GetShownPosition and the meters take no lock, so that the views and idle clients may poll
// them during playback without ever making the audio thread miss the lock. Render is the audio
// thread's; it takes the locks only by try-lock and never allocates or blocks. Frames are frames of the
// wave sample unless named output frames. The wave sample and slice sequence are not owned.
class CQuilletSequencer {
public:
    enum ETransport : int32_t { kStopped = 0, kStopping = 1, kPlayingLoop = 2, kPlayingSlice = 3 };

    // Allocates the play list and the sampler's buffers. The preview tempo starts at 130000,
    // or at the original tempo (clamped to 20000..450000) when there is one; the position at
    // the first entry inside the locators.
    CQuilletSequencer(const CABCWaveSample* sample, const CSliceSequence* sequence, uint32_t outputRate);
    // For exports: the settings, play list, sampler and equalizer settings of `other` (taken
    // under its state lock), with a fresh transport: stopped, position 0, every voice idle.
    CQuilletSequencer(const CQuilletSequencer& other);
    CQuilletSequencer& operator=(const CQuilletSequencer&) = delete;
    ~CQuilletSequencer();

    // Stores the pointer and rebuilds the play list.
    void SetSliceSequence(const CSliceSequence* sequence);
    // Moves the loop locators of `sample`, which must be this sequencer's wave sample, under
    // the state lock (the audio thread reads them under it), and rebuilds the play list.
    void SetLocators(CABCWaveSample& sample, int32_t left, int32_t right);
    // Stops at once (voices silenced), stores the pointer(s), rebuilds the play list and puts
    // the position at the first entry inside the locators.
    void SetWaveSample(const CABCWaveSample* sample);
    void SetWaveSample(const CABCWaveSample* sample, const CSliceSequence* sequence);
    const CABCWaveSample* GetWaveSample() const;
    const CSliceSequence* GetSliceSequence() const;

    // Loop settings. Changes of the preview flag, Silence Selected, bars and beats rebuild the
    // play list; the clamps are CLoopSettings'.
    CLoopSettings GetLoopSettings() const;
    void SetLoopSettings(const CLoopSettings& settings);
    bool IsPreviewOn() const;
    void SetPreviewOn(bool on);
    bool IsSilenceSelected() const;
    void SetSilenceSelected(bool on);
    int32_t GetPreviewTempo() const;
    void SetPreviewTempo(int32_t tempo);
    int32_t GetTimeSignatureNumerator() const;
    void SetTimeSignatureNumerator(int32_t beatsPerBar);
    int32_t GetTimeSignatureDenominator() const;
    void SetTimeSignatureDenominator(int32_t noteValue);
    int32_t GetBars() const;
    void SetBars(int32_t bars);
    int32_t GetBeats() const;
    void SetBeats(int32_t beats);
    // Kept in the sampler: cents, and thousandths (1000 = unity).
    int16_t GetPitch() const;
    void SetPitch(int16_t cents);
    float GetGain() const;
    void SetGain(int16_t gain);
    // Any other sampler or equalizer setting, changed under the state lock.
    template <class TChange>
    void ChangeSampler(TChange&& change);
    template <class TChange>
    void ChangeEqualizer(TChange&& change);
    // Read-only views of the settings; the user-interface thread is their only writer.
    const CQuilletSampler& GetSampler() const { return fSampler; }
    const CEqualizerEffect& GetEqualizer() const { return fEqualizer; }
    // The level of what the wave player plays of this sequencer: reported on the audio
    // thread, read on the user-interface thread; lock-free.
    CLevelMeter& GetLevelMeter() const { return fLevelMeter; }
    // The transient shaper's smallest and largest gain since the last call (both 1.0 when
    // nothing was measured); lock-free.
    void TakeShaperGains(float& smallest, float& largest) { fSampler.GetGainMeter(smallest, largest); }
    // Frames per second of the output, clamped to 11025..1000000; the equalizer follows.
    void SetOutputRate(uint32_t outputRate);
    uint32_t GetOutputRate() const;

    bool IsLoopLengthSet() const;
    bool IsPreviewActive() const;
    // F: the locators clamped into the sample, right − left.
    int64_t GetLoopFrames() const;
    // Thousandths of BPM; 0 when not computable.
    int32_t GetOriginalTempo() const;
    // Output frames at the output rate.
    int64_t SampleFramesToOutputFrames(int64_t frames) const;
    double GetBeatLength() const;
    int32_t FramesToTicks(int64_t frames) const;
    int32_t GetLoopTicks() const;

    // Allocates the new list, swaps it in under the play-list lock and destroys the old one
    // here; the position goes to the entry at or before it.
    void RebuildPlayList();
    // A copy of the entries.
    std::vector<SPlayListEntry> GetPlayListEntries() const;

    // Transport requests, served by the next Render call.
    void PlayLoop();
    void PlaySliceAt(int32_t frame);
    void PlayPreviousSlice();
    void PlayCurrentSliceAndMoveToNext();
    void StopOrRewind();
    // Blocks: polls every 5 ms until the audio thread has stopped the transport; after 4000 ms
    // forces it to stopped and silences every voice.
    void Stop();
    // Only while stopped, stopping or a stop is pending.
    void MoveToPreviousSlice();
    void MoveToNextSlice();
    void SetPosition(int32_t frame);
    int32_t GetPosition() const;
    // From a play request until the transport is stopped again.
    bool IsPlaying() const;
    ETransport GetTransport() const;
    // The start of the sounding slice while one sounds (`valid` true), else the position.
    int32_t GetShownPosition(bool* valid = nullptr) const;
    // Only while no audio thread renders (exports, loop auditioning): stopped, nothing
    // pending, voices silent, equalizer state cleared, no leftover frames.
    void ResetPlayback();

    // Audio thread. Writes `count` output frames, any count, computed in 64-frame blocks.
    // In a block for which the state lock cannot be had the voices sound on unscheduled and
    // the next slice start waits a block.
    void Render(float* left, float* right, int32_t count);

private:
    enum ERequest : int32_t { kNoRequest = 0, kStartLoop = 1, kPlaySlice = 2, kStopRequest = 3 };

    CQuilletSequencer(const CQuilletSequencer& other, const CMutexLock& otherLocked);

    CPlayList::SLoopRange GetLoopRangeLocked() const;
    int32_t GetFrameCountLocked() const;
    int32_t GetOriginalTempoLocked() const;
    int64_t ToOutputFramesLocked(int64_t frames) const;
    int64_t CountdownFor(int64_t distance) const;
    void SetWaveSampleLocked(const CABCWaveSample* sample, const CSliceSequence* sequence);
    void RebuildPlayListLocked();
    void PlaceAtFirstEntryInsideLocked();
    void StopLocked();
    bool RepositioningAllowedLocked() const;
    void FollowPositionIfStoppedLocked();
    void SetShownPositionLocked(int32_t position, bool valid);

    void ServeRequests();
    void StartLoopLocked(const SPlayListEntry& entry);
    void StartRawLoopVoice(int32_t start, const CPlayList::SLoopRange& loop);
    void ScheduleBlockLocked();
    void AdvanceLocked(const CPlayList::SLoopRange& loop);
    void StopOnEmptyLoopLocked();
    void RenderOneBlock(float* left, float* right);

    mutable CMutex fStateLock;
    mutable CMutex fPlayListLock;
    const CABCWaveSample* fWaveSample;
    const CSliceSequence* fSliceSequence;
    CLoopSettings fLoop;
    CQuilletSampler fSampler;
    CEqualizerEffect fEqualizer;
    std::unique_ptr<CPlayList> fPlayList;
    mutable CLevelMeter fLevelMeter;

    // Written under the state lock; atomic so that IsPlaying may read them without it.
    std::atomic<int32_t> fTransport{kStopped};
    std::atomic<int32_t> fRequest{kNoRequest};
    SPlayListEntry fRequestEntry;
    int32_t fPosition = 0;
    int32_t fShownPosition = 0;
    int32_t fShownPositionValid = 0;
    // Both of them for the lock-free readers: the position in the low 32 bits, the flag above.
    std::atomic<uint64_t> fPublishedShownPosition{0};

    // Audio thread only.
    int32_t fLeftover = 0;
    float fBlockLeft[kBlockFrames] = {};
    float fBlockRight[kBlockFrames] = {};

    // Scheduler: output frames until the next entry starts, and what it was computed with.
    bool fScheduled = false;
    bool fRawVoice = false;
    int64_t fCountdown = 0;
    int32_t fNextStart = 0;
    int32_t fSeenPreviewTempo = 0;
    int32_t fSeenOriginalTempo = 0;
    CPlayList::SLoopRange fSeenLoop;
};

template <class TChange>
void CQuilletSequencer::ChangeSampler(TChange&& change) {
    CMutexLock lock(fStateLock);
    change(fSampler);
}

template <class TChange>
void CQuilletSequencer::ChangeEqualizer(TChange&& change) {
    CMutexLock lock(fStateLock);
    change(fEqualizer);
}

}  // namespace NSQuillet
