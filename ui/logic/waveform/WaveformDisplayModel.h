#pragma once

#include <cstdint>

namespace NSQuillet {

class CABCWaveSample;

// What the detail view and the navigator know of the document, eight 32-bit values, rebuilt
// whenever the sample, the slices or the locators change.
struct SWaveformDisplayModel {
    int32_t fFrameCount = 0;
    int32_t fSampleRate = 44100;
    int32_t fStereo = 0;
    int32_t fLowerBound = 0;  // the first position a locator may take: 0
    int32_t fUpperBound = 0;  // the last: the frame count
    int32_t fConstantOne = 1;
    int32_t fLeftLocator = 0;
    int32_t fRightLocator = 0;

    friend bool operator==(const SWaveformDisplayModel& a, const SWaveformDisplayModel& b);
    friend bool operator!=(const SWaveformDisplayModel& a, const SWaveformDisplayModel& b) { return !(a == b); }
};

// The model of `sample` with the given locators; the rate passed through ClampSampleRate.
SWaveformDisplayModel MakeWaveformDisplayModel(const CABCWaveSample& sample, int32_t leftLocator,
                                               int32_t rightLocator);

}  // namespace NSQuillet
