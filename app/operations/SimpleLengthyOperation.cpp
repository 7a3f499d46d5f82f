#include "app/operations/SimpleLengthyOperation.h"

#include <utility>

namespace NSCourier {

namespace {

// The window's title field holds at most 1023 characters.
constexpr size_t kMaximumTitleLength = 1023;

}  // namespace

CSimpleLengthyOperation::CSimpleLengthyOperation(std::string title, ILengthyOperationUI* ui,
                                                 const IMillisecondClock& clock)
    : CLengthyOperation(ui, clock), fTitle(std::move(title)) {
    if (fTitle.size() > kMaximumTitleLength) fTitle.resize(kMaximumTitleLength);
}

std::unique_ptr<ILengthyOperationWindow> CSimpleLengthyOperation::CreateWindow() {
    if (!GetUI()) return nullptr;
    return GetUI()->CreateWindow(*this, fTitle, IsStoppable());
}

}  // namespace NSCourier
