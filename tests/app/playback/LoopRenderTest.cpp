#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/playback/LoopRender.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/SoundFileTestSupport.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

bool IsSilent(const CABCWaveSample& sample) {
    for (int32_t channel = 1; channel <= sample.GetChannelCount(); ++channel) {
        const std::vector<int32_t> values = Channel(sample, channel);
        if (std::any_of(values.begin(), values.end(), [](int32_t value) { return value != 0; })) return false;
    }
    return true;
}

// Pasted documents without a loop length: each play lasts the locators' 0..1000, converted from
// the sample's rate to the output rate (both clamped to 11025..1000000) and rounded.
TEST(LoopRender, PlaysTheLoopAtTheRequestedOrTheSamplesOwnFormat) {
    struct SRow {
        int32_t fDepth;
        uint32_t fSampleRate;
        SLoopRender fRender;
        uint32_t fOutputRate;
        int32_t fOutputDepth;
        int32_t fFrames;
    };
    const SRow rows[] = {
        // The own rate 8000 becomes 11025, as in the arithmetic: 1000 frames, three times.
        {16, 8000, {3, 0, 0}, 11025, 16, 3000},
        // 1000 × 32000 / 44100 = 725.6 → 726, twice.
        {24, 44100, {2, 32000, 16}, 32000, 16, 1452},
        {16, 44100, {1, 0, 24}, 44100, 24, 1000},
    };
    for (const SRow& row : rows) {
        const auto document = MakeLoopDocument(row.fDepth, 2, 1000, row.fSampleRate);
        const auto rendered = RenderDocumentLoop(*document, row.fRender);
        ASSERT_NE(rendered, nullptr);
        EXPECT_TRUE(rendered->IsStereo());
        EXPECT_EQ(rendered->GetSampleRate(), row.fOutputRate);
        EXPECT_EQ(rendered->GetBitDepth(), row.fOutputDepth);
        EXPECT_EQ(rendered->GetFrameCount(), row.fFrames);
        EXPECT_FALSE(IsSilent(*rendered));
    }
}

TEST(LoopRender, TheAdjustmentChangesTheCopyAtTheOutputRateBeforeItIsMeasuredAndPlayed) {
    const auto document = MakeLoopDocument(16, 1, 1000, 8000);
    const uint32_t documentRate = document->GetSequencer().GetOutputRate();
    uint32_t rateSeen = 0;
    const auto rendered = RenderDocumentLoop(*document, {}, [&](CQuilletSequencer& sequencer) {
        rateSeen = sequencer.GetOutputRate();
        sequencer.SetOutputRate(22050);
    });
    ASSERT_NE(rendered, nullptr);
    EXPECT_EQ(rateSeen, 11025u);
    EXPECT_EQ(rendered->GetSampleRate(), 22050u);
    // 1000 × 22050 / 11025.
    EXPECT_EQ(rendered->GetFrameCount(), 2000);
    EXPECT_EQ(document->GetSequencer().GetOutputRate(), documentRate) << "the document's sequencer is not changed";
}

TEST(LoopRender, RefusesARenderLongerThanASampleHolds) {
    const auto document = MakeLoopDocument(16, 1, 1000, 8000);
    // 1000 frames a play: 2147484 plays are 2147484000 frames, beyond 2^31 − 1 = 2147483647.
    bool adjusted = false;
    EXPECT_EQ(RenderDocumentLoop(*document, {2147484, 0, 0}, [&](CQuilletSequencer&) { adjusted = true; }), nullptr);
    EXPECT_TRUE(adjusted);
}

}  // namespace
