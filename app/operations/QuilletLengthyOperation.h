#pragma once

#include <string>

#include "app/operations/SimpleLengthyOperation.h"

namespace NSQuillet {

// The program's lengthy operation: a title ("Analyze") and a progress text that the work may
// change between its passes ("Finding slices…").
class CQuilletLengthyOperation : public NSCourier::CSimpleLengthyOperation {
public:
    // `stoppable` false disables the window's Stop button.
    CQuilletLengthyOperation(std::string title, bool stoppable = true,
                             NSCourier::ILengthyOperationUI* ui = NSCourier::GetLengthyOperationUI(),
                             const NSCourier::IMillisecondClock& clock = NSCourier::GetSteadyClock());

    // Stores the new progress text, shows it at once and reports the current progress with it.
    void SetText(const std::string& text);
    const std::string& GetText() const { return fText; }

protected:
    std::unique_ptr<NSCourier::ILengthyOperationWindow> CreateWindow() override;
    bool IsStoppable() const override { return fStoppable; }

private:
    std::string fText;
    bool fStoppable;
};

}  // namespace NSQuillet
