#pragma once

#include <ostream>
#include <string>
#include <utility>

#include "foundation/Diagnostics.h"

namespace NSQuillet::NSCli {

// The command line's diagnostics on the error stream, "quillet-cli: Diagnostic: CONTEXT:
// MESSAGE", with the failure's code name in brackets when verbose. They do not change the exit
// code: the command they occurred in went on. A `subject` (the input file of a run over several
// files) is named after "quillet-cli: ".
class CDiagnosticPrinter final : public NSMishap::IDiagnosticSink {
public:
    CDiagnosticPrinter(std::ostream& err, bool verbose, std::string subject = "")
        : fErr(err), fVerbose(verbose), fSubject(std::move(subject)) {}
    void Report(const NSMishap::SDiagnostic& diagnostic) override;

private:
    std::ostream& fErr;
    bool fVerbose;
    std::string fSubject;
};

}  // namespace NSQuillet::NSCli
