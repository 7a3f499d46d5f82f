#include "cli/DiagnosticPrinter.h"

#include "foundation/FailureCode.h"

namespace NSQuillet::NSCli {

void CDiagnosticPrinter::Report(const NSMishap::SDiagnostic& diagnostic) {
    fErr << "quillet-cli: ";
    if (!fSubject.empty()) fErr << fSubject << ": ";
    fErr << "Diagnostic: " << diagnostic.fContext << ": " << diagnostic.fMessage;
    if (fVerbose) fErr << " [" << NSMishap::GetFailureCodeName(diagnostic.fFailureCode) << "]";
    fErr << '\n';
}

}  // namespace NSQuillet::NSCli
