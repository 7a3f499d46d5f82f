#include "engine/SampleFillGate.h"

#include <stdexcept>

namespace NSQuillet {

void CSampleFillGate::Publish(int64_t framesDone) {
    {
        std::lock_guard<std::mutex> lock(fMutex);
        if (framesDone > fDone) fDone = framesDone;
    }
    fChanged.notify_all();
}

void CSampleFillGate::Finish() {
    {
        std::lock_guard<std::mutex> lock(fMutex);
        fFinished = true;
    }
    fChanged.notify_all();
}

void CSampleFillGate::Fail(std::exception_ptr failure) {
    {
        std::lock_guard<std::mutex> lock(fMutex);
        if (!fFailure) fFailure = failure;
        fFinished = true;
    }
    fChanged.notify_all();
}

void CSampleFillGate::WaitFor(int64_t frames) {
    std::unique_lock<std::mutex> lock(fMutex);
    fChanged.wait(lock, [&] { return fDone >= frames || fFinished; });
    if (fDone >= frames) return;
    if (fFailure) std::rethrow_exception(fFailure);
    throw std::logic_error("sample finished short of the frames asked for");
}

void CSampleFillGate::RequestStop() {
    std::lock_guard<std::mutex> lock(fMutex);
    fStopRequested = true;
}

bool CSampleFillGate::IsStopRequested() const {
    std::lock_guard<std::mutex> lock(fMutex);
    return fStopRequested;
}

}  // namespace NSQuillet
