#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "foundation/Mishap.h"
#include "tests/engine/AllocationFaults.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CAllocationFaults;
using NSQuilletTest::GetLiveTrackedBytes;

// Runs `work` under the fault and expects the out-of-memory failure with the "memory" target,
// and every large block it took given back.
void ExpectOutOfMemoryWithoutLeak(size_t minimumSize, int allowed, const std::function<void()>& work) {
    const size_t before = GetLiveTrackedBytes();
    {
        CAllocationFaults faults(minimumSize, allowed);
        try {
            work();
            ADD_FAILURE() << "no failure";
        } catch (const NSMishap::XStdBadAlloc& failure) {
            EXPECT_EQ(failure.GetProperty(NSMishap::kProperty_TargetObjectType), std::optional<std::string>("memory"));
        }
    }
    EXPECT_EQ(GetLiveTrackedBytes(), before);
}

TEST(WaveSampleAllocation, SampleTooLargeForMemoryRaisesOutOfMemoryWithoutTouchingIt) {
    // INT32_MAX frames × 4 bytes × 2 channels is 16 GiB; the first 8 GiB channel is refused.
    ExpectOutOfMemoryWithoutLeak(size_t(1) << 30, 0, [] {
        C24BitWaveSample sample(44100, std::numeric_limits<int32_t>::max(), true);
    });
    ExpectOutOfMemoryWithoutLeak(size_t(1) << 30, 0, [] {
        C16BitWaveSample sample(44100, std::numeric_limits<int32_t>::max(), false);
    });
}

TEST(WaveSampleAllocation, FailedSecondChannelFreesTheFirst) {
    // Each channel of 100000 24-bit frames is 400000 bytes; the first is granted.
    ExpectOutOfMemoryWithoutLeak(400000, 1, [] { C24BitWaveSample sample(44100, 100000, true); });
    // 100000 16-bit frames: 200000 bytes a channel.
    ExpectOutOfMemoryWithoutLeak(200000, 1, [] { C16BitWaveSample sample(44100, 100000, true); });
}

TEST(WaveSampleAllocation, NegativeFrameCountIsInvalidArgument) {
    EXPECT_THROW(C16BitWaveSample(44100, -1, false), NSMishap::XStdInvalidArgument);
    EXPECT_THROW(C24BitWaveSample(44100, -64, true), NSMishap::XStdInvalidArgument);
}

TEST(WaveSampleAllocation, CopyFailingAtAnyBufferFreesWhatWasCopied) {
    // Stereo 16-bit, 100000 frames: the preview's two channels of 1562 blocks × 4 bytes
    // (6248 bytes each) are copied first, then the two 200000-byte channels.
    C16BitWaveSample original(44100, 100000, true);
    original.Set16(99999, 7, 2);
    original.BuildPreview();
    for (int allowed = 0; allowed < 4; ++allowed) {
        SCOPED_TRACE(allowed);
        ExpectOutOfMemoryWithoutLeak(6248, allowed, [&] { C16BitWaveSample copy(original); });
    }
    // With all four granted the copy succeeds, so each row above failed at a different buffer.
    CAllocationFaults faults(6248, 4);
    C16BitWaveSample copy(original);
    EXPECT_EQ(copy.Get16(99999, 2), 7);
}

TEST(WaveSampleAllocation, FailedAddChannelLeavesTheSampleAsItWas) {
    C24BitWaveSample sample(44100, 100000, false);
    C24BitWaveSample other(44100, 100000, false);
    sample.Set24(5, 1234, 1);
    ExpectOutOfMemoryWithoutLeak(400000, 0, [&] { sample.AddChannelFrom(other, 1); });
    EXPECT_FALSE(sample.IsStereo());
    EXPECT_EQ(sample.Get24(5, 1), 1234);
}

TEST(WaveSampleAllocation, FailedBuildPreviewKeepsTheOldPreview) {
    // 100000 mono frames: one preview channel of 1562 blocks × 4 bytes = 6248 bytes.
    C16BitWaveSample sample(44100, 100000, false);
    sample.Set16(0, 500, 1);
    sample.BuildPreview();
    const CWaveSamplePreview* old = sample.GetPreview();
    sample.Set16(0, 900, 1);
    ExpectOutOfMemoryWithoutLeak(6248, 0, [&] { sample.BuildPreview(); });
    ASSERT_EQ(sample.GetPreview(), old);
    EXPECT_EQ(old->GetMaximum(0, 1), 500);
    EXPECT_TRUE(sample.HasPreview());
}

}  // namespace
}  // namespace NSQuillet
