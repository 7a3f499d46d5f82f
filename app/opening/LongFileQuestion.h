#pragma once

#include <cstdint>

#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"

namespace NSQuillet {

inline const CResourceReference kAlert_LongFile = AlertReference(NSAlertIds::kLongFile);

// Sounds this many whole minutes long or longer make opening ask first.
inline constexpr int64_t kLongFileMinutes = 5;

// (frames / rate in whole seconds) / 60, both divisions truncating; 0 for a rate of 0.
int64_t WholeMinutesOf(int64_t frames, int64_t sampleRate);

// At five whole minutes or more asks the long-file question; any answer but Open Anyway (and
// no one to ask) ends the open with XSilentAbort "long file not opened". User-interface
// thread; blocks while the question is shown.
void ConfirmOpeningLongFile(int64_t frames, int64_t sampleRate);

}  // namespace NSQuillet
