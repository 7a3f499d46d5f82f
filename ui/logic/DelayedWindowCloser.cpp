#include "ui/logic/DelayedWindowCloser.h"

#include <utility>

#include "app/resources/ProgramResources.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

namespace NSQuillet {

CDelayedWindowCloser::CDelayedWindowCloser(std::string displayName, bool quitting, SActions actions)
    : fDisplayName(std::move(displayName)), fQuitting(quitting), fActions(std::move(actions)) {}

std::string CDelayedWindowCloser::GetQuestion() const {
    using namespace NSFrameworkStringIds;
    return FrameworkStringReference(fQuitting ? kSaveBeforeQuitting : kSaveBeforeClosing).With(fDisplayName).GetText();
}

bool CDelayedWindowCloser::Answer(EAnswer answer) {
    if (fFinished) return false;
    // Marked before acting: saving runs the event loop, where a second answer may arrive.
    fFinished = true;
    switch (answer) {
    case EAnswer::kYes:
        if (!fActions.fSave()) return false;
        fActions.fClose();
        return true;
    case EAnswer::kNo:
        fActions.fClose();
        return true;
    case EAnswer::kCancel:
        return false;
    }
    return false;
}

}  // namespace NSQuillet
