#pragma once

#include <memory>

#include "engine/LUXObject.h"
#include "formats/media/Media.h"

namespace NSQuillet {

// A loop file read whole into an auditioning loop: its sound, slices, loop settings and what
// its preview plays with (pitch, gain, envelope, transient shaper, equalizer), in slice mode
// when the file exports slices separately. The file's failures propagate, and a
// loop without bars and beats is an XFormatViolation "zero loop length". User-interface thread;
// blocks on the media.
std::unique_ptr<CLUXObject> ReadLUXObject(std::shared_ptr<CMedia> media);

}  // namespace NSQuillet
