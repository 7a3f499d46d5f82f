#include "app/operations/LengthyOperation.h"

#include <algorithm>

namespace NSCourier {

namespace {

ILengthyOperationUI* gUI = nullptr;

}  // namespace

void SetLengthyOperationUI(ILengthyOperationUI* ui) { gUI = ui; }
ILengthyOperationUI* GetLengthyOperationUI() { return gUI; }

CLengthyOperation::CLengthyOperation(ILengthyOperationUI* ui, const IMillisecondClock& clock)
    : fUI(ui),
      fClock(clock),
      fStartTime(clock.NowMilliseconds()),
      fDelay(ui ? ui->GetWindowDelayMilliseconds() : 3000),
      fLastUpdate(fStartTime),
      fBusyGuard(ui ? ui->CreateBusyGuard() : nullptr) {}

CLengthyOperation::~CLengthyOperation() = default;

void CLengthyOperation::Progress(int32_t permille) {
    fLastProgress = std::clamp<int32_t>(permille, 0, 1000);
    const uint64_t now = fClock.NowMilliseconds();
    if (now - fLastUpdate < kUpdateIntervalMilliseconds) return;
    if (!fWindow && now - fStartTime > fDelay) {
        fWindow = CreateWindow();
        if (fWindow) fBusyGuard.reset();
    }
    if (fWindow) {
        fWindow->SetProgress(fLastProgress);
        if (fWindow->WantsEvents()) fWindow->ProcessPendingEvents();
    }
    fLastUpdate = now;
}

void CLengthyOperation::Idle() {
    if (fWindow && fWindow->WantsEvents()) fWindow->ProcessPendingEvents();
}

void CLengthyOperation::Notify(int32_t notification) {
    if (fWindow) fWindow->Notify(notification);
}

bool CLengthyOperation::IsStopRequested() const {
    if (fStopRequested) return true;
    if (fWindow && fWindow->IsStopPressed()) return true;
    return fUI && fUI->IsInterrupted();
}

void CLengthyOperation::RequestStop() { fStopRequested = true; }

}  // namespace NSCourier
