#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/processing/ParallelChannels.h"
#include "app/processing/ProcessingBlocks.h"
#include "foundation/Mishap.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {
namespace {

// Records each report and the thread it came on; asks to stop from report `stopAt` on.
class CRecordingReporter final : public IProgressReporter {
public:
    explicit CRecordingReporter(int32_t stopAt = 0) : fStopAt(stopAt) {}
    void Progress(int32_t permille) override {
        fPermille.push_back(permille);
        if (std::this_thread::get_id() != fOwner) ++fElsewhere;
    }
    bool IsStopRequested() const override { return fStopAt > 0 && int32_t(fPermille.size()) >= fStopAt; }

    std::vector<int32_t> fPermille;
    int32_t fElsewhere = 0;

private:
    int32_t fStopAt;
    std::thread::id fOwner = std::this_thread::get_id();
};

TEST(ParallelChannels, EveryBlockIsReportedOnTheCallingThread) {
    struct SCase {
        int32_t fChannels;
        int64_t fFrames;
        bool fSecondThread;
    };
    const SCase cases[] = {
        {2, kParallelChannelFrames, true},
        {2, kParallelChannelFrames - 1, false},  // too little for a thread
        {1, kParallelChannelFrames * 4, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.fChannels) + " channels of " + std::to_string(c.fFrames));
        constexpr int32_t kBlocks = 40;
        CRecordingReporter reporter;
        CBlockProgress progress(reporter, int64_t(kBlocks) * c.fChannels);
        std::thread::id threads[3];
        RunChannelsInParallel(c.fChannels, c.fFrames, progress, [&](int32_t channel, CChannelProgress& part) {
            threads[channel] = std::this_thread::get_id();
            for (int32_t block = 0; block < kBlocks; ++block) part.BlockDone(1);
        });
        // One report per block of either channel, the last at the whole.
        ASSERT_EQ(reporter.fPermille.size(), size_t(kBlocks * c.fChannels));
        EXPECT_EQ(reporter.fPermille.back(), 1000);
        EXPECT_EQ(reporter.fElsewhere, 0);
        EXPECT_EQ(threads[1], std::this_thread::get_id());
        if (c.fChannels == 2) {
            EXPECT_EQ(threads[2] != std::this_thread::get_id(), c.fSecondThread);
        }
    }
}

TEST(ParallelChannels, AStopEndsTheSecondChannelToo) {
    // The stop comes at the calling thread's third report; the second channel would run for
    // a long time and must end at its next block.
    constexpr int32_t kLongRun = 100000000;
    for (int32_t stopAt : {1, 3}) {
        CRecordingReporter reporter(stopAt);
        CBlockProgress progress(reporter, 2 * int64_t(kLongRun));
        std::atomic<int32_t> secondBlocks{0};
        try {
            RunChannelsInParallel(2, kParallelChannelFrames, progress, [&](int32_t channel, CChannelProgress& part) {
                for (int32_t block = 0; block < kLongRun; ++block) {
                    if (channel == 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    else ++secondBlocks;
                    part.BlockDone(1);
                }
            });
            ADD_FAILURE() << "not stopped";
        } catch (const NSMishap::XAbort& stop) {
            EXPECT_STREQ(stop.what(), "user pressed stop");
        }
        EXPECT_LT(secondBlocks.load(), kLongRun);
    }
}

TEST(ParallelChannels, AFailureOnEitherSideReachesTheCaller) {
    for (int32_t failing : {1, 2}) {
        SCOPED_TRACE(failing);
        CRecordingReporter reporter;
        CBlockProgress progress(reporter, 2000);
        std::atomic<bool> otherEnded{false};
        try {
            RunChannelsInParallel(2, kParallelChannelFrames, progress, [&](int32_t channel, CChannelProgress& part) {
                if (channel == failing) {
                    part.BlockDone(1);
                    throw std::runtime_error("channel " + std::to_string(channel) + " failed");
                }
                // The other side keeps reporting until the failure ends it.
                for (int32_t block = 0; block < 999; ++block) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                    part.BlockDone(1);
                }
                otherEnded = true;
            });
            ADD_FAILURE() << "no failure";
        } catch (const std::runtime_error& failure) {
            EXPECT_EQ(std::string(failure.what()), "channel " + std::to_string(failing) + " failed");
        }
        EXPECT_FALSE(otherEnded.load());
        EXPECT_EQ(reporter.fElsewhere, 0);
    }
}

}  // namespace
}  // namespace NSQuillet
