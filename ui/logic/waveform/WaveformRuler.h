#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/logic/waveform/WaveformGeometry.h"

namespace NSQuillet {

// One tick of the ruler in the marker strip: a line at fX, its label starting 4 px right of it.
struct SRulerTick {
    int32_t fX = 0;
    std::string fLabel;
    friend bool operator==(const SRulerTick& a, const SRulerTick& b) { return a.fX == b.fX && a.fLabel == b.fLabel; }
};

namespace NSWaveformRuler {

inline constexpr int32_t kMinimumLabelPixels = 40;
inline constexpr int32_t kLabelOffset = 4;

// Step in frames: the smallest of 10, 50, … 50,000,000 that is at least 40 pixels' worth.
int64_t SamplesStep(double framesPerPixel);
// "^0", "^0k" from 1,000, "^0M" from 1,000,000.
std::string SamplesLabel(int64_t frame);
// Step in milliseconds: the smallest of 1, 10, 100, 1000, 10000, 60000, 600000 ≥ 40 pixels' worth.
int64_t TimeStep(double millisecondsPerPixel);
// Seconds with 3, 2, 1 or 0 decimals by the step; whole minutes "^0 m" from a one-minute step.
std::string TimeLabel(int64_t milliseconds, int64_t step);

// Ticks at every multiple of the step from the first at or after the visible start, while
// inside the content.
std::vector<SRulerTick> SamplesTicks(const CWaveformGeometry& geometry);
std::vector<SRulerTick> TimeTicks(const CWaveformGeometry& geometry, int32_t sampleRate);
// Bars and beats of the loop between the locators: the loop length `bars` bars plus `beats`
// beats of `numerator`/`denominator` spread evenly over [left, right); labels "bar.beat"
// counted from 1.1 at the left locator, beats left out when they would be closer than 40 px,
// then bars likewise (every 2nd, 4th, … bar). None when the loop has no length.
std::vector<SRulerTick> BeatsTicks(const CWaveformGeometry& geometry, int32_t left, int32_t right, int32_t bars,
                                   int32_t beats, int32_t numerator, int32_t denominator);

}  // namespace NSWaveformRuler
}  // namespace NSQuillet
