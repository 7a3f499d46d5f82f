#include "engine/LoopSettings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/MulDiv.h"
#include "foundation/SampleRate.h"
#include "foundation/Units.h"

namespace NSQuillet {

void CLoopSettings::SetTimeSignatureNumerator(int32_t beatsPerBar) { fTimeSignatureNumerator = std::max(beatsPerBar, 1); }

void CLoopSettings::SetTimeSignatureDenominator(int32_t noteValue) {
    fTimeSignatureDenominator = std::max(noteValue, 1);
}

void CLoopSettings::SetBars(int32_t bars) { fBars = std::max(bars, 0); }

void CLoopSettings::SetBeats(int32_t beats) { fBeats = std::max(beats, 0); }

int64_t CLoopSettings::GetTotalBeats() const { return int64_t(fBars) * fTimeSignatureNumerator + fBeats; }

int32_t CLoopSettings::GetOriginalTempo(int64_t loopFrames, uint32_t sampleRate) const {
    const double minutes = double(loopFrames) / (double(ClampSampleRate(sampleRate)) * 60.0);
    if (!(minutes > 0.0)) return 0;
    const double tempo = double(GetTotalBeats()) / minutes * kTempoUnitsPerBeatPerMinute + 0.5;
    if (!(tempo > 0.0)) return 0;
    if (tempo >= double(kMaximumTempo)) return kMaximumTempo;
    return int32_t(tempo);
}

int64_t CLoopSettings::SampleFramesToOutputFrames(int64_t frames, int64_t loopFrames, uint32_t sampleRate,
                                                  uint32_t outputRate) const {
    double x = double(frames);
    if (IsPreviewActive()) x = double(GetOriginalTempo(loopFrames, sampleRate)) * x / double(fPreviewTempo);
    const double result = x * double(ClampSampleRate(outputRate)) / double(ClampSampleRate(sampleRate)) + 0.5;
    return int64_t(result);
}

double CLoopSettings::GetBeatLength(int64_t loopFrames) const {
    const int64_t beats = GetTotalBeats();
    return beats == 0 ? 0.0 : double(loopFrames) / double(beats);
}

int32_t CLoopSettings::GetLoopTicks() const {
    const int64_t ticks = MulDivTruncate(kTicksPerQuarterNote, GetTotalBeats() * 4, fTimeSignatureDenominator);
    return int32_t(std::clamp<int64_t>(ticks, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t CLoopSettings::FramesToTicks(int64_t frames, int64_t loopFrames) const {
    const double quarter = double(loopFrames) * fTimeSignatureDenominator / (double(GetTotalBeats()) * 4.0);
    if (!(quarter > 0.0) || !std::isfinite(quarter)) return 0;
    const double ticks = double(frames) * kTicksPerQuarterNote / quarter + 0.5;
    const int32_t loopTicks = GetLoopTicks();
    if (!(ticks > 0.0)) return 0;
    if (ticks >= double(loopTicks)) return loopTicks;
    return int32_t(ticks);
}

int32_t CLoopSettings::ClampPreviewTempo(int32_t tempo) {
    return int32_t(kPreviewTempoRange.Clamp(tempo));
}

}  // namespace NSQuillet
