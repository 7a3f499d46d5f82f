#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/LUXObject.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"

namespace NSQuillet {
namespace {

struct SLoop {
    std::unique_ptr<CABCWaveSample> fSample;
    std::unique_ptr<CSliceSequence> fSlices;
};

// A stereo second at 44100 Hz, left and right different, slices on the beats of one bar.
SLoop MakeLoop(bool selectedFirstOnly = false) {
    SLoop loop;
    auto sample = std::make_unique<C16BitWaveSample>(44100, 44100, true);
    for (int32_t i = 0; i < 44100; ++i) {
        sample->Set16(i, int16_t(9000.0 * std::sin(i * 0.05)), 1);
        sample->Set16(i, int16_t(4000.0 * std::sin(i * 0.013)), 2);
    }
    loop.fSlices = std::make_unique<CSliceSequence>(sample.get());
    if (selectedFirstOnly) {
        loop.fSlices->InsertSlice(CSlice(0, 100, ESliceKind::kLocked, true));
    } else {
        for (int32_t position : {0, 11025, 22050, 33075}) loop.fSlices->InsertSlice(CSlice(position, 100, ESliceKind::kLocked));
    }
    loop.fSlices->UpdateSliceLengths();
    loop.fSample = std::move(sample);
    return loop;
}

CLoopSettings OneBar() {
    CLoopSettings settings;
    settings.SetBars(1);
    settings.SetPreviewTempo(200000);
    return settings;
}

TEST(LUXObject, ALoopWithoutLengthIsRefused) {
    SLoop loop = MakeLoop();
    try {
        CLUXObject object(std::move(loop.fSample), std::move(loop.fSlices), CLoopSettings(), true);
        FAIL() << "constructed";
    } catch (const NSMishap::XFormatViolation& failure) {
        EXPECT_STREQ(failure.what(), "zero loop length");
        EXPECT_EQ(failure.GetProperty(NSMishap::kProperty_TargetObjectType), std::optional<std::string>("lux_file"));
    }
}

TEST(LUXObject, RefusesSlicesOfAnotherSample) {
    SLoop loop = MakeLoop();
    SLoop other = MakeLoop();
    EXPECT_THROW(CLUXObject(std::move(loop.fSample), std::move(other.fSlices), OneBar(), true),
                 NSMishap::XStdInvalidArgument);
}

TEST(LUXObject, OneBufferGetsTheMixOfBothChannels) {
    SLoop a = MakeLoop();
    SLoop b = MakeLoop();
    CLUXObject stereo(std::move(a.fSample), std::move(a.fSlices), OneBar(), true);
    CLUXObject mono(std::move(b.fSample), std::move(b.fSlices), OneBar(), true);
    ASSERT_TRUE(stereo.HasSlices());
    EXPECT_TRUE(stereo.GetSequencer().IsPreviewActive());
    // 1000 frames in pieces that are not multiples of 64.
    std::vector<float> left(1000), right(1000), mixed(1000);
    stereo.Render(700, left.data(), right.data());
    stereo.Render(300, left.data() + 700, right.data() + 700);
    mono.Render(1000, mixed.data(), nullptr);
    float peak = 0.0f;
    for (size_t i = 0; i < mixed.size(); ++i) {
        ASSERT_FLOAT_EQ(mixed[i], (left[i] + right[i]) * 0.5f) << i;
        peak = std::max(peak, std::fabs(left[i] - right[i]));
    }
    EXPECT_GT(peak, 0.01f);
}

TEST(LUXObject, WithoutSlicesRendersSilence) {
    // The only slice is selected and Silence Selected is on: nothing is planned.
    SLoop loop = MakeLoop(true);
    CLoopSettings settings = OneBar();
    settings.SetSilenceSelected(true);
    CLUXObject object(std::move(loop.fSample), std::move(loop.fSlices), settings, true);
    EXPECT_FALSE(object.HasSlices());
    std::vector<float> left(100, 1.0f), right(100, 1.0f);
    object.Render(100, left.data(), right.data());
    EXPECT_EQ(std::count(left.begin(), left.end(), 0.0f), 100);
    EXPECT_EQ(std::count(right.begin(), right.end(), 0.0f), 100);
}

}  // namespace
}  // namespace NSQuillet
