#include "formats/lux2/LUX2EffectLoading.h"

#include <cmath>

#include "engine/DSPTablesCache.h"
#include "formats/lux2/LUX2EqualizerChunk.h"

namespace NSQuillet {

namespace {

using SEnvelope = SEnvelopeSettings;
using SShaper = STransientShaperSettings;

// The old scale's top value: no decay, no release.
constexpr int32_t kOldEndless = 127;

int16_t Clamped(const SValueRange& range, int32_t value) { return int16_t(range.Clamp(value)); }

int16_t DecayFrom(int32_t index) {
    return index == SEnvelope::kEndlessDecay ? SEnvelope::kEndlessDecay : Clamped(SEnvelope::kDecayRange, index);
}

int32_t OldAttackToIndex(int32_t stored, int32_t divisor, uint32_t sampleRate) {
    return stored == 0 ? 0 : OldScaleTimeToIndex(stored / divisor, sampleRate);
}

int32_t OldEndlessTimeToIndex(int32_t v, uint32_t sampleRate) {
    return v == kOldEndless ? SEnvelope::kEndlessDecay : OldScaleTimeToIndex(v, sampleRate);
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

void LoadLUX2Effects(const CVersion& headerVersion, uint32_t sampleRate, const SEnvelopeSettings& envelope,
                     const SEqualizerSettings& equalizer, const STransientShaperSettings& shaper,
                     SLoopFileSettings& settings) {
    settings.fEnvelope.fOn = envelope.fOn;
    settings.fEnvelope.fStretch = Clamped(SEnvelope::kStretchRange, envelope.fStretch);

    settings.fEqualizer = equalizer;
    for (const SLUX2EffectField<SEqualizerSettings>& field : SLUX2EqualizerLayout::kFields) {
        settings.fEqualizer.*field.fMember = Clamped(field.fRange, equalizer.*field.fMember);
    }

    settings.fTransientShaper.fOn = shaper.fOn;
    settings.fTransientShaper.fThreshold = Clamped(SShaper::kLevelRange, shaper.fThreshold);
    settings.fTransientShaper.fRatio = Clamped(SShaper::kLevelRange, shaper.fRatio);

    SEnvelopeSettings& toEnvelope = settings.fEnvelope;
    STransientShaperSettings& toShaper = settings.fTransientShaper;
    if (headerVersion >= CVersion(2, 0)) {
        toEnvelope.fAttack = Clamped(SEnvelope::kAttackRange, envelope.fAttack);
        toEnvelope.fDecay = DecayFrom(envelope.fDecay);
        toShaper.fAttack = Clamped(SShaper::kAttackRange, shaper.fAttack);
        toShaper.fRelease = Clamped(SShaper::kReleaseRange, shaper.fRelease);
    } else if (headerVersion == CVersion(1, 0)) {
        toEnvelope.fAttack = Clamped(SEnvelope::kAttackRange, OldAttackToIndex(envelope.fAttack, 2, sampleRate));
        toEnvelope.fDecay = DecayFrom(OldEndlessTimeToIndex(envelope.fDecay, sampleRate));
        toShaper.fAttack = Clamped(SShaper::kAttackRange, OldAttackToIndex(shaper.fAttack, 3, sampleRate));
        toShaper.fRelease =
            Clamped(SShaper::kReleaseRange, OldEndlessTimeToIndex(shaper.fRelease / 2 + 16, sampleRate));
    }
}

}  // namespace NSQuillet
