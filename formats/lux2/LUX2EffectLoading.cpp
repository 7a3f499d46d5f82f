#include "formats/lux2/LUX2EffectLoading.h"

#include <cmath>

#include "engine/DSPTablesCache.h"

namespace NSQuillet {

namespace {

constexpr int32_t kEndlessTime = 1023;
constexpr SLUX2Range kAttack{0, 520};
constexpr SLUX2Range kDecay{58, 749};
constexpr SLUX2Range kRelease{134, 666};
// The old scale's top value: no decay, no release.
constexpr int32_t kOldEndless = 127;

int16_t Clamped(const SLUX2Range& range, int32_t value) { return int16_t(range.Clamp(value)); }

int16_t DecayFrom(int32_t index) { return index == kEndlessTime ? int16_t(kEndlessTime) : Clamped(kDecay, index); }

int32_t OldAttackToIndex(int32_t stored, int32_t divisor, uint32_t sampleRate) {
    return stored == 0 ? 0 : OldScaleTimeToIndex(stored / divisor, sampleRate);
}

int32_t OldEndlessTimeToIndex(int32_t v, uint32_t sampleRate) {
    return v == kOldEndless ? kEndlessTime : OldScaleTimeToIndex(v, sampleRate);
}

}  // namespace

int32_t OldScaleTimeToIndex(int32_t v, uint32_t sampleRate) {
    const CDSPTables& tables = *CDSPTablesCache::Get(sampleRate);
    const double time = 4.0 * std::pow(1.1, double(v) * 100.0 / 128.0);
    int32_t nearest = 0;
    double nearestDistance = std::fabs(double(tables.GetTime(0)) - time);
    for (int32_t i = 1; i < CDSPTables::kTableSize; ++i) {
        const double distance = std::fabs(double(tables.GetTime(i)) - time);
        if (distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void LoadLUX2Effects(const CVersion& headerVersion, uint32_t sampleRate, const SLUX2Envelope& envelope,
                     const SLUX2Equalizer& equalizer, const SLUX2TransientShaper& shaper,
                     SLoopFileSettings& settings) {
    settings.fEnvelopeOn = envelope.fOn;
    settings.fEnvelopeStretch = Clamped(CLUX2EnvelopeChunk::kStretch, envelope.fStretch);

    settings.fEqualizerOn = equalizer.fOn;
    settings.fEqualizerLowCut = Clamped(CLUX2EqualizerChunk::kLowCut, equalizer.fLowCut);
    settings.fEqualizerLowFrequency = Clamped(CLUX2EqualizerChunk::kLowFrequency, equalizer.fLowFrequency);
    settings.fEqualizerLowGain = Clamped(CLUX2EqualizerChunk::kGain, equalizer.fLowGain);
    settings.fEqualizerLowQ = Clamped(CLUX2EqualizerChunk::kQ, equalizer.fLowQ);
    settings.fEqualizerHighFrequency = Clamped(CLUX2EqualizerChunk::kHighFrequency, equalizer.fHighFrequency);
    settings.fEqualizerHighGain = Clamped(CLUX2EqualizerChunk::kGain, equalizer.fHighGain);
    settings.fEqualizerHighQ = Clamped(CLUX2EqualizerChunk::kQ, equalizer.fHighQ);
    settings.fEqualizerHighCut = Clamped(CLUX2EqualizerChunk::kHighCut, equalizer.fHighCut);

    settings.fTransientShaperOn = shaper.fOn;
    settings.fTransientShaperThreshold = Clamped(CLUX2TransientShaperChunk::kLevel, shaper.fThreshold);
    settings.fTransientShaperRatio = Clamped(CLUX2TransientShaperChunk::kLevel, shaper.fRatio);

    if (headerVersion >= CVersion(2, 0)) {
        settings.fEnvelopeAttack = Clamped(kAttack, envelope.fAttack);
        settings.fEnvelopeDecay = DecayFrom(envelope.fDecay);
        settings.fTransientShaperAttack = Clamped(kAttack, shaper.fAttack);
        settings.fTransientShaperRelease = Clamped(kRelease, shaper.fRelease);
    } else if (headerVersion == CVersion(1, 0)) {
        settings.fEnvelopeAttack = Clamped(kAttack, OldAttackToIndex(envelope.fAttack, 2, sampleRate));
        settings.fEnvelopeDecay = DecayFrom(OldEndlessTimeToIndex(envelope.fDecay, sampleRate));
        settings.fTransientShaperAttack = Clamped(kAttack, OldAttackToIndex(shaper.fAttack, 3, sampleRate));
        settings.fTransientShaperRelease =
            Clamped(kRelease, OldEndlessTimeToIndex(shaper.fRelease / 2 + 16, sampleRate));
    }
}

}  // namespace NSQuillet
