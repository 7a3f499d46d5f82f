#pragma once

#include "formats/media/Media.h"

namespace NSQuillet {

// A media that is a view of a parent media. The parent must outlive it.
class CABCChildMedia : public CMedia {
public:
    // Sets the parent's current position to the place in the parent of this media's current
    // position; with `recursive`, a parent that is itself a child then does the same.
    virtual void SyncToParent(bool recursive) = 0;

protected:
    // Moves `parent` to `parentPosition` and carries on up the chain when asked.
    static void MoveParent(CMedia& parent, uint64_t parentPosition, bool recursive);
};

}  // namespace NSQuillet
