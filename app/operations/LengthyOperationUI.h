#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace NSCourier {

class CLengthyOperation;

// The progress window of one lengthy operation: a title, a progress text, a bar and Stop.
class ILengthyOperationWindow {
public:
    virtual ~ILengthyOperationWindow() = default;
    virtual void SetProgress(int32_t permille) = 0;
    virtual void SetProgressText(const std::string& text) = 0;
    // Whether the window wants the window library to process pending events now.
    virtual bool WantsEvents() const = 0;
    // Lets the window library process pending events; its failures propagate.
    virtual void ProcessPendingEvents() = 0;
    virtual void Notify(int32_t notification) = 0;
    virtual bool IsStopPressed() const = 0;
};

// Shown from the start of an operation until its window appears (a busy cursor).
class IBusyGuard {
public:
    virtual ~IBusyGuard() = default;
};

// What the user interface supplies to lengthy operations: the modal progress window (the GUI)
// or a terminal progress bar (the command line). Without one, operations run windowless.
class ILengthyOperationUI {
public:
    virtual ~ILengthyOperationUI() = default;
    virtual std::unique_ptr<IBusyGuard> CreateBusyGuard() = 0;
    // `stoppable` is false for work whose Stop button is disabled.
    virtual std::unique_ptr<ILengthyOperationWindow> CreateWindow(CLengthyOperation& operation,
                                                                  const std::string& title, bool stoppable) = 0;
    // How long work may run before its window is shown.
    virtual uint64_t GetWindowDelayMilliseconds() const { return 3000; }
    // A stop the user asked for outside any window (Ctrl-C on the command line).
    virtual bool IsInterrupted() const { return false; }
};

// The process-wide user interface of lengthy operations; null means windowless.
void SetLengthyOperationUI(ILengthyOperationUI* ui);
ILengthyOperationUI* GetLengthyOperationUI();

}  // namespace NSCourier
