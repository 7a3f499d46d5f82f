#include "engine/EqualizerEffect.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr float kPi = 3.14159265358979f;
// 20000 / 44100: the highest corner or centre, as a fraction of the rate.
constexpr float kHighestFraction = 0.45351473f;
// Keeps the recursions away from denormal numbers.
constexpr float kAntiDenormal = 0.000001f;
// Q × 1000 below this makes the band's poles leave the unit circle (0 gives 0/0 at 0 Hz).
constexpr float kSmallestQ = 1.0f;

// The settings' targets in the order of EParameter.
constexpr int16_t SEqualizerSettings::*kTargetFields[] = {
    &SEqualizerSettings::fLowCut,        &SEqualizerSettings::fLowFrequency, &SEqualizerSettings::fLowQ,
    &SEqualizerSettings::fLowGain,       &SEqualizerSettings::fHighFrequency, &SEqualizerSettings::fHighQ,
    &SEqualizerSettings::fHighGain,      &SEqualizerSettings::fHighCut,
};

static_assert(std::atomic<float>::is_always_lock_free, "the audio thread may not lock");

struct SBand {
    float c0, c1, c2, a;
};

SBand PeakingBand(float frequency, float q, float gain, float fs, float fmax) {
    const float f = std::clamp(frequency, 0.0f, fmax);
    const float w = 2.0f * kPi * f / fs;
    float quality = std::max(q, kSmallestQ) / 1000.0f;
    const float decibels = gain / 1000.0f;
    const float added = std::pow(10.0f, decibels / 20.0f) - 0.999999f;
    if (decibels < -1.0f) quality = (-2.0f / decibels) * quality;
    const float beta = (quality - w / 2.0f) / (2.0f * quality + w);
    return {0.5f - beta, 2.0f * std::cos(w) * (beta + 0.5f), 2.0f * beta, added};
}

}  // namespace

CEqualizerEffect::CEqualizerEffect(uint32_t sampleRate) : fSampleRate(ClampSampleRate(sampleRate)) {
    static_assert(std::size(kTargetFields) == kParameterCount, "one field a target");
    const SEqualizerSettings defaults;
    for (int32_t i = 0; i < kParameterCount; ++i) {
        fTargets[i].store(float(defaults.*kTargetFields[i]), std::memory_order_relaxed);
        fWorking[i] = float(defaults.*kTargetFields[i]);
    }
}

CEqualizerEffect::CEqualizerEffect(const CEqualizerEffect& other) { CopySettingsFrom(other); }

CEqualizerEffect& CEqualizerEffect::operator=(const CEqualizerEffect& other) {
    if (this != &other) CopySettingsFrom(other);
    return *this;
}

// The copy has not run: its first active block starts from a reset.
void CEqualizerEffect::CopySettingsFrom(const CEqualizerEffect& other) {
    fOn.store(other.fOn.load(std::memory_order_relaxed), std::memory_order_relaxed);
    fPreviewActive.store(other.fPreviewActive.load(std::memory_order_relaxed), std::memory_order_relaxed);
    fSampleRate.store(other.fSampleRate.load(std::memory_order_relaxed), std::memory_order_relaxed);
    for (int32_t i = 0; i < kParameterCount; ++i) {
        fTargets[i].store(other.fTargets[i].load(std::memory_order_relaxed), std::memory_order_relaxed);
        fWorking[i] = other.fWorking[i];
    }
    fCoefficients = SCoefficients();
    fState[0] = SChannelState();
    fState[1] = SChannelState();
    fActive = false;
}

int16_t CEqualizerEffect::Target(EParameter parameter) const {
    return int16_t(fTargets[parameter].load(std::memory_order_relaxed));
}

void CEqualizerEffect::SetTarget(EParameter parameter, int16_t value) {
    fTargets[parameter].store(float(value), std::memory_order_relaxed);
}

void CEqualizerEffect::SetLowCut(int16_t hertz) { SetTarget(kLowCut, hertz); }
void CEqualizerEffect::SetLowFrequency(int16_t hertz) { SetTarget(kLowFrequency, hertz); }
void CEqualizerEffect::SetLowQ(int16_t q) { SetTarget(kLowQ, q); }
void CEqualizerEffect::SetLowGain(int16_t millidecibels) { SetTarget(kLowGain, millidecibels); }
void CEqualizerEffect::SetHighFrequency(int16_t hertz) { SetTarget(kHighFrequency, hertz); }
void CEqualizerEffect::SetHighQ(int16_t q) { SetTarget(kHighQ, q); }
void CEqualizerEffect::SetHighGain(int16_t millidecibels) { SetTarget(kHighGain, millidecibels); }
void CEqualizerEffect::SetHighCut(int16_t hertz) { SetTarget(kHighCut, hertz); }

void CEqualizerEffect::SetSettings(const SEqualizerSettings& settings) {
    SetOn(settings.fOn);
    for (int32_t i = 0; i < kParameterCount; ++i) SetTarget(EParameter(i), settings.*kTargetFields[i]);
}

SEqualizerSettings CEqualizerEffect::GetSettings() const {
    SEqualizerSettings settings;
    settings.fOn = IsOn();
    for (int32_t i = 0; i < kParameterCount; ++i) settings.*kTargetFields[i] = Target(EParameter(i));
    return settings;
}

void CEqualizerEffect::SetOn(bool on) { fOn.store(on, std::memory_order_relaxed); }
bool CEqualizerEffect::IsOn() const { return fOn.load(std::memory_order_relaxed); }
void CEqualizerEffect::SetPreviewActive(bool active) { fPreviewActive.store(active, std::memory_order_relaxed); }
bool CEqualizerEffect::IsPreviewActive() const { return fPreviewActive.load(std::memory_order_relaxed); }

void CEqualizerEffect::SetSampleRate(uint32_t sampleRate) {
    fSampleRate.store(ClampSampleRate(sampleRate), std::memory_order_relaxed);
}

uint32_t CEqualizerEffect::GetSampleRate() const { return fSampleRate.load(std::memory_order_relaxed); }

void CEqualizerEffect::Reset() {
    fCoefficients = SCoefficients();
    fState[0] = SChannelState();
    fState[1] = SChannelState();
    for (int32_t i = 0; i < kParameterCount; ++i) fWorking[i] = fTargets[i].load(std::memory_order_relaxed);
}

void CEqualizerEffect::Process(float* left, float* right) {
    const bool active = IsOn() && IsPreviewActive();
    if (active != fActive) {
        fActive = active;
        Reset();
    }
    for (int32_t i = 0; i < kParameterCount; ++i)
        fWorking[i] = fWorking[i] * 0.95f + fTargets[i].load(std::memory_order_relaxed) * 0.05f;
    UpdateCoefficients();
    if (!active) return;
    Filter(left, fState[0]);
    Filter(right, fState[1]);
}

void CEqualizerEffect::UpdateCoefficients() {
    const float fs = float(GetSampleRate());
    const float fmax = fs * kHighestFraction;
    SCoefficients& c = fCoefficients;

    const SBand low = PeakingBand(fWorking[kLowFrequency], fWorking[kLowQ], fWorking[kLowGain], fs, fmax);
    c.c0 = low.c0;
    c.c1 = low.c1;
    c.c2 = low.c2;
    c.a = low.a;
    const SBand high = PeakingBand(fWorking[kHighFrequency], fWorking[kHighQ], fWorking[kHighGain], fs, fmax);
    c.d0 = high.c0;
    c.d1 = high.c1;
    c.d2 = high.c2;
    c.b = high.a;

    const float w = kPi * std::clamp(fWorking[kLowCut], 0.0f, fmax) / fs;
    c.l0 = 2.0f * std::cos(2.0f * w) * std::exp(-w / 0.707f);
    c.l1 = std::exp(-2.0f * w / 0.707f);
    c.l2 = std::cos(w);

    const float r = std::clamp(fWorking[kHighCut], 0.0f, fmax) / fs;
    const float v = kPi * r;
    const float k = 0.6f - r;
    c.h0 = 2.0f * std::cos(2.0f * v) * std::exp(-v / k);
    c.h1 = std::exp(-2.0f * v / k);
    c.h2 = c.h1 + 1.0f - c.h0;
}

void CEqualizerEffect::Filter(float* samples, SChannelState& s) const {
    const SCoefficients& c = fCoefficients;
    for (int32_t i = 0; i < kBlockFrames; ++i) {
        const float x = samples[i];
        const float d = x - s.x2 + kAntiDenormal;
        const float p = c.c0 * d + c.c1 * s.p1 - c.c2 * s.p2;
        const float q = c.d0 * d + c.d1 * s.q1 - c.d2 * s.q2;
        const float y = x + c.a * p + c.b * q;
        const float z = c.l0 * s.z1 - c.l1 * s.z2 + c.l2 * y;
        const float o = c.h0 * s.o1 - c.h1 * s.o2 + c.h2 * (z - 2.0f * s.z1 + s.z2);
        s.x2 = s.x1;
        s.x1 = x;
        s.p2 = s.p1;
        s.p1 = p;
        s.q2 = s.q1;
        s.q1 = q;
        s.z2 = s.z1;
        s.z1 = z;
        s.o2 = s.o1;
        s.o1 = o;
        samples[i] = o;
    }
}

}  // namespace NSQuillet
