#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "engine/SampleFillGate.h"

namespace {

using namespace NSQuillet;

// A reader waits for its frames across threads; a finished filler short of them and a failed one
// end the wait; a reader's stop reaches the filler.
TEST(SampleFillGate, WaitsForFramesAndEndsOnFinishFailureOrStop) {
    CSampleFillGate gate;
    std::thread filling([&] {
        for (int64_t done = 1000; done <= 5000; done += 1000) gate.Publish(done);
        gate.Publish(2000);  // never fewer than before
        gate.Finish();
    });
    gate.WaitFor(5000);
    filling.join();
    gate.WaitFor(5000);
    EXPECT_THROW(gate.WaitFor(5001), std::logic_error);

    CSampleFillGate failed;
    failed.Publish(10);
    failed.Fail(std::make_exception_ptr(std::runtime_error("broken")));
    failed.WaitFor(10);
    EXPECT_THROW(failed.WaitFor(11), std::runtime_error);

    CSampleFillGate stopped;
    EXPECT_FALSE(stopped.IsStopRequested());
    stopped.RequestStop();
    EXPECT_TRUE(stopped.IsStopRequested());
}

}  // namespace
