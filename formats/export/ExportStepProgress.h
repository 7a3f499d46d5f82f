#pragma once

#include <cstdint>

#include "foundation/ProgressReporter.h"

namespace NSQuillet {

// The progress of step `step` of `steps` (one file, one slice) as its share of the whole
// export: the step's 0..1000 maps onto the thousandths from step / steps to (step + 1) /
// steps. Stop is the whole export's. `whole` may be null: then nothing is reported and
// nothing stops. User-interface thread.
class CExportStepProgress final : public IProgressReporter {
public:
    CExportStepProgress(IProgressReporter* whole, int64_t step, int64_t steps)
        : fWhole(whole), fStep(step), fSteps(steps > 0 ? steps : 1) {}

    void Progress(int32_t permille) override {
        if (fWhole) fWhole->Progress(int32_t((fStep * 1000 + permille) / fSteps));
    }
    bool IsStopRequested() const override { return fWhole && fWhole->IsStopRequested(); }

private:
    IProgressReporter* fWhole;
    int64_t fStep;
    int64_t fSteps;
};

}  // namespace NSQuillet
