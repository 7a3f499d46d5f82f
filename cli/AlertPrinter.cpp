#include "cli/AlertPrinter.h"

#include <new>

#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"

namespace NSQuillet::NSCli {

void CAlertPrinter::PrintAlert(const std::string& heading, const std::string& body, const std::string& diagnostic) const {
    fErr << "quillet-cli: " << heading << ": " << body;
    if (fVerbose && !diagnostic.empty()) fErr << " [" << diagnostic << "]";
    fErr << '\n';
}

void CAlertPrinter::PrintFailure(const std::exception& failure) const {
    const uint32_t code = NSMishap::GetFailureCode(failure);
    std::string diagnostic = failure.what();
    if (const auto* mishap = NSMishap::FindMishap(failure)) {
        diagnostic = std::string(NSMishap::GetFailureCodeName(code)) + ": " + diagnostic;
        if (auto target = mishap->GetProperty(NSMishap::kProperty_TargetObjectType)) diagnostic += ", " + *target;
        if (auto error = mishap->GetProperty(NSMishap::kProperty_ErrorCode)) diagnostic += ", error " + *error;
    }
    if (dynamic_cast<const std::bad_alloc*>(&failure)) {
        PrintAlert("Out of Memory", "There is not enough memory to complete the operation.", diagnostic);
    } else {
        PrintAlert("Error", failure.what(), diagnostic);
    }
}

}  // namespace NSQuillet::NSCli
