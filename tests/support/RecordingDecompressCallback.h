#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/loopfile/LUX2DecompressCallback.h"

namespace NSQuilletTest {

// Records the frames reported while a loop file's sound is read and asks to stop at call
// `stopAtCall` (counted from 1; never by default).
class CRecordingCallback : public NSQuillet::CLUX2DecompressCallback {
public:
    explicit CRecordingCallback(size_t stopAtCall = SIZE_MAX) : fStopAtCall(stopAtCall) {}
    bool Progress(int64_t framesDone) override {
        fCalls.push_back(framesDone);
        return fCalls.size() == fStopAtCall;
    }
    std::vector<int64_t> fCalls;

private:
    size_t fStopAtCall;
};

}  // namespace NSQuilletTest
