#include "engine/QuilletSampler.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/DSPTables.h"
#include "engine/DSPTablesCache.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"
#include "foundation/MulDiv.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr int32_t kLookAhead = 16;
constexpr int32_t kPhaseBits = 14;
constexpr int64_t kPhaseMask = (int64_t(1) << kPhaseBits) - 1;
constexpr int32_t kTaps = CDSPTables::kInterpolationTaps;
constexpr float kOutputScale = 0.8333333f;
constexpr float kSmallestFade = 0.000001f;
constexpr int32_t kLastTableIndex = CDSPTables::kTableSize - 1;

constexpr auto kRelaxed = std::memory_order_relaxed;

static_assert((64 * CQuilletSampler::kMaximumStep + kPhaseMask) >> kPhaseBits == 4096, "one block reads 4096 frames at most");
static_assert(4096 + kLookAhead == CQuilletSampler::kSourceFrames, "source buffers hold a block and its look-ahead");

float Dot(const float* taps, const float* source) {
    return taps[0] * source[0] + taps[1] * source[1] + taps[2] * source[2] + taps[3] * source[3] +
           taps[4] * source[4] + taps[5] * source[5];
}

}  // namespace

CQuilletSampler::CQuilletSampler(const CABCWaveSample* sample, uint32_t outputRate)
    : fWaveSample(sample),
      fOutputRate(ClampSampleRate(outputRate)),
      fTables(CDSPTablesCache::Get(fOutputRate)),
      fInterpolation(CDSPTables::GetInterpolationTable()) {
    CDSPTables::GetPitchTable();
    AllocateBuffers();
}

CQuilletSampler::CQuilletSampler(const CQuilletSampler& other)
    : fWaveSample(other.fWaveSample),
      fOutputRate(other.fOutputRate),
      fTables(other.fTables),
      fInterpolation(other.fInterpolation),
      fPitch(other.fPitch.load(kRelaxed)),
      fGain(other.fGain.load(kRelaxed)),
      fEnvelopeOn(other.fEnvelopeOn.load(kRelaxed)),
      fAttack(other.fAttack.load(kRelaxed)),
      fDecay(other.fDecay.load(kRelaxed)),
      fStretch(other.fStretch.load(kRelaxed)),
      fShaperOn(other.fShaperOn.load(kRelaxed)),
      fShaperThreshold(other.fShaperThreshold.load(kRelaxed)),
      fShaperRatio(other.fShaperRatio.load(kRelaxed)),
      fShaperAttack(other.fShaperAttack.load(kRelaxed)),
      fShaperRelease(other.fShaperRelease.load(kRelaxed)) {
    AllocateBuffers();
}

CQuilletSampler::~CQuilletSampler() = default;

void CQuilletSampler::AllocateBuffers() {
    try {
        fSourceLeft.reset(new float[kSourceFrames]());
        fSourceRight.reset(new float[kSourceFrames]());
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the sampler buffers");
    }
}

void CQuilletSampler::SetWaveSample(const CABCWaveSample* sample) { fWaveSample = sample; }

void CQuilletSampler::SetOutputRate(uint32_t outputRate) {
    const uint32_t rate = ClampSampleRate(outputRate);
    fTables = CDSPTablesCache::Get(rate);
    fOutputRate = rate;
}

void CQuilletSampler::SetPitch(int16_t cents) { fPitch.store(cents, kRelaxed); }
void CQuilletSampler::SetGain(int16_t gain) { fGain.store(float(gain), kRelaxed); }
void CQuilletSampler::SetEnvelopeOn(bool on) { fEnvelopeOn.store(on, kRelaxed); }
void CQuilletSampler::SetAttack(int16_t attack) { fAttack.store(attack, kRelaxed); }
void CQuilletSampler::SetDecay(int16_t decay) { fDecay.store(decay, kRelaxed); }
void CQuilletSampler::SetStretch(int16_t stretch) { fStretch.store(stretch, kRelaxed); }
void CQuilletSampler::SetShaperOn(bool on) { fShaperOn.store(on, kRelaxed); }
void CQuilletSampler::SetShaperThreshold(int16_t threshold) { fShaperThreshold.store(threshold, kRelaxed); }
void CQuilletSampler::SetShaperRatio(int16_t ratio) { fShaperRatio.store(ratio, kRelaxed); }
void CQuilletSampler::SetShaperAttack(int16_t attack) { fShaperAttack.store(attack, kRelaxed); }
void CQuilletSampler::SetShaperRelease(int16_t release) { fShaperRelease.store(release, kRelaxed); }

void CQuilletSampler::SetEnvelope(const SEnvelopeSettings& envelope) {
    SetEnvelopeOn(envelope.fOn);
    SetAttack(envelope.fAttack);
    SetDecay(envelope.fDecay);
    SetStretch(envelope.fStretch);
}

SEnvelopeSettings CQuilletSampler::GetEnvelope() const {
    return {fEnvelopeOn.load(kRelaxed), fAttack.load(kRelaxed), fDecay.load(kRelaxed), fStretch.load(kRelaxed)};
}

void CQuilletSampler::SetTransientShaper(const STransientShaperSettings& shaper) {
    SetShaperOn(shaper.fOn);
    SetShaperThreshold(shaper.fThreshold);
    SetShaperRatio(shaper.fRatio);
    SetShaperAttack(shaper.fAttack);
    SetShaperRelease(shaper.fRelease);
}

STransientShaperSettings CQuilletSampler::GetTransientShaper() const {
    return {fShaperOn.load(kRelaxed), fShaperThreshold.load(kRelaxed), fShaperRatio.load(kRelaxed),
            fShaperAttack.load(kRelaxed), fShaperRelease.load(kRelaxed)};
}

CQuilletSampler::SBlockSettings CQuilletSampler::LoadSettings() const {
    return {fPitch.load(kRelaxed), fGain.load(kRelaxed), GetEnvelope(), GetTransientShaper()};
}

CQuilletSampler::SVoice& CQuilletSampler::TakeVoice() {
    SVoice& voice = fVoices[fNextVoice];
    fNextVoice = (fNextVoice + 1) % kVoiceCount;
    ReleaseAllVoices();
    voice = SVoice();
    voice.fSerial = ++fSerial;
    const uint32_t sampleRate = fWaveSample ? ClampSampleRate(fWaveSample->GetSampleRate()) : fOutputRate;
    voice.fRateRatio = double(sampleRate) / double(fOutputRate);
    return voice;
}

void CQuilletSampler::StartSliceVoice(const SPlayListEntry& entry) {
    SVoice& voice = TakeVoice();
    SVoiceState& state = voice.fState;
    const bool envelopeOn = fEnvelopeOn.load(kRelaxed);
    const int16_t attack = fAttack.load(kRelaxed);
    state.fStart = entry.fStart;
    state.fPosition = entry.fStart;
    // Without an attack the voice sustains at 1.0 in the decay stage, where decay 1023 (or the
    // envelope off) holds it.
    if (envelopeOn && attack > 0) {
        state.fStage = kAttack;
        state.fLevel = 0.0f;
    } else {
        state.fStage = kDecay;
        state.fLevel = 1.0f;
    }
    voice.fEnvelopeStart = entry.fEnvelopeStart;
    voice.fEnvelopeEnd = entry.fEnvelopeEnd;
    voice.fEnd = entry.fEnd;

    const int64_t span = int64_t(entry.fEnvelopeEnd) - entry.fStart;
    const int64_t stretch =
        envelopeOn ? MulDivTruncate(span, int64_t(fStretch.load(kRelaxed)) + 1, 100) : MulDivTruncate(span, 1, 100);
    const int64_t fadeFrames = stretch + (int64_t(entry.fEnd) - entry.fEnvelopeEnd);
    voice.fFadeStep = fadeFrames >= 2 ? float(1.0 / double(fadeFrames)) : 1.0f;
    // An empty envelope span, or a level that is not a number, has no slope.
    const int64_t turn = int64_t(entry.fEnvelopeEnd) - entry.fEnvelopeStart;
    const double endLevel = std::isfinite(entry.fEnvelopeEndLevel) ? entry.fEnvelopeEndLevel : 1.0;
    voice.fSlopeStep = turn > 0 ? float((1.0 - endLevel) / double(turn)) : 0.0f;

    voice.fFollowerRising = fShaperAttack.load(kRelaxed) >= 1;
    state.fFollower = voice.fFollowerRising ? 0.0f : 1.0f;
}

void CQuilletSampler::StartRawVoice(int32_t start, int32_t end, int32_t loopStart, bool loops) {
    SVoice& voice = TakeVoice();
    SVoiceState& state = voice.fState;
    state.fRaw = true;
    state.fStart = start;
    state.fPosition = start;
    state.fStage = kDecay;
    state.fLevel = 1.0f;
    voice.fEnd = end;
    voice.fLoopStart = loopStart;
    voice.fLoops = loops;
}

void CQuilletSampler::ReleaseAllVoices() {
    for (SVoice& voice : fVoices)
        if (voice.fState.fStage != kIdle) voice.fState.fStage = kRelease;
}

void CQuilletSampler::SilenceAllVoices() {
    for (SVoice& voice : fVoices) voice = SVoice();
}

bool CQuilletSampler::IsSounding() const {
    return std::any_of(std::begin(fVoices), std::end(fVoices), [](const SVoice& v) { return v.fState.fStage != kIdle; });
}

int32_t CQuilletSampler::GetSoundingSliceStart() const {
    const SVoice* latest = nullptr;
    for (const SVoice& voice : fVoices)
        if (voice.fState.fStage != kIdle && (!latest || voice.fSerial > latest->fSerial)) latest = &voice;
    return latest ? latest->fState.fStart : -1;
}

CQuilletSampler::SVoiceState CQuilletSampler::GetVoiceState(int32_t voice) const {
    if (voice < 0 || voice >= kVoiceCount) return SVoiceState();
    return fVoices[voice].fState;
}

void CQuilletSampler::GetGainMeter(float& smallest, float& largest) {
    const float least = fMeterSmallest.exchange(kNoSmallestGain, kRelaxed);
    const float most = fMeterLargest.exchange(kNoLargestGain, kRelaxed);
    const bool hasLeast = least != kNoSmallestGain;
    const bool hasMost = most != kNoLargestGain;
    // A block that ended between the two exchanges gave only one of them.
    smallest = hasLeast ? least : hasMost ? most : 1.0f;
    largest = hasMost ? most : hasLeast ? least : 1.0f;
}

void CQuilletSampler::RenderBlock(float* left, float* right) {
    std::fill(left, left + kBlockFrames, 0.0f);
    std::fill(right, right + kBlockFrames, 0.0f);
    const SBlockSettings settings = LoadSettings();
    for (SVoice& voice : fVoices)
        if (voice.fState.fStage != kIdle) RenderVoice(voice, settings, left, right);
    if (!fPendingMeasured) return;
    float least = fMeterSmallest.load(kRelaxed);
    while (fPendingSmallest < least && !fMeterSmallest.compare_exchange_weak(least, fPendingSmallest, kRelaxed)) {
    }
    float most = fMeterLargest.load(kRelaxed);
    while (fPendingLargest > most && !fMeterLargest.compare_exchange_weak(most, fPendingLargest, kRelaxed)) {
    }
    fPendingMeasured = false;
}

// Returns the attack increment applied in this block, 0 outside the attack stage.
float CQuilletSampler::StepEnvelope(SVoice& voice, const SBlockSettings& settings) const {
    SVoiceState& state = voice.fState;
    float rise = 0.0f;
    switch (state.fStage) {
    case kAttack:
        rise = fTables->GetRise(settings.fEnvelope.fOn ? settings.fEnvelope.fAttack : 0);
        state.fLevel += rise;
        if (state.fLevel > 1.0f) {
            state.fLevel = 1.0f;
            state.fStage = kDecay;
        }
        break;
    case kDecay:
        if (!state.fRaw) {
            state.fLevel *= fTables->GetFall(settings.fEnvelope.fOn ? settings.fEnvelope.fDecay : kLastTableIndex);
        }
        break;
    case kRelease:
        state.fLevel *= fTables->GetFall(0);
        break;
    case kIdle:
        break;
    }
    if (voice.fFollowerRising) {
        state.fFollower += fTables->GetRise(settings.fShaper.fAttack);
        if (state.fFollower >= 1.0f) {
            state.fFollower = 1.0f;
            voice.fFollowerRising = false;
        }
    } else {
        state.fFollower *= fTables->GetFall(settings.fShaper.fRelease);
    }
    return rise;
}

float CQuilletSampler::ShaperGain(const SVoice& voice, const SBlockSettings& settings) {
    if (!settings.fShaper.fOn) return 1.0f;
    const float threshold = float(settings.fShaper.fThreshold) / 256.0f + 0.01f;
    // A ratio above 127 could bring the divisor to 0 or below it.
    const float ratio = float(STransientShaperSettings::kLevelRange.Clamp(settings.fShaper.fRatio)) / 127.0f;
    const float level = std::max(threshold, voice.fState.fFollower);
    const float gain = 1.0f / (1.0f - ratio + 2.0f * level * ratio + 0.001f);
    fPendingSmallest = fPendingMeasured ? std::min(fPendingSmallest, gain) : gain;
    fPendingLargest = fPendingMeasured ? std::max(fPendingLargest, gain) : gain;
    fPendingMeasured = true;
    return gain;
}

void CQuilletSampler::ReadFrames(int64_t first, int32_t count, float* left, float* right) const {
    const int64_t frameCount = fWaveSample ? fWaveSample->GetFrameCount() : 0;
    const int64_t low = std::max<int64_t>(first, 0);
    const int64_t high = std::min<int64_t>(first + count, frameCount);
    const int32_t skip = high > low ? int32_t(low - first) : count;
    const int32_t inside = high > low ? int32_t(high - low) : 0;
    for (int32_t channel = 1; channel <= 2; ++channel) {
        float* out = channel == 1 ? left : right;
        if (!out) continue;
        std::fill(out, out + skip, 0.0f);
        if (inside > 0) fWaveSample->GetFloats(int32_t(low), inside, out + skip, channel);
        std::fill(out + skip + inside, out + count, 0.0f);
    }
}

// Fills the source buffers with `frames` frames and the look-ahead. Only the state reached
// after the first `frames` is kept.
void CQuilletSampler::ReadSource(SVoice& voice, int32_t frames, bool stereo) {
    float* left = fSourceLeft.get();
    float* right = stereo ? fSourceRight.get() : nullptr;
    SVoiceState& kept = voice.fState;
    SVoiceState state = kept;
    const int32_t total = frames + kLookAhead;
    for (int32_t i = 0; i < total;) {
        if (i == frames) kept = state;
        const int32_t limit = (i < frames ? frames : total) - i;
        int32_t length;
        if (state.fRaw) {
            if (state.fPosition < voice.fEnd) {
                length = int32_t(std::min<int64_t>(voice.fEnd - state.fPosition, limit));
                ReadFrames(state.fPosition, length, left + i, right ? right + i : nullptr);
                state.fPosition += length;
                if (state.fPosition >= voice.fEnd && voice.fLoops) state.fPosition = voice.fLoopStart;
            } else if (voice.fLoops) {
                // A loop that is empty or was entered past its end: one frame, then back.
                length = 1;
                ReadFrames(state.fPosition, length, left + i, right ? right + i : nullptr);
                state.fPosition = voice.fLoopStart;
            } else {
                length = limit;
                std::fill(left + i, left + i + length, 0.0f);
                if (right) std::fill(right + i, right + i + length, 0.0f);
                state.fPosition += length;
            }
            i += length;
            continue;
        }
        if (!state.fBackward) {
            length = int32_t(std::clamp<int64_t>(voice.fEnvelopeEnd - state.fPosition, 1, limit));
            ReadFrames(state.fPosition, length, left + i, right ? right + i : nullptr);
        } else {
            length = int32_t(std::clamp<int64_t>(state.fPosition - voice.fEnvelopeStart, 1, limit));
            ReadFrames(state.fPosition - length + 1, length, left + i, right ? right + i : nullptr);
            std::reverse(left + i, left + i + length);
            if (right) std::reverse(right + i, right + i + length);
        }
        // Fade and slope stay 1.0 until stretching begins, and it never ends.
        if (state.fStretching) {
            const float slopeStep = state.fBackward ? -voice.fSlopeStep : voice.fSlopeStep;
            for (int32_t k = i; k < i + length; ++k) {
                const float factor = state.fFade * state.fSlope;
                left[k] *= factor;
                if (right) right[k] *= factor;
                state.fFade = std::max(state.fFade - voice.fFadeStep, kSmallestFade);
                state.fSlope += slopeStep;
            }
        }
        if (!state.fBackward) {
            state.fPosition += length;
            if (state.fPosition >= voice.fEnvelopeEnd) {
                state.fStretching = true;
                state.fBackward = true;
                state.fPosition -= 1;
            }
        } else {
            state.fPosition -= length;
            if (state.fPosition <= voice.fEnvelopeStart) state.fBackward = false;
        }
        i += length;
    }
}

void CQuilletSampler::RenderVoice(SVoice& voice, const SBlockSettings& settings, float* left, float* right) {
    SVoiceState& state = voice.fState;
    const float rise = StepEnvelope(voice, settings);
    float target;
    int64_t step;
    if (state.fRaw) {
        target = kOutputScale * state.fLevel;
        step = int64_t(double(CDSPTables::kUnitStep) * voice.fRateRatio);
    } else {
        target = state.fLevel * ShaperGain(voice, settings) * (settings.fGain / 1000.0f) * kOutputScale;
        step = int64_t(double(CDSPTables::GetPitchStep(settings.fPitch)) * voice.fRateRatio);
    }
    step = std::clamp<int64_t>(step, 0, kMaximumStep);
    const int64_t advance = kBlockFrames * step + state.fPhase;
    const int32_t frames = int32_t(advance >> kPhaseBits);
    const bool stereo = fWaveSample && fWaveSample->GetChannelCount() == 2;
    const int64_t phase = state.fPhase;
    ReadSource(voice, frames, stereo);

    const float* sourceLeft = fSourceLeft.get();
    const float* sourceRight = fSourceRight.get();
    float gain = state.fGain;
    const float glide = (target - gain) / float(kBlockFrames);
    float attackSlope = rise / float(kBlockFrames);
    if (glide >= attackSlope) attackSlope = 0.0f;
    bool reached = false;
    for (int32_t j = 0; j < kBlockFrames; ++j) {
        const int64_t position = phase + j * step;
        const int64_t frame = position >> kPhaseBits;
        const float* taps = fInterpolation + ((position >> 6) & 255) * kTaps;
        const float valueLeft = Dot(taps, sourceLeft + frame);
        if (stereo) {
            left[j] += valueLeft * gain;
            right[j] += Dot(taps, sourceRight + frame) * gain;
        } else {
            left[j] += valueLeft * gain;
            right[j] += valueLeft * gain;
        }
        if (attackSlope > 0.0f) {
            if (!reached) {
                gain += attackSlope;
                if (gain >= target) {
                    gain = target;
                    reached = true;
                }
            }
        } else {
            gain += glide;
        }
    }
    state.fGain = gain;
    state.fPhase = int32_t(advance & kPhaseMask);

    const bool ended = state.fRaw && !voice.fLoops && state.fPosition >= voice.fEnd;
    const bool silent = state.fStage != kAttack && state.fLevel * state.fFade < kSilentLevel;
    if (ended || silent) voice = SVoice();
}

}  // namespace NSQuillet
