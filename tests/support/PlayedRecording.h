#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/WaveSample.h"
#include "tests/support/FloatWaveFile.h"

namespace NSQuilletTest {

// A float the audio output played, as a 16-bit render writes it: × 32767, rounded half away from
// zero, clamped. The only difference a render and a recording of the same playback may show.
inline int32_t RenderedValueOf(float played) {
    const double scaled = std::round(double(played) * 32767.0);
    return int32_t(scaled < -32768.0 ? -32768.0 : scaled > 32767.0 ? 32767.0 : scaled);
}

// The index of the first sample from `from` on that is not silence, or the count when all are.
template <class TValue>
size_t FirstSound(const std::vector<TValue>& samples, size_t from = 0) {
    size_t at = from;
    while (at < samples.size() && samples[at] == TValue(0)) ++at;
    return at;
}

// The same for played floats, counting as silence what a 16-bit render writes as 0.
inline size_t FirstRenderedSound(const std::vector<float>& samples) {
    size_t at = 0;
    while (at < samples.size() && RenderedValueOf(samples[at]) == 0) ++at;
    return at;
}

// Whether the Null Output's `recording` holds exactly `expected` (interleaved 16-bit values as a
// render writes them, `channels` of them a frame) with silence before and after it: the
// playback started after the device had played some whole frames of silence (or none), and
// once it ended nothing more sounded. Answers the recording's frame where `expected` begins, -1 after a
// failure.
inline int64_t ExpectRecordingHolds(const SFloatWave& recording, const std::vector<int32_t>& expected,
                                    int32_t channels) {
    EXPECT_EQ(recording.fChannels, channels);
    if (recording.fChannels != channels) return -1;
    const size_t played = FirstRenderedSound(recording.fSamples);
    const size_t rendered = FirstSound(expected);
    EXPECT_LT(rendered, expected.size()) << "the render holds sound";
    EXPECT_GE(played, rendered) << "the recording holds sound no earlier than the render";
    if (rendered >= expected.size() || played < rendered) return -1;
    const size_t offset = played - rendered;
    EXPECT_EQ(offset % size_t(channels), 0u);
    EXPECT_GE(recording.fSamples.size(), offset + expected.size()) << "the recording holds the whole render";
    if (recording.fSamples.size() < offset + expected.size()) return -1;
    size_t mismatches = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (RenderedValueOf(recording.fSamples[offset + i]) == expected[i]) continue;
        if (mismatches++ == 0)
            ADD_FAILURE() << "sample " << i << " of the render: played " << recording.fSamples[offset + i] << ", rendered "
                          << expected[i];
    }
    EXPECT_EQ(mismatches, 0u);
    for (size_t i = offset + expected.size(); i < recording.fSamples.size(); ++i) {
        if (recording.fSamples[i] == 0.0f) continue;
        ADD_FAILURE() << "sound after the render's end, at sample " << i - offset;
        break;
    }
    return mismatches == 0 ? int64_t(offset / size_t(channels)) : -1;
}

// The interleaved 16-bit values of a rendered sample.
inline std::vector<int32_t> InterleavedValues(const NSQuillet::CABCWaveSample& sample) {
    std::vector<int32_t> values;
    values.reserve(size_t(sample.GetFrameCount()) * size_t(sample.GetChannelCount()));
    for (int32_t frame = 0; frame < sample.GetFrameCount(); ++frame)
        for (int32_t channel = 1; channel <= sample.GetChannelCount(); ++channel)
            values.push_back(sample.Get16(frame, channel));
    return values;
}

}  // namespace NSQuilletTest
