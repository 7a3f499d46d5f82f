#pragma once

#include <cstdint>
#include <tuple>

#include "foundation/ValueRange.h"

namespace NSQuillet {

// How long the loop is in bars and beats, its time signature and the preview settings, with
// the tempo and tick arithmetic over the loop's frame count F (right locator − left locator)
// and the sample rate. A value class; the sequencer holds one under its state lock.
//
// Rates given here are clamped to 11025..1000000 before use. Tempos are in thousandths of
// a beat per minute. Nothing here allocates or throws.
class CLoopSettings {
public:
    // What a loop file keeps and the controls offer. The setters only keep the arithmetic
    // defined: bars and beats at least 0, the time signature at least 1, the tempo in range.
    static constexpr SValueRange kBarsRange{0, 999};
    static constexpr SValueRange kBeatsRange{0, 7};
    static constexpr SValueRange kTimeSignatureRange{1, 15};
    static constexpr SValueRange kPreviewTempoRange{20000, 450000};
    static constexpr int32_t kMaximumTempo = 999999;

    bool IsPreviewOn() const { return fPreviewOn; }
    void SetPreviewOn(bool on) { fPreviewOn = on; }
    bool IsSilenceSelected() const { return fSilenceSelected; }
    void SetSilenceSelected(bool on) { fSilenceSelected = on; }
    int32_t GetPreviewTempo() const { return fPreviewTempo; }
    // Clamped to 20000..450000: the conversions divide by it.
    void SetPreviewTempo(int32_t tempo) { fPreviewTempo = ClampPreviewTempo(tempo); }
    int32_t GetTimeSignatureNumerator() const { return fTimeSignatureNumerator; }
    // At least 1.
    void SetTimeSignatureNumerator(int32_t beatsPerBar);
    int32_t GetTimeSignatureDenominator() const { return fTimeSignatureDenominator; }
    // At least 1.
    void SetTimeSignatureDenominator(int32_t noteValue);
    int32_t GetBars() const { return fBars; }
    // At least 0.
    void SetBars(int32_t bars);
    int32_t GetBeats() const { return fBeats; }
    // At least 0.
    void SetBeats(int32_t beats);

    // T = bars × numerator + beats.
    int64_t GetTotalBeats() const;
    bool IsLoopLengthSet() const { return fBars != 0 || fBeats != 0; }
    bool IsPreviewActive() const { return fPreviewOn && IsLoopLengthSet(); }

    // T over the loop's duration, rounded to the nearest unit, at most 999999; 0 when the
    // length is not set or the loop has no frames.
    int32_t GetOriginalTempo(int64_t loopFrames, uint32_t sampleRate) const;
    // `frames` of the sample as output frames: stretched by original over preview tempo when
    // preview is active, then converted from the sample rate to the output rate, rounded.
    int64_t SampleFramesToOutputFrames(int64_t frames, int64_t loopFrames, uint32_t sampleRate,
                                       uint32_t outputRate) const;
    // Frames per beat, F / T; 0 when T is 0.
    double GetBeatLength(int64_t loopFrames) const;
    // 15360 ticks per quarter note over the whole loop, within the 32-bit range.
    int32_t GetLoopTicks() const;
    // A frame offset into the loop in ticks, rounded, clamped to 0..GetLoopTicks(); 0 when
    // the loop has no length in frames or beats.
    int32_t FramesToTicks(int64_t frames, int64_t loopFrames) const;

    static int32_t ClampPreviewTempo(int32_t tempo);

private:
    bool fPreviewOn = false;
    bool fSilenceSelected = false;
    int32_t fPreviewTempo = 130000;
    int32_t fTimeSignatureNumerator = 4;
    int32_t fTimeSignatureDenominator = 4;
    int32_t fBars = 0;
    int32_t fBeats = 0;

public:
    // Every setting, for comparing whole values.
    auto Tied() const {
        return std::tie(fPreviewOn, fSilenceSelected, fPreviewTempo, fTimeSignatureNumerator, fTimeSignatureDenominator,
                        fBars, fBeats);
    }
    friend bool operator==(const CLoopSettings& a, const CLoopSettings& b) { return a.Tied() == b.Tied(); }
    friend bool operator!=(const CLoopSettings& a, const CLoopSettings& b) { return !(a == b); }
};

}  // namespace NSQuillet
