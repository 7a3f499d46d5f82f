#include "formats/media/ChildMedia.h"

namespace NSQuillet {

void CABCChildMedia::MoveParent(CMedia& parent, uint64_t parentPosition, bool recursive) {
    parent.SetPosition(parentPosition);
    if (!recursive) return;
    if (auto* child = dynamic_cast<CABCChildMedia*>(&parent)) child->SyncToParent(true);
}

}  // namespace NSQuillet
