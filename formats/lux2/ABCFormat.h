#pragma once

#include "formats/media/Media.h"

namespace NSQuillet {

// One chunk body of a loop file. Each kind reads and validates itself from the chunk's body
// media in a constructor, is built from values for writing in another, and writes its body.
class CABCFormat {
public:
    virtual ~CABCFormat() = default;
    // The body at the media's position, in the chunk's layout.
    virtual void Write(CMedia& media) const = 0;
};

}  // namespace NSQuillet
