#include "ui/logic/FatalFailure.h"

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"
#include "ui/logic/AlertButtons.h"

namespace NSQuillet {

namespace {

bool IsMissingSystemPart(const std::exception* failure) {
    const auto* mishap = dynamic_cast<const NSMishap::NSMishapDetails::CExceptionBodyRefMixin*>(failure);
    if (!mishap) return false;
    const std::optional<std::string> target = mishap->GetProperty(NSMishap::kProperty_TargetObjectType);
    return target == std::string(NSMishap::kTargetObjectType_Interface) ||
           target == std::string(NSMishap::kTargetObjectType_Api);
}

}  // namespace

std::string FatalFailureText(const std::exception* failure) {
    const bool missingSystemPart = IsMissingSystemPart(failure);
    try {
        const int32_t entry = missingSystemPart ? NSStringIds::kNeedsNewerSystemLibrary : NSStringIds::kCannotRun;
        return AlertDisplayText(StringReference(entry).GetText());
    } catch (...) {
        // The tables themselves may be what failed.
        return missingSystemPart ? "Quillet needs a newer version of a system library to run."
                                 : "Quillet cannot run because of an unexpected error.";
    }
}

}  // namespace NSQuillet
