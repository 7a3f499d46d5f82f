#include "ui/logic/waveform/WaveformDisplayModel.h"

#include "engine/WaveSample.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

bool operator==(const SWaveformDisplayModel &a, const SWaveformDisplayModel &b) {
    return a.fFrameCount == b.fFrameCount && a.fSampleRate == b.fSampleRate && a.fStereo == b.fStereo &&
           a.fLowerBound == b.fLowerBound && a.fUpperBound == b.fUpperBound && a.fConstantOne == b.fConstantOne &&
           a.fLeftLocator == b.fLeftLocator && a.fRightLocator == b.fRightLocator;
}

SWaveformDisplayModel MakeWaveformDisplayModel(const CABCWaveSample &sample, int32_t leftLocator,
                                               int32_t rightLocator) {
    SWaveformDisplayModel model;
    model.fFrameCount = sample.GetFrameCount();
    model.fSampleRate = int32_t(ClampSampleRate(sample.GetSampleRate()));
    model.fStereo = sample.IsStereo() ? 1 : 0;
    model.fLowerBound = 0;
    model.fUpperBound = sample.GetFrameCount();
    model.fConstantOne = 1;
    model.fLeftLocator = leftLocator;
    model.fRightLocator = rightLocator;
    return model;
}

}  // namespace NSQuillet
