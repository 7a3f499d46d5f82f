#pragma once

#include <cstdint>

#include "formats/loopfile/LUX2DecompressCallback.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

// Tells a lengthy operation how far the decoding of a loop file's sound has come, and stops
// the decoding when the operation is stopped. User-interface thread.
class CLOPDecompressCallback final : public CLUX2DecompressCallback {
public:
    // `operation` is not owned and outlives the callback; `totalFrames` is the sound's length.
    CLOPDecompressCallback(IProgressReporter& operation, int64_t totalFrames)
        : fOperation(operation), fTotalFrames(totalFrames) {}

    // Reports framesDone × 1000 / total, truncated and kept within 0..1000 (1000 for a total
    // of 0); answers whether the operation was stopped.
    bool Progress(int64_t framesDone) override;

    // The permille Progress reports.
    static int32_t Permille(int64_t framesDone, int64_t totalFrames);

private:
    IProgressReporter& fOperation;
    int64_t fTotalFrames;
};

}  // namespace NSQuillet
