#pragma once

#include <functional>
#include <string>

namespace NSQuillet {

// The save-before-close conversation of one window, from the question to its single answer.
// User-interface thread.
class CDelayedWindowCloser {
public:
    enum class EAnswer { kYes, kNo, kCancel };

    struct SActions {
        // Saves the document (Save As for one without a loop file); true once saved.
        std::function<bool()> fSave;
        // Closes the window.
        std::function<void()> fClose;
    };

    CDelayedWindowCloser(std::string displayName, bool quitting, SActions actions);

    // "Save changes to the document “name” before closing?" (or "…before quitting?").
    std::string GetQuestion() const;
    // The answer's action, once: Yes saves and closes when the save completed, No closes,
    // Cancel leaves the window open. Any later answer does nothing. True when the window
    // closed.
    bool Answer(EAnswer answer);
    bool IsFinished() const { return fFinished; }

private:
    std::string fDisplayName;
    bool fQuitting;
    SActions fActions;
    bool fFinished = false;
};

}  // namespace NSQuillet
