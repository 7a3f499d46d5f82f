#pragma once

#include <cstdint>

namespace NSQuillet {

class CABCWaveSample;

// Told how far a reader has filled a new sample, on the reader's thread, so that work on the
// filled frames can start before the whole sample is read.
class ISampleFillListener {
public:
    // Once, before any frame is written: the sample and its frame count and layout.
    virtual void FillStarted(const CABCWaveSample& sample) = 0;
    // Frames [0, frames) hold their final values; the count only grows.
    virtual void FramesFilled(int32_t frames) = 0;
    // After FillStarted, on a failure of the reading or of what follows it: the sample goes
    // away once this returns.
    virtual void SampleDropped() noexcept = 0;

protected:
    ~ISampleFillListener() = default;
};

}  // namespace NSQuillet
