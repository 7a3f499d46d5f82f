#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/EnvelopeSettings.h"
#include "engine/PlayListEntry.h"
#include "engine/TransientShaperSettings.h"
#include "foundation/Mutex.h"
#include "foundation/Units.h"

namespace NSQuillet {

class CABCWaveSample;
class CDSPTables;

// Eight voices that play slices of one wave sample at the preview pitch, shaped by the
// envelope (attack, decay, stretch) and the transient shaper, scaled by the processing gain,
// summed into 64-frame blocks.
//
// Threads: construction, copying and the setters run on the user-interface thread (the
// setters under the sequencer's state lock); the voice operations and RenderBlock run on the
// audio thread and never allocate, lock or block. GetGainMeter is the user-interface thread's
// and lock-free.
// Settings are atomic: a block reads each once, so a change is heard from the next block.
class CQuilletSampler {
public:
    static constexpr int32_t kVoiceCount = 8;
    static constexpr int32_t kBlockFrames = 64;
    // One block at the largest step (4096 frames) and 16 frames of look-ahead.
    static constexpr int32_t kSourceFrames = 4112;
    // Largest step in 1/16384 frame: 64 frames of output read at most 4096 source frames.
    static constexpr int64_t kMaximumStep = 1048576;
    // A voice whose level × fade falls below this is idle.
    static constexpr float kSilentLevel = 0.0000625f;
    // The gain meter's marks for "nothing measured".
    static constexpr float kNoSmallestGain = 3.0e38f;
    static constexpr float kNoLargestGain = 0.0f;

    enum EVoiceStage { kIdle, kAttack, kDecay, kRelease };

    // What a voice is doing, for the sequencer's display and for tests.
    struct SVoiceState {
        EVoiceStage fStage = kIdle;
        bool fRaw = false;
        // The first frame of its slice or raw region; -1 when idle.
        int32_t fStart = -1;
        // Envelope level, stretch fade A and slope factor B, the gain after the last block.
        float fLevel = 0.0f;
        float fFade = 1.0f;
        float fSlope = 1.0f;
        float fGain = 0.0f;
        float fFollower = 0.0f;
        // Next source frame to read and the 14-bit fraction.
        int64_t fPosition = 0;
        int32_t fPhase = 0;
        bool fStretching = false;
        bool fBackward = false;
    };

    // `outputRate` is clamped to 11025..1000000 and binds the shared tables of that rate.
    // Allocates the source buffers. `sample` is not owned and may be null (silence).
    CQuilletSampler(const CABCWaveSample* sample, uint32_t outputRate);
    // Copies the settings and the output rate; every voice of the copy is idle.
    CQuilletSampler(const CQuilletSampler& other);
    CQuilletSampler& operator=(const CQuilletSampler&) = delete;
    ~CQuilletSampler();

    void SetWaveSample(const CABCWaveSample* sample);
    const CABCWaveSample* GetWaveSample() const { return fWaveSample; }
    void SetOutputRate(uint32_t outputRate);
    uint32_t GetOutputRate() const { return fOutputRate; }

    // Settings: pitch in cents (default 0) and gain in thousandths (default 1000, unity); the
    // envelope and the transient shaper start at their groups' defaults, whole or field by
    // field. A group's fields are stored one by one, so one block may see part of a change.
    void SetEnvelope(const SEnvelopeSettings& envelope);
    SEnvelopeSettings GetEnvelope() const;
    void SetTransientShaper(const STransientShaperSettings& shaper);
    STransientShaperSettings GetTransientShaper() const;
    void SetPitch(int16_t cents);
    int16_t GetPitch() const { return fPitch; }
    void SetGain(int16_t gain);
    float GetGain() const { return fGain; }
    void SetEnvelopeOn(bool on);
    bool IsEnvelopeOn() const { return fEnvelopeOn; }
    void SetAttack(int16_t attack);
    int16_t GetAttack() const { return fAttack; }
    void SetDecay(int16_t decay);
    int16_t GetDecay() const { return fDecay; }
    void SetStretch(int16_t stretch);
    int16_t GetStretch() const { return fStretch; }
    void SetShaperOn(bool on);
    bool IsShaperOn() const { return fShaperOn; }
    void SetShaperThreshold(int16_t threshold);
    int16_t GetShaperThreshold() const { return fShaperThreshold; }
    void SetShaperRatio(int16_t ratio);
    int16_t GetShaperRatio() const { return fShaperRatio; }
    void SetShaperAttack(int16_t attack);
    int16_t GetShaperAttack() const { return fShaperAttack; }
    void SetShaperRelease(int16_t release);
    int16_t GetShaperRelease() const { return fShaperRelease; }

    // Audio thread. Takes the next voice in turn, releases every sounding voice and starts the
    // slice of `entry` with envelope, stretch and shaper.
    void StartSliceVoice(const SPlayListEntry& entry);
    // Audio thread. Plays the audio unshaped from `start`, at its own speed (no pitch) and a
    // gain gliding to 0.8333333: at `end` it wraps to `loopStart` when `loops`, else it stops
    // there. Takes the next voice in turn and releases every sounding voice first.
    void StartRawVoice(int32_t start, int32_t end, int32_t loopStart, bool loops);
    // Audio thread. Every voice to its release stage.
    void ReleaseAllVoices();
    // Audio thread (or any thread while no audio thread runs). Every voice idle at once.
    void SilenceAllVoices();
    bool IsSounding() const;
    // The start frame of the slice the most recently started sounding voice plays, or -1.
    int32_t GetSoundingSliceStart() const;

    // Audio thread. Writes the next 64 frames of all voices into `left` and `right`. Output
    // frame n of a voice is the interpolated point 2 frames after the n-th source step.
    void RenderBlock(float* left, float* right);

    // User-interface thread. The smallest and largest shaper gain since the last call (both
    // 1.0 when nothing was measured), then starts a new measurement. Lock-free: a block that
    // ends while it reads counts towards this reading or the next, never neither.
    void GetGainMeter(float& smallest, float& largest);

    // Audio thread, or any thread while no audio thread runs. `voice` is 0..7.
    SVoiceState GetVoiceState(int32_t voice) const;
    // The slot the next started voice takes.
    int32_t GetNextVoice() const { return fNextVoice; }
    const CDSPTables& GetTables() const { return *fTables; }

private:
    struct SVoice {
        SVoiceState fState;
        // Turning points, the end of the region, where a raw voice loops to.
        int64_t fEnvelopeStart = 0;
        int64_t fEnvelopeEnd = 0;
        int64_t fEnd = 0;
        int64_t fLoopStart = 0;
        bool fLoops = false;
        double fRateRatio = 1.0;
        float fFadeStep = 1.0f;
        float fSlopeStep = 0.0f;
        bool fFollowerRising = false;
        uint64_t fSerial = 0;
    };

    // The settings as one block sees them.
    struct SBlockSettings {
        int16_t fPitch;
        float fGain;
        SEnvelopeSettings fEnvelope;
        STransientShaperSettings fShaper;
    };

    static constexpr SEnvelopeSettings kDefaultEnvelope{};
    static constexpr STransientShaperSettings kDefaultShaper{};

    SVoice& TakeVoice();
    void AllocateBuffers();
    SBlockSettings LoadSettings() const;
    float StepEnvelope(SVoice& voice, const SBlockSettings& settings) const;
    float ShaperGain(const SVoice& voice, const SBlockSettings& settings);
    void ReadSource(SVoice& voice, int32_t frames, bool stereo);
    void ReadFrames(int64_t first, int32_t count, float* left, float* right) const;
    void RenderVoice(SVoice& voice, const SBlockSettings& settings, float* left, float* right);

    const CABCWaveSample* fWaveSample;
    uint32_t fOutputRate;
    const CDSPTables* fTables;
    const float* fInterpolation;
    // Written under the sequencer's state lock, read by the audio thread outside it.
    std::atomic<int16_t> fPitch{0};
    std::atomic<float> fGain{float(kUnityGain)};
    std::atomic<bool> fEnvelopeOn{kDefaultEnvelope.fOn};
    std::atomic<int16_t> fAttack{kDefaultEnvelope.fAttack};
    std::atomic<int16_t> fDecay{kDefaultEnvelope.fDecay};
    std::atomic<int16_t> fStretch{kDefaultEnvelope.fStretch};
    std::atomic<bool> fShaperOn{kDefaultShaper.fOn};
    std::atomic<int16_t> fShaperThreshold{kDefaultShaper.fThreshold};
    std::atomic<int16_t> fShaperRatio{kDefaultShaper.fRatio};
    std::atomic<int16_t> fShaperAttack{kDefaultShaper.fAttack};
    std::atomic<int16_t> fShaperRelease{kDefaultShaper.fRelease};
    std::unique_ptr<float[]> fSourceLeft;
    std::unique_ptr<float[]> fSourceRight;
    SVoice fVoices[kVoiceCount];
    int32_t fNextVoice = 0;
    uint64_t fSerial = 0;
    // Audio thread: shaper gains of blocks not yet handed to the meter.
    float fPendingSmallest = 1.0f;
    float fPendingLargest = 1.0f;
    bool fPendingMeasured = false;
    // Handed over after each block; "nothing measured" is a smallest above every gain and a
    // largest below every gain (gains are positive).
    std::atomic<float> fMeterSmallest{kNoSmallestGain};
    std::atomic<float> fMeterLargest{kNoLargestGain};
};

}  // namespace NSQuillet
