#pragma once

#include <cstdint>
#include <memory>

#include "app/operations/LengthyOperationUI.h"
#include "app/operations/MillisecondClock.h"
#include "foundation/ProgressReporter.h"

namespace NSCourier {

// Long work on the user-interface thread reports here. After the delay (3000 ms) a progress
// window is shown, updated at most once per 100 ms; Stop is answered by IsStopRequested.
// Destruction closes the window.
class CLengthyOperation : public NSQuillet::IProgressReporter {
public:
    ~CLengthyOperation() override;
    CLengthyOperation(const CLengthyOperation&) = delete;
    CLengthyOperation& operator=(const CLengthyOperation&) = delete;

    void Progress(int32_t permille) override;
    // Lets the window library process pending events when the window asks for it.
    virtual void Idle();
    virtual void Notify(int32_t notification);
    bool IsStopRequested() const override;
    virtual void RequestStop();

    bool HasWindow() const { return fWindow != nullptr; }
    int32_t GetLastProgress() const { return fLastProgress; }

protected:
    explicit CLengthyOperation(ILengthyOperationUI* ui = GetLengthyOperationUI(),
                               const IMillisecondClock& clock = GetSteadyClock());
    virtual std::unique_ptr<ILengthyOperationWindow> CreateWindow() = 0;

    ILengthyOperationUI* GetUI() const { return fUI; }
    ILengthyOperationWindow* GetWindow() const { return fWindow.get(); }

private:
    static constexpr uint64_t kUpdateIntervalMilliseconds = 100;

    ILengthyOperationUI* fUI;
    const IMillisecondClock& fClock;
    std::unique_ptr<ILengthyOperationWindow> fWindow;
    uint64_t fStartTime;
    uint64_t fDelay;
    uint64_t fLastUpdate;
    bool fStopRequested = false;
    std::unique_ptr<IBusyGuard> fBusyGuard;
    int32_t fLastProgress = 0;
};

}  // namespace NSCourier
