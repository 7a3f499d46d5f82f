#include "app/operations/QuilletLengthyOperation.h"

#include <utility>

namespace NSQuillet {

CQuilletLengthyOperation::CQuilletLengthyOperation(std::string title, bool stoppable,
                                                   NSCourier::ILengthyOperationUI* ui,
                                                   const NSCourier::IMillisecondClock& clock)
    : CSimpleLengthyOperation(std::move(title), ui, clock), fStoppable(stoppable) {}

void CQuilletLengthyOperation::SetText(const std::string& text) {
    fText = text;
    if (GetWindow()) GetWindow()->SetProgressText(fText);
    Progress(GetLastProgress());
}

std::unique_ptr<NSCourier::ILengthyOperationWindow> CQuilletLengthyOperation::CreateWindow() {
    auto window = CSimpleLengthyOperation::CreateWindow();
    if (window && !fText.empty()) window->SetProgressText(fText);
    return window;
}

}  // namespace NSQuillet
