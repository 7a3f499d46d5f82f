#pragma once

#include <cstdint>
#include <memory>

#include "engine/SixteenBitFrameReader.h"
#include "engine/WaveSamplePreview.h"

namespace NSQuillet {

// A loop's audio in memory: one or two planar channels of integer samples, the sample rate,
// the loop locators and the 64-frame overview. Frame count and bit depth never change.
//
// Channels are numbered 1 (left or mono) and 2 (right). Frames outside [0, frame count) and
// channels other than 1, or 2 on a mono sample, are refused: single reads give 0 and single
// writes do nothing. A range (start, count) is cut to the frames inside the sample: reads set
// the caller's entries for frames outside it to 0, writes skip them, and both return the
// number of frames inside (count for a range within the sample, 0 when count < 1). The
// interleaved operations take (channel 1, channel 2) pairs; on a mono sample the channel-2
// half reads 0 and is not written.
//
// Reads and writes never allocate, lock or block, so the audio thread may read while the
// user-interface thread does not write. Construction, copying, AddChannelFrom and
// BuildPreview allocate and belong to the user-interface thread.
class CABCWaveSample : public ISixteenBitFrameReader {
public:
    virtual ~CABCWaveSample();
    CABCWaveSample& operator=(const CABCWaveSample&) = delete;

    // Frames per second as read from the file; pass it through ClampSampleRate before any
    // arithmetic.
    uint32_t GetSampleRate() const { return fSampleRate; }
    int32_t GetFrameCount() const { return fFrameCount; }
    // 16 or 24.
    int32_t GetBitDepth() const { return fBitDepth; }
    bool IsStereo() const { return fStereo; }
    int32_t GetChannelCount() const { return fStereo ? 2 : 1; }
    bool HasPreview() const { return fHasPreview; }
    // Null until BuildPreview has run.
    const CWaveSamplePreview* GetPreview() const { return fPreview.get(); }
    bool IsLoopSet() const { return fLoopSet; }
    // 1 after construction; carried, not interpreted, by the engine.
    int32_t GetLoopKind() const { return fLoopKind; }
    // First frame of the loop.
    int32_t GetLeftLocator() const { return fLeftLocator; }
    // Frame after the loop's end.
    int32_t GetRightLocator() const { return fRightLocator; }

    // Stores the values as given and marks the loop as set.
    void SetLocators(int32_t loopKind, int32_t left, int32_t right);
    // Replaces the preview by one summarising the current audio. On the out-of-memory failure
    // the old preview stays.
    void BuildPreview();
    // Channel 2 exists only on a sample built stereo or given one by AddChannelFrom; a
    // sample without one that is marked stereo reads 0 from channel 2 and ignores writes.
    void SetStereo(bool stereo) { fStereo = stereo; }

    // Makes the sample stereo from channel 1 of `other`, which must be of the same class and
    // frame count (else XStdInvalidArgument): as channel 2 when `channel` is 2; when it is 1
    // the present channel 1 becomes channel 2 and the new data channel 1. On failure the
    // sample is unchanged. The preview is not rebuilt.
    virtual void AddChannelFrom(const CABCWaveSample& other, int32_t channel) = 0;
    // About -1.0..1.0: a 16-bit value over 32768, a 24-bit value over 8388608.
    virtual float GetFloat(int32_t frame, int32_t channel) const = 0;
    // value × 32767 (or 8388607), rounded half away from zero, clamped to the value range.
    virtual void SetFloat(int32_t frame, float value, int32_t channel) = 0;
    virtual int32_t GetFloats(int32_t start, int32_t count, float* out, int32_t channel) const = 0;
    virtual int32_t SetFloats(int32_t start, int32_t count, const float* in, int32_t channel) = 0;
    // 16-bit scale: a 24-bit value is shifted right by 8 (arithmetic) on reading and
    // multiplied by 256 on writing.
    virtual int16_t Get16(int32_t frame, int32_t channel) const = 0;
    virtual void Set16(int32_t frame, int16_t value, int32_t channel) = 0;
    int32_t Get16s(int32_t start, int32_t count, int16_t* out, int32_t channel) const override = 0;
    virtual int32_t Set16s(int32_t start, int32_t count, const int16_t* in, int32_t channel) = 0;
    // 24-bit integer scale in floating point. Writing truncates toward zero and clamps to
    // -8388608..8388607 (a 16-bit sample then keeps value >> 8).
    virtual float Get24AsFloat(int32_t frame, int32_t channel) const = 0;
    virtual void Set24AsFloat(int32_t frame, float value, int32_t channel) = 0;
    virtual int32_t Get24AsFloats(int32_t start, int32_t count, float* out, int32_t channel) const = 0;
    virtual int32_t Set24AsFloats(int32_t start, int32_t count, const float* in, int32_t channel) = 0;
    // Pairs of 16-bit values, 2 × count entries.
    virtual int32_t GetInterleaved16(int32_t start, int32_t count, int16_t* out) const = 0;
    virtual int32_t SetInterleaved16(int32_t start, int32_t count, const int16_t* in) = 0;
    // 24-bit integer scale: a 16-bit value × 256 on reading; on writing the value is clamped
    // to -8388608..8388607 (and a 16-bit sample keeps value >> 8).
    virtual int32_t Get24(int32_t frame, int32_t channel) const = 0;
    virtual void Set24(int32_t frame, int32_t value, int32_t channel) = 0;
    virtual int32_t Get24s(int32_t start, int32_t count, int32_t* out, int32_t channel) const = 0;
    virtual int32_t Set24s(int32_t start, int32_t count, const int32_t* in, int32_t channel) = 0;
    virtual int32_t GetInterleaved24(int32_t start, int32_t count, int32_t* out) const = 0;
    virtual int32_t SetInterleaved24(int32_t start, int32_t count, const int32_t* in) = 0;
    virtual int32_t GetInterleaved24AsFloat(int32_t start, int32_t count, float* out) const = 0;
    virtual int32_t SetInterleaved24AsFloat(int32_t start, int32_t count, const float* in) = 0;
    // The frame nearest `frame` (clamped into the sample) where the audio may be cut without
    // a click; 0 for an empty sample. Walks outward one frame forward, then one backward, at
    // most 25000 frames each way and never past the first or last frame. At each frame the
    // cursor stands on (the start frame first) it stops, in this order: when every channel is
    // quiet (magnitude below 1023, or 262143 for 24-bit) it returns that frame; when a channel
    // changed sign with the step it returns the later of the two frames; when the cursor
    // stands on its bound it returns that frame.
    virtual int32_t FindZeroCrossing(int32_t frame) const = 0;

protected:
    // A negative frame count is an XStdInvalidArgument.
    CABCWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo, int32_t bitDepth);
    // Copies the preview too; the out-of-memory failure when that cannot be allocated.
    CABCWaveSample(const CABCWaveSample& other);

private:
    uint32_t fSampleRate;
    int32_t fFrameCount;
    int32_t fBitDepth;
    bool fStereo;
    bool fHasPreview = false;
    std::unique_ptr<CWaveSamplePreview> fPreview;
    bool fLoopSet = false;
    int32_t fLoopKind = 1;
    int32_t fLeftLocator = 0;
    int32_t fRightLocator;
};

}  // namespace NSQuillet
