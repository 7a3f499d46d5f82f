#include "foundation/ProgressReporter.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

void ThrowIfStopRequested(const IProgressReporter& reporter) {
    if (reporter.IsStopRequested()) throw NSMishap::XAbort("user pressed stop");
}

}  // namespace NSQuillet
