#pragma once

#include <ostream>

#include "foundation/Diagnostics.h"

namespace NSQuillet::NSCli {

// The command line's diagnostics on the error stream, "quillet-cli: Diagnostic: CONTEXT:
// MESSAGE", with the failure's code name in brackets when verbose. They do not change the exit
// code: the command they occurred in went on.
class CDiagnosticPrinter final : public NSMishap::IDiagnosticSink {
public:
    CDiagnosticPrinter(std::ostream& err, bool verbose) : fErr(err), fVerbose(verbose) {}
    void Report(const NSMishap::SDiagnostic& diagnostic) override;

private:
    std::ostream& fErr;
    bool fVerbose;
};

}  // namespace NSQuillet::NSCli
