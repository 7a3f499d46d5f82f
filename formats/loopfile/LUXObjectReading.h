#pragma once

#include <memory>

#include "engine/LUXObject.h"
#include "formats/loopfile/LUX2DecompressCallback.h"
#include "formats/media/Media.h"

namespace NSQuillet {

// A loop file read whole into an auditioning loop: its sound, slices, loop settings and what
// its preview plays with (pitch, gain, envelope, transient shaper, equalizer), in slice mode
// when the file exports slices separately. The file's failures propagate, and a
// loop without bars and beats is an XFormatViolation "zero loop length". `callback` (may be
// null) hears the decoding's progress and may stop it (XAbort "stopped by callback"). Blocks on
// the media; any one thread, as long as it has the media and the object to itself.
std::unique_ptr<CLUXObject> ReadLUXObject(std::shared_ptr<CMedia> media, CLUX2DecompressCallback* callback = nullptr);

}  // namespace NSQuillet
