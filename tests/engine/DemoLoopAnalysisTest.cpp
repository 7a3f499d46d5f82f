#include <gtest/gtest.h>

#include "engine/SliceSequence.h"
#include "tools/DemoLoop.h"

using namespace NSQuillet;
using NSTools::SDemoLoop;

TEST(DemoLoopAnalysis, EveryDrumHitStartsAShownSliceJustBeforeIt) {
    auto sample = SDemoLoop::Render();
    CSliceSequence sequence(sample.get());
    ASSERT_TRUE(sequence.Analyze(nullptr));
    sequence.SetSensitivity(99);
    for (const auto& hit : SDemoLoop::GetHits()) {
        // The snap moves an onset back by at most 500 frames; detection takes a few frames.
        bool found = false;
        for (const CSlice& slice : sequence.GetSlices()) {
            if (slice.GetPosition() >= hit.fFrame - 500 && slice.GetPosition() <= hit.fFrame + 64 &&
                sequence.IsSliceShown(slice)) {
                found = true;
            }
        }
        EXPECT_TRUE(found) << "hit at frame " << hit.fFrame;
    }
    // Lengths cover the loop without gaps: each active slice sounds up to the next one.
    int64_t covered = 0;
    for (const CSlice& slice : sequence.GetSlices()) {
        if (sequence.IsSliceActive(slice)) covered += slice.GetLength();
    }
    EXPECT_EQ(covered, SDemoLoop::kFrameCount - sequence.GetSlices().front().GetPosition());
}
