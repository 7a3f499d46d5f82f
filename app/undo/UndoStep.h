#pragma once

#include <string>
#include <utility>

#include "app/undo/Change.h"

namespace NSUndoPackage {

// One entry of the Edit menu's history: a name and the changes it applies, in order.
class VUndoStep {
public:
    VUndoStep(std::string name, TChangeList changes) : fName(std::move(name)), fChanges(std::move(changes)) {}

    const std::string& GetName() const { return fName; }
    const TChangeList& GetChanges() const { return fChanges; }

private:
    std::string fName;
    TChangeList fChanges;
};

}  // namespace NSUndoPackage
