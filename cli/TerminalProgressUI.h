#pragma once

#include <ostream>

#include "app/operations/LengthyOperationUI.h"

namespace NSQuillet::NSCli {

// The command line's progress "window": a one-line bar on the error stream, shown after about
// a second and only when that stream is a terminal. Ctrl-C stops the running operation like
// the Stop button; a second Ctrl-C ends the process.
class CTerminalProgressUI final : public NSCourier::ILengthyOperationUI {
public:
    // `showBars` false (not a terminal, or --quiet) runs every operation windowless.
    CTerminalProgressUI(std::ostream& err, bool showBars);
    ~CTerminalProgressUI() override;

    std::unique_ptr<NSCourier::IBusyGuard> CreateBusyGuard() override { return nullptr; }
    std::unique_ptr<NSCourier::ILengthyOperationWindow> CreateWindow(NSCourier::CLengthyOperation& operation,
                                                                     const std::string& title,
                                                                     bool stoppable) override;
    uint64_t GetWindowDelayMilliseconds() const override { return 1000; }
    bool IsInterrupted() const override;

    // Whether standard error is a terminal.
    static bool IsErrorStreamATerminal();

private:
    std::ostream& fErr;
    bool fShowBars;
};

}  // namespace NSQuillet::NSCli
