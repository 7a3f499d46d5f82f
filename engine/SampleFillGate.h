#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>

namespace NSQuillet {

// How far one thread has filled a wave sample, for another that reads its frames as they come:
// the filler publishes the frames done (never fewer than before) and ends with Finish or Fail;
// the reader waits for the frames it needs. A reader may ask the filler to stop. Any thread.
class CSampleFillGate {
public:
    void Publish(int64_t framesDone);
    // Every frame is there: waits return at once.
    void Finish();
    // The filler failed with `failure`: waits rethrow it.
    void Fail(std::exception_ptr failure);

    // Blocks until `frames` frames are done; the filler's failure comes as itself. Finishing
    // with fewer frames done than asked is a std::logic_error.
    void WaitFor(int64_t frames);

    void RequestStop();
    bool IsStopRequested() const;

private:
    mutable std::mutex fMutex;
    std::condition_variable fChanged;
    int64_t fDone = 0;
    bool fFinished = false;
    bool fStopRequested = false;
    std::exception_ptr fFailure;
};

}  // namespace NSQuillet
