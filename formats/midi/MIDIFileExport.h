#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/media/Media.h"

namespace NSQuillet {

class CExporter;

// Where a slice sounds in the loop, in ticks of 15360 per quarter note from the loop's start.
struct SMIDISliceTicks {
    int32_t fStartTick = 0;
    int32_t fEndTick = 0;
};

// What the MIDI file of a loop is made from.
struct SMIDILoop {
    int32_t fNumerator = 4;
    int32_t fDenominator = 4;
    // Thousandths of a beat per minute.
    int32_t fTempo = 120000;
    // (bars × numerator + beats) × 4 × 15360 / denominator.
    int32_t fLoopTicks = 0;
    // In loop order: starts never decrease.
    std::vector<SMIDISliceTicks> fSlices;
};

inline constexpr int32_t kMIDIFileTicksPerQuarterNote = 960;

// The exporter's items timed as it plans them, at the preview tempo it plays them at.
SMIDILoop DescribeMIDILoop(const CExporter& exporter);

// A format 1 file of two tracks at 960 ticks per quarter note: the time signature and tempo,
// then one note per slice on (baseNote + i) mod 256, held until the next slice of the loop
// starts (or the loop ends), so notes never overlap. A note number above 127 is clamped to 127,
// the highest a MIDI data byte holds. `sliceCount` negative or above the loop's slices: all of
// them. `trackName` is UTF-8; each character beyond 7 bits becomes "_". A slice starting before
// 0 or before its predecessor, or a negative loop length or tempo, is an XStdInvalidArgument.
void WriteMIDIFile(const SMIDILoop& loop, CMedia& media, int32_t baseNote, int32_t sliceCount,
                   const std::string& trackName);

}  // namespace NSQuillet
