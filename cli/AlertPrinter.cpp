#include "cli/AlertPrinter.h"

#include <algorithm>
#include <optional>

#include "app/resources/FailureAlert.h"
#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"

namespace NSQuillet::NSCli {

namespace {

const char* KindHeading(EAlertKind kind) {
    switch (kind) {
        case EAlertKind::kStop: return "Error";
        case EAlertKind::kWarn: return "Warning";
        case EAlertKind::kNote: return "Note";
    }
    return "Note";
}

}  // namespace

int32_t CAlertPrinter::Present(const SAlert& alert) {
    const size_t buttons = std::max<size_t>(alert.fButtons.size(), 1);
    const bool question = buttons > 1;
    if (question && fAnswerYes) return AlertAnswerOfButton(buttons - 1, buttons);
    PrintChosenAlert(alert, "");
    if (question) return AlertAnswerOfButton(0, buttons);
    if (alert.fKind != EAlertKind::kNote) fShownFailureAlert = true;
    return AlertAnswerOfButton(0, 1);
}

void CAlertPrinter::PrintAlert(const std::string& heading, const std::string& body, const std::string& diagnostic) const {
    fErr << "quillet-cli: ";
    if (!fSubject.empty()) fErr << fSubject << ": ";
    fErr << heading << ": " << body;
    if (fVerbose && !diagnostic.empty()) fErr << " [" << diagnostic << "]";
    fErr << '\n';
}

void CAlertPrinter::PrintFailure(const std::exception& failure) const {
    const std::optional<CResourceReference> chosen = ChooseFailureAlert(failure);
    if (!chosen) return;
    const uint32_t code = NSMishap::GetFailureCode(failure);
    std::string diagnostic = failure.what();
    if (const auto* mishap = NSMishap::FindMishap(failure)) {
        diagnostic = std::string(NSMishap::GetFailureCodeName(code)) + ": " + diagnostic;
        if (auto target = mishap->GetProperty(NSMishap::kProperty_TargetObjectType)) diagnostic += ", " + *target;
        if (auto error = mishap->GetProperty(NSMishap::kProperty_ErrorCode)) diagnostic += ", error " + *error;
    }
    PrintChosenAlert(chosen->GetAlert(), diagnostic);
}

void CAlertPrinter::PrintUnknownFailure() const { PrintChosenAlert(ChooseUnknownFailureAlert().GetAlert(), ""); }

void CAlertPrinter::PrintChosenAlert(const SAlert& alert, const std::string& diagnostic) const {
    std::string body = alert.fBody;
    std::replace(body.begin(), body.end(), '\r', ' ');
    PrintAlert(alert.fHeading.empty() ? KindHeading(alert.fKind) : alert.fHeading, body, diagnostic);
}

}  // namespace NSQuillet::NSCli
