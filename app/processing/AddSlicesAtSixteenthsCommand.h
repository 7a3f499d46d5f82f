#pragma once

#include <cstdint>

namespace NSQuillet {

class CQuilletDocument;

// More grid points than this make the command ask first.
inline constexpr int64_t kManySixteenths = 1000;

// The grid needs a loop length.
bool CanAddSlicesAtSixteenths(const CQuilletDocument& document);

// 16 / the time signature's denominator, in integer division (6/8 gives 2).
int32_t SixteenthsPerBeat(int32_t denominator);

// Lays a locked slice (level 16384) on every beat and every sixteenth between the locators:
// beat b at left + b × beat length, its sixteenths each a beat length / sixteenths per beat
// further, each truncated to a frame and kept only when it lies more than half a step before
// the right locator. A grid point on an unlocked slice locks it, keeping its level and
// selection. Commits "Add Slices at 1/16ths" as one undo step and answers true.
// With more than 1000 grid points it asks first; anything but OK ends it with XSilentAbort and
// nothing changed. When the slice count would stay the same (no loop length, no frames
// between the locators, or every point on a slice already) it says "No slices were added."
// and answers false.
bool AddSlicesAtSixteenths(CQuilletDocument& document);

}  // namespace NSQuillet
