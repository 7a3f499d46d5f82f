#pragma once

#include <cstdint>
#include <functional>

namespace NSQuillet {

class CBlockProgress;
class CChannelRuns;

// The progress of one channel's part of a pass run by RunChannelsInParallel: what a
// CBlockProgress is to a pass on one thread. Used on the thread that runs the channel.
class CChannelProgress {
public:
    // `frames` more are done; 0 only polls. Ends the channel's work by an exception when the
    // pass is to stop.
    void BlockDone(int64_t frames);

private:
    friend class CChannelRuns;
    CChannelProgress(CChannelRuns& runs, bool onCallingThread) : fRuns(runs), fOnCallingThread(onCallingThread) {}

    CChannelRuns& fRuns;
    bool fOnCallingThread;
};

// Runs work(channel, progress) for channels 1..channelCount (1 or 2). With two channels of
// at least kParallelChannelFrames frames, channel 2 runs on a second thread while channel 1
// runs on the calling thread; otherwise they run one after the other on the calling thread.
// `work` must touch nothing the other channel writes. Every BlockDone of either channel
// reaches `progress` on the calling thread, one call each, so the calls are as many as on one
// thread and a stop takes effect at any of them. A stop or a failure on either side ends the
// other side's work at its next block; the calling thread raises it once both have ended.
// Calling thread: the user-interface thread, as for CBlockProgress.
void RunChannelsInParallel(int32_t channelCount, int64_t framesPerChannel, CBlockProgress& progress,
                           const std::function<void(int32_t channel, CChannelProgress& progress)>& work);

// Below this many frames a channel is not worth a thread.
inline constexpr int64_t kParallelChannelFrames = 65536;

}  // namespace NSQuillet
