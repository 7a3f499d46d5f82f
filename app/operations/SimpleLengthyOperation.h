#pragma once

#include <string>

#include "app/operations/LengthyOperation.h"

namespace NSCourier {

// A lengthy operation whose window shows one title text.
class CSimpleLengthyOperation : public CLengthyOperation {
public:
    explicit CSimpleLengthyOperation(std::string title, ILengthyOperationUI* ui = GetLengthyOperationUI(),
                                     const IMillisecondClock& clock = GetSteadyClock());

    const std::string& GetTitle() const { return fTitle; }

protected:
    std::unique_ptr<ILengthyOperationWindow> CreateWindow() override;
    virtual bool IsStoppable() const { return true; }

private:
    std::string fTitle;
};

}  // namespace NSCourier
