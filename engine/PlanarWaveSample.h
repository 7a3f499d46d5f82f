#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>

#include "engine/SampleBuffer.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

// How a new sample's buffers start: zero-filled, or unset for a reader that writes every value
// before anything reads the sample and drops the sample when it cannot.
enum class EInitialValues { kZero, kUnset };

// The storage and range handling shared by the concrete wave samples: one buffer of TValue
// per channel. TDerived supplies the value conversions as static members (To16, From16,
// To24, From24, ToFloat, FromFloat, To24AsFloat, From24AsFloat), FromFloats (FromFloat over
// a block) and kQuietLevel.
template <class TDerived, class TValue>
class TPlanarWaveSample : public CABCWaveSample {
public:
    // Same class as this one.
    void AddChannelFrom(const CABCWaveSample& other, int32_t channel) override {
        const auto* source = dynamic_cast<const TDerived*>(&other);
        if (!source || other.GetFrameCount() != GetFrameCount())
            throw NSMishap::XStdInvalidArgument("channel from a sample of another format or length");
        if (channel != 1 && channel != 2) throw NSMishap::XStdInvalidArgument("channel must be 1 or 2");
        auto added = AllocateCopy(static_cast<const TPlanarWaveSample&>(*source).fChannel1.get(), GetFrameCount());
        if (channel == 1) {
            fChannel2 = std::move(fChannel1);
            fChannel1 = std::move(added);
        } else {
            fChannel2 = std::move(added);
        }
        SetStereo(true);
    }

    float GetFloat(int32_t frame, int32_t channel) const override {
        const TValue* data = Data(channel);
        return data && Inside(frame) ? TDerived::ToFloat(data[frame]) : 0.0f;
    }
    void SetFloat(int32_t frame, float value, int32_t channel) override {
        TValue* data = Data(channel);
        if (data && Inside(frame)) data[frame] = TDerived::FromFloat(value);
    }
    int32_t GetFloats(int32_t start, int32_t count, float* out, int32_t channel) const override {
        return Read(Data(channel), start, count, out, [](TValue v) { return TDerived::ToFloat(v); });
    }
    int32_t SetFloats(int32_t start, int32_t count, const float* in, int32_t channel) override {
        TValue* data = Data(channel);
        const SInside inside = data ? Clip(start, count) : SInside{0, 0};
        if (inside.fFrames > 0)
            TDerived::FromFloats(in + inside.fSkip, data + (int64_t(start) + inside.fSkip), inside.fFrames);
        return inside.fFrames;
    }

    int16_t Get16(int32_t frame, int32_t channel) const override {
        const TValue* data = Data(channel);
        return data && Inside(frame) ? TDerived::To16(data[frame]) : int16_t(0);
    }
    void Set16(int32_t frame, int16_t value, int32_t channel) override {
        TValue* data = Data(channel);
        if (data && Inside(frame)) data[frame] = TDerived::From16(value);
    }
    int32_t Get16s(int32_t start, int32_t count, int16_t* out, int32_t channel) const override {
        return Read(Data(channel), start, count, out, [](TValue v) { return TDerived::To16(v); });
    }
    int32_t Set16s(int32_t start, int32_t count, const int16_t* in, int32_t channel) override {
        return Write(Data(channel), start, count, in, [](int16_t v) { return TDerived::From16(v); });
    }
    const int16_t* Get16Values(int32_t channel) const override {
        if constexpr (std::is_same_v<TValue, int16_t>) {
            return Data(channel);
        } else {
            (void)channel;
            return nullptr;
        }
    }

    float Get24AsFloat(int32_t frame, int32_t channel) const override {
        const TValue* data = Data(channel);
        return data && Inside(frame) ? TDerived::To24AsFloat(data[frame]) : 0.0f;
    }
    void Set24AsFloat(int32_t frame, float value, int32_t channel) override {
        TValue* data = Data(channel);
        if (data && Inside(frame)) data[frame] = TDerived::From24AsFloat(value);
    }
    int32_t Get24AsFloats(int32_t start, int32_t count, float* out, int32_t channel) const override {
        return Read(Data(channel), start, count, out, [](TValue v) { return TDerived::To24AsFloat(v); });
    }
    int32_t Set24AsFloats(int32_t start, int32_t count, const float* in, int32_t channel) override {
        return Write(Data(channel), start, count, in, [](float v) { return TDerived::From24AsFloat(v); });
    }

    int32_t GetInterleaved16(int32_t start, int32_t count, int16_t* out) const override {
        return ReadPairs(start, count, out, [](TValue v) { return TDerived::To16(v); });
    }
    int32_t SetInterleaved16(int32_t start, int32_t count, const int16_t* in) override {
        return WritePairs(start, count, in, [](int16_t v) { return TDerived::From16(v); });
    }

    int32_t Get24(int32_t frame, int32_t channel) const override {
        const TValue* data = Data(channel);
        return data && Inside(frame) ? TDerived::To24(data[frame]) : 0;
    }
    void Set24(int32_t frame, int32_t value, int32_t channel) override {
        TValue* data = Data(channel);
        if (data && Inside(frame)) data[frame] = TDerived::From24(value);
    }
    int32_t Get24s(int32_t start, int32_t count, int32_t* out, int32_t channel) const override {
        return Read(Data(channel), start, count, out, [](TValue v) { return TDerived::To24(v); });
    }
    int32_t Set24s(int32_t start, int32_t count, const int32_t* in, int32_t channel) override {
        return Write(Data(channel), start, count, in, [](int32_t v) { return TDerived::From24(v); });
    }
    int32_t GetInterleaved24(int32_t start, int32_t count, int32_t* out) const override {
        return ReadPairs(start, count, out, [](TValue v) { return TDerived::To24(v); });
    }
    int32_t SetInterleaved24(int32_t start, int32_t count, const int32_t* in) override {
        return WritePairs(start, count, in, [](int32_t v) { return TDerived::From24(v); });
    }
    int32_t GetInterleaved24AsFloat(int32_t start, int32_t count, float* out) const override {
        return ReadPairs(start, count, out, [](TValue v) { return TDerived::To24AsFloat(v); });
    }
    int32_t SetInterleaved24AsFloat(int32_t start, int32_t count, const float* in) override {
        return WritePairs(start, count, in, [](float v) { return TDerived::From24AsFloat(v); });
    }

    // A channel's values in place, for a reader that fills a new sample in bulk; it must keep
    // each value in the class's range. Null for a channel the sample lacks.
    TValue* GetChannelValues(int32_t channel) { return Data(channel); }

    int32_t FindZeroCrossing(int32_t frame) const override {
        if (GetFrameCount() == 0) return 0;
        const TValue* right = Data(2);
        return right ? Search<true>(frame, right) : Search<false>(frame, nullptr);
    }

protected:
    TPlanarWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo, int32_t bitDepth, EInitialValues initial)
        : CABCWaveSample(sampleRate, frameCount, stereo, bitDepth),
          fChannel1(Allocate(frameCount, initial == EInitialValues::kZero)),
          fChannel2(stereo ? Allocate(frameCount, initial == EInitialValues::kZero) : nullptr) {}

    TPlanarWaveSample(const TPlanarWaveSample& other)
        : CABCWaveSample(other),
          fChannel1(AllocateCopy(other.fChannel1.get(), other.GetFrameCount())),
          fChannel2(other.fChannel2 ? AllocateCopy(other.fChannel2.get(), other.GetFrameCount()) : nullptr) {}

private:
    static constexpr int32_t kSearchReach = 25000;

    // The part of a range inside the sample: `skip` caller entries come before it.
    struct SInside {
        int32_t fSkip;
        int32_t fFrames;
    };

    using CBuffer = std::unique_ptr<TValue[], NSSampleBuffer::SFree>;

    static CBuffer Allocate(int32_t frames, bool zero) {
        CheckAllocation(frames);
        CBuffer buffer(static_cast<TValue*>(NSSampleBuffer::Allocate(size_t(frames) * sizeof(TValue), zero)));
        if (!buffer) NSMishap::ThrowOutOfMemory("no memory for the wave sample buffers");
        return buffer;
    }

    static CBuffer AllocateCopy(const TValue* source, int32_t frames) {
        CBuffer copy = Allocate(frames, false);
        std::copy(source, source + frames, copy.get());
        return copy;
    }

    static void CheckAllocation(int32_t frames) {
        if (frames < 0) throw NSMishap::XStdInvalidArgument("negative frame count");
        if (uint64_t(frames) > uint64_t(PTRDIFF_MAX) / sizeof(TValue))
            NSMishap::ThrowOutOfMemory("wave sample too large for memory");
    }

    bool Inside(int32_t frame) const { return frame >= 0 && frame < GetFrameCount(); }

    const TValue* Data(int32_t channel) const {
        if (channel == 1) return fChannel1.get();
        if (channel == 2 && IsStereo()) return fChannel2.get();
        return nullptr;
    }
    TValue* Data(int32_t channel) {
        return const_cast<TValue*>(static_cast<const TPlanarWaveSample*>(this)->Data(channel));
    }

    SInside Clip(int32_t start, int32_t count) const {
        const int64_t begin = std::max<int64_t>(start, 0);
        const int64_t end = std::min<int64_t>(int64_t(start) + count, GetFrameCount());
        if (count < 1 || end <= begin) return {0, 0};
        return {int32_t(begin - start), int32_t(end - begin)};
    }

    // Fixed-size inner blocks let the compiler vectorise the conversion at -O2.
    template <class TIn, class TOut, class FConvert>
    static void Convert(const TIn* __restrict from, TOut* __restrict to, int32_t count, FConvert convert) {
        constexpr int32_t kLanes = 16;
        int32_t i = 0;
        for (; i + kLanes <= count; i += kLanes) {
            for (int32_t k = 0; k < kLanes; ++k) to[i + k] = convert(from[i + k]);
        }
        for (; i < count; ++i) to[i] = convert(from[i]);
    }

    template <class TOut, class FConvert>
    int32_t Read(const TValue* data, int32_t start, int32_t count, TOut* out, FConvert convert) const {
        if (count < 1) return 0;
        const SInside inside = data ? Clip(start, count) : SInside{0, 0};
        std::fill(out, out + inside.fSkip, TOut(0));
        if (inside.fFrames > 0) {
            Convert(data + (int64_t(start) + inside.fSkip), out + inside.fSkip, inside.fFrames, convert);
        }
        std::fill(out + inside.fSkip + inside.fFrames, out + count, TOut(0));
        return inside.fFrames;
    }

    template <class TIn, class FConvert>
    int32_t Write(TValue* data, int32_t start, int32_t count, const TIn* in, FConvert convert) {
        const SInside inside = data ? Clip(start, count) : SInside{0, 0};
        if (inside.fFrames == 0) return 0;
        Convert(in + inside.fSkip, data + (int64_t(start) + inside.fSkip), inside.fFrames, convert);
        return inside.fFrames;
    }

    template <class TOut, class FConvert>
    int32_t ReadPairs(int32_t start, int32_t count, TOut* out, FConvert convert) const {
        if (count < 1) return 0;
        const SInside inside = Clip(start, count);
        const TValue* left = fChannel1.get();
        const TValue* right = Data(2);
        std::fill(out, out + 2 * int64_t(inside.fSkip), TOut(0));
        const int64_t first = int64_t(start) + inside.fSkip;
        TOut* to = out + 2 * int64_t(inside.fSkip);
        for (int32_t i = 0; i < inside.fFrames; ++i) {
            to[2 * i] = convert(left[first + i]);
            to[2 * i + 1] = right ? convert(right[first + i]) : TOut(0);
        }
        std::fill(out + 2 * (int64_t(inside.fSkip) + inside.fFrames), out + 2 * int64_t(count), TOut(0));
        return inside.fFrames;
    }

    template <class TIn, class FConvert>
    int32_t WritePairs(int32_t start, int32_t count, const TIn* in, FConvert convert) {
        const SInside inside = Clip(start, count);
        TValue* left = fChannel1.get();
        TValue* right = Data(2);
        const int64_t first = int64_t(start) + inside.fSkip;
        const TIn* from = in + 2 * int64_t(inside.fSkip);
        for (int32_t i = 0; i < inside.fFrames; ++i) {
            left[first + i] = convert(from[2 * i]);
            if (right) right[first + i] = convert(from[2 * i + 1]);
        }
        return inside.fFrames;
    }

    static bool Quiet(TValue value) {
        const int64_t v = value;
        return (v < 0 ? -v : v) < TDerived::kQuietLevel;
    }
    static bool SignsDiffer(TValue a, TValue b) { return (a > 0 && b < 0) || (a < 0 && b > 0); }

    template <bool kStereo>
    int32_t Search(int32_t frame, const TValue* right) const {
        const TValue* left = fChannel1.get();
        const int32_t last = GetFrameCount() - 1;
        frame = std::clamp(frame, 0, last);
        const int32_t lowest = frame > kSearchReach ? frame - kSearchReach : 0;
        const int32_t highest = last - frame > kSearchReach ? frame + kSearchReach : last;
        auto quiet = [&](int32_t f) { return Quiet(left[f]) && (!kStereo || Quiet(right[f])); };
        auto flips = [&](int32_t a, int32_t b) {
            return SignsDiffer(left[a], left[b]) || (kStereo && SignsDiffer(right[a], right[b]));
        };

        if (quiet(frame) || frame == lowest || frame == highest) return frame;
        int32_t forward = frame;
        int32_t backward = frame;
        for (;;) {
            ++forward;
            if (quiet(forward) || flips(forward - 1, forward) || forward == highest) return forward;
            --backward;
            if (quiet(backward)) return backward;
            if (flips(backward, backward + 1)) return backward + 1;
            if (backward == lowest) return backward;
        }
    }

    CBuffer fChannel1;
    // Null on a sample built mono that has not been given a second channel.
    CBuffer fChannel2;
};

}  // namespace NSQuillet
