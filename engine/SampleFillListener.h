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
    // After FillStarted, when the sample is no longer to be read here (its reading or what
    // follows it failed, or the work on it is done): it may go away once this returns.
    virtual void ReleaseSample() noexcept = 0;

protected:
    ~ISampleFillListener() = default;
};

}  // namespace NSQuillet
