#pragma once

#include <functional>

#include "ui/logic/WindowKeys.h"

namespace NSQuillet {

class ILoopLengthRequest;

// What the toolbars ask of their window. User-interface thread.
class IToolbarHost {
public:
    // Runs `work` in the application's command runner: a failure escaping it is shown with its
    // alert, and the document stays as its last completed step left it.
    virtual void RunToolbarCommand(const std::function<void()>& work) = 0;
    // The window's own action, as its keys run it (play modes, stop, tools); failures propagate.
    virtual void DoWindowAction(EWindowAction action) = 0;
    // The loop-length question of commands that need a length (the Beats ruler units).
    virtual ILoopLengthRequest& GetLoopLengthRequest() = 0;
    // Gives the keyboard focus back to the window, so that Space and the arrows reach it again.
    virtual void ReturnFocusToWindow() = 0;

protected:
    ~IToolbarHost() = default;
};

}  // namespace NSQuillet
