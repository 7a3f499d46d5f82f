#pragma once

#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"
#include "formats/loopfile/LoopFileInfo.h"
#include "formats/soundfile/SoundFileInfo.h"

namespace NSQuillet {

inline const CResourceReference kAlert_UnsupportedBitDepth = AlertReference(NSAlertIds::kUnsupportedBitDepth);
inline const CResourceReference kAlert_UnsupportedChannels = AlertReference(NSAlertIds::kUnsupportedChannels);
inline const CResourceReference kAlert_UnsupportedSampleRate = AlertReference(NSAlertIds::kUnsupportedSampleRate);

// The first of opening's checks that a file's information fails.
enum class ESoundFileInfoRefusal { kNone, kBitDepth, kChannels, kSampleRate };

// Opening's checks, in this order: bit depth 8, 16 or 24 (float samples fail it), 1 or 2
// channels, rate 11025..1000000 Hz inclusive. Any thread.
ESoundFileInfoRefusal FindSoundFileInfoRefusal(const SSoundFileInfo& info);
// A loop file's information in the terms of a sound file's, for the same checks.
SSoundFileInfo SoundFileInfoOf(const SLoopFileInfo& info);

// The checks of FindSoundFileInfoRefusal; the first that fails is shown (ShowAlert) and ends the
// open with XSilentAbort "invalid sound file info". User-interface thread.
void CheckSoundFileInfo(const SSoundFileInfo& info);

// The same checks on a loop file's information.
void CheckSoundFileInfo(const SLoopFileInfo& info);

}  // namespace NSQuillet
