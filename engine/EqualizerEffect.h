#pragma once

#include <atomic>
#include <cstdint>

#include "engine/EqualizerSettings.h"

namespace NSQuillet {

// The preview's equalizer: low cut, low and high peaking bands, high cut, over every 64-frame
// block. Parameter changes glide 5 % of the way to their target per block.
//
// Threads: setters on the user-interface thread under the sequencer's state lock; Process on
// the audio thread outside it, never allocating or blocking. Targets, switches and the rate
// are atomic, so a block sees a new value at most one block late.
class CEqualizerEffect {
public:
    static constexpr int32_t kBlockFrames = 64;

    // Low band (c0, c1, c2, a), high band (d0, d1, d2, b), low-cut stage (l0, l1, l2),
    // high-cut stage (h0, h1, h2).
    struct SCoefficients {
        float c0 = 0, c1 = 0, c2 = 0, a = 0;
        float d0 = 0, d1 = 0, d2 = 0, b = 0;
        float l0 = 0, l1 = 0, l2 = 0;
        float h0 = 0, h1 = 0, h2 = 0;
    };

    // The settings start at SEqualizerSettings' defaults.
    explicit CEqualizerEffect(uint32_t sampleRate);
    // Copies settings and working values; coefficients and filter state start cleared.
    CEqualizerEffect(const CEqualizerEffect& other);
    CEqualizerEffect& operator=(const CEqualizerEffect& other);

    // The switch and every target at once; each is stored on its own, so one block may see
    // part of a change.
    void SetSettings(const SEqualizerSettings& settings);
    SEqualizerSettings GetSettings() const;
    // Targets: low cut and high cut in Hz, frequencies in Hz, Q × 1000, gains in thousandths
    // of a dB.
    void SetLowCut(int16_t hertz);
    void SetLowFrequency(int16_t hertz);
    void SetLowQ(int16_t q);
    void SetLowGain(int16_t millidecibels);
    void SetHighFrequency(int16_t hertz);
    void SetHighQ(int16_t q);
    void SetHighGain(int16_t millidecibels);
    void SetHighCut(int16_t hertz);
    int16_t GetLowCut() const { return Target(kLowCut); }
    int16_t GetLowFrequency() const { return Target(kLowFrequency); }
    int16_t GetLowQ() const { return Target(kLowQ); }
    int16_t GetLowGain() const { return Target(kLowGain); }
    int16_t GetHighFrequency() const { return Target(kHighFrequency); }
    int16_t GetHighQ() const { return Target(kHighQ); }
    int16_t GetHighGain() const { return Target(kHighGain); }
    int16_t GetHighCut() const { return Target(kHighCut); }
    void SetOn(bool on);
    bool IsOn() const;
    void SetPreviewActive(bool active);
    bool IsPreviewActive() const;
    // Clamped to 11025..1000000.
    void SetSampleRate(uint32_t sampleRate);
    uint32_t GetSampleRate() const;

    // Zeroes coefficients and channel state; every working value jumps to its target.
    void Reset();
    // One 64-frame block, in place.
    void Process(float* left, float* right);

    // The coefficients the last Process computed (all 0 after Reset or copying).
    const SCoefficients& GetCoefficients() const { return fCoefficients; }

private:
    enum EParameter { kLowCut, kLowFrequency, kLowQ, kLowGain, kHighFrequency, kHighQ, kHighGain, kHighCut, kParameterCount };

    // Last two inputs, two values per band, two per cut stage.
    struct SChannelState {
        float x1 = 0, x2 = 0;
        float p1 = 0, p2 = 0;
        float q1 = 0, q2 = 0;
        float z1 = 0, z2 = 0;
        float o1 = 0, o2 = 0;
    };

    int16_t Target(EParameter parameter) const;
    void SetTarget(EParameter parameter, int16_t value);
    void CopySettingsFrom(const CEqualizerEffect& other);
    void UpdateCoefficients();
    void Filter(float* samples, SChannelState& state) const;

    std::atomic<bool> fOn{SEqualizerSettings{}.fOn};
    std::atomic<bool> fPreviewActive{false};
    std::atomic<uint32_t> fSampleRate;
    std::atomic<float> fTargets[kParameterCount];
    // Audio thread only.
    float fWorking[kParameterCount];
    SCoefficients fCoefficients;
    SChannelState fState[2];
    bool fActive = false;
};

}  // namespace NSQuillet
