#include "ui/logic/waveform/WaveformRuler.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/SampleRate.h"

namespace NSQuillet {
namespace NSWaveformRuler {

namespace {

constexpr int64_t kSamplesSteps[] = {10,    50,     100,    500,     1000,    5000,     10000,
                                     50000, 100000, 500000, 1000000, 5000000, 10000000, 50000000};
constexpr int64_t kTimeSteps[] = {1, 10, 100, 1000, 10000, 60000, 600000};

template <size_t N>
int64_t SmallestStepOf(const int64_t (&steps)[N], double perPixel) {
    const double wanted = kMinimumLabelPixels * perPixel;
    for (int64_t step : steps) {
        if (double(step) >= wanted) return step;
    }
    return steps[N - 1];
}

// `value` / `unit` exactly, trailing zeros of the fraction left out.
std::string ScaledDecimal(int64_t value, int64_t unit, int32_t digits) {
    const bool negative = value < 0;
    const int64_t magnitude = negative ? -value : value;
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / unit);
    int64_t fraction = magnitude % unit;
    if (fraction == 0) return text;
    std::string decimals = std::to_string(fraction);
    decimals.insert(0, size_t(digits) - decimals.size(), '0');
    decimals.erase(decimals.find_last_not_of('0') + 1);
    return text + "." + decimals;
}

// `milliseconds` as seconds with `decimals` decimals, cut (not rounded) to them.
std::string Seconds(int64_t milliseconds, int32_t decimals) {
    const bool negative = milliseconds < 0;
    const int64_t magnitude = negative ? -milliseconds : milliseconds;
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 1000);
    if (decimals == 0) return text;
    int64_t scale = 1;
    for (int32_t i = decimals; i < 3; ++i) scale *= 10;
    std::string fraction = std::to_string((magnitude % 1000) / scale);
    fraction.insert(0, size_t(decimals) - fraction.size(), '0');
    return text + "." + fraction;
}

double XOf(const CWaveformGeometry& geometry, double frame) {
    const SVisibleRange& range = geometry.GetRange();
    return std::floor(geometry.GetContentLeft() +
                      geometry.GetContentWidth() * (frame - range.fStart) / (double(range.fEnd) - range.fStart) + 0.5);
}

bool InsideContent(const CWaveformGeometry& geometry, double x) {
    return x >= geometry.GetContentLeft() && x < geometry.GetContentLeft() + geometry.GetContentWidth();
}

int64_t CeilDiv(int64_t a, int64_t b) {  // b > 0
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

}  // namespace

int64_t SamplesStep(double framesPerPixel) { return SmallestStepOf(kSamplesSteps, framesPerPixel); }

std::string SamplesLabel(int64_t frame) {
    const int64_t magnitude = frame < 0 ? -frame : frame;
    if (magnitude >= 1000000) return ScaledDecimal(frame, 1000000, 6) + "M";
    if (magnitude >= 1000) return ScaledDecimal(frame, 1000, 3) + "k";
    return std::to_string(frame);
}

int64_t TimeStep(double millisecondsPerPixel) { return SmallestStepOf(kTimeSteps, millisecondsPerPixel); }

std::string TimeLabel(int64_t milliseconds, int64_t step) {
    if (step < 10) return Seconds(milliseconds, 3);
    if (step < 100) return Seconds(milliseconds, 2);
    if (step < 1000) return Seconds(milliseconds, 1);
    if (step < 60000) return Seconds(milliseconds, 0);
    return std::to_string(milliseconds / 60000) + " m";
}

std::vector<SRulerTick> SamplesTicks(const CWaveformGeometry& geometry) {
    std::vector<SRulerTick> ticks;
    const SVisibleRange& range = geometry.GetRange();
    if (range.Width() <= 0) return ticks;
    const int64_t step = SamplesStep(geometry.FramesPerPixel());
    for (int64_t frame = CeilDiv(range.fStart, step) * step;; frame += step) {
        const double x = XOf(geometry, double(frame));
        if (!InsideContent(geometry, x)) break;
        ticks.push_back({int32_t(x), SamplesLabel(frame)});
    }
    return ticks;
}

std::vector<SRulerTick> TimeTicks(const CWaveformGeometry& geometry, int32_t sampleRate) {
    std::vector<SRulerTick> ticks;
    const SVisibleRange& range = geometry.GetRange();
    if (range.Width() <= 0) return ticks;
    const int64_t rate = ClampSampleRate(uint32_t(std::max(0, sampleRate)));
    const int64_t step = TimeStep(1000.0 * geometry.FramesPerPixel() / double(rate));
    // The first multiple of the step whose frame, ms × rate / 1000, is at or after the start.
    for (int64_t ms = CeilDiv(int64_t(range.fStart) * 1000, step * rate) * step;; ms += step) {
        const double x = XOf(geometry, double(ms) * double(rate) / 1000.0);
        if (!InsideContent(geometry, x)) break;
        ticks.push_back({int32_t(x), TimeLabel(ms, step)});
    }
    return ticks;
}

std::vector<SRulerTick> BeatsTicks(const CWaveformGeometry& geometry, int32_t left, int32_t right, int32_t bars,
                                   int32_t beats, int32_t numerator, int32_t denominator) {
    std::vector<SRulerTick> ticks;
    const SVisibleRange& range = geometry.GetRange();
    if (range.Width() <= 0 || right <= left || numerator <= 0 || denominator <= 0 || bars < 0 || beats < 0) {
        return ticks;
    }
    const int64_t totalBeats = int64_t(bars) * numerator + beats;
    if (totalBeats <= 0) return ticks;
    const double framesPerBeat = (double(right) - double(left)) / double(totalBeats);
    const double pixelsPerBeat = framesPerBeat / geometry.FramesPerPixel();
    // Every beat when they are 40 px apart, else the first beat of every bar, every 2nd, 4th, … bar.
    int64_t beatStride = 1;
    if (pixelsPerBeat < kMinimumLabelPixels) {
        beatStride = numerator;
        while (pixelsPerBeat * double(beatStride) < kMinimumLabelPixels && beatStride < totalBeats) beatStride *= 2;
    }
    // Only the beats over the visible range are visited.
    const int64_t firstVisible =
        std::max<int64_t>(0, int64_t(std::floor((range.fStart - double(left)) / framesPerBeat)));
    const int64_t lastVisible =
        std::min<int64_t>(totalBeats - 1, int64_t(std::ceil((range.fEnd - double(left)) / framesPerBeat)));
    for (int64_t beat = CeilDiv(firstVisible, beatStride) * beatStride; beat <= lastVisible; beat += beatStride) {
        const double x = XOf(geometry, double(left) + double(beat) * framesPerBeat);
        if (!InsideContent(geometry, x)) continue;
        ticks.push_back(
            {int32_t(x), std::to_string(beat / numerator + 1) + "." + std::to_string(beat % numerator + 1)});
    }
    return ticks;
}

}  // namespace NSWaveformRuler
}  // namespace NSQuillet
