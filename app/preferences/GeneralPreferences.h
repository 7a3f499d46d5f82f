#pragma once

#include <cstdint>
#include <string>

#include "app/processing/ConvertToMonoCommand.h"
#include "app/resources/NoteCounters.h"

namespace NSQuillet {

// The program's settings with their defaults, as the preferences object keeps them and the
// general chunk of the preferences file stores them.
struct SGeneralPreferences {
    uint32_t fHorizontalRulerUnitsSaved = 0;  // 0 or 1
    bool fViewStereoFilesAsSumOfLR = false;
    bool fDefaultBarsToOne = false;
    bool fAlwaysMoveLeftLocatorToFirstSlice = false;
    bool fCropToLoopWhenExportingAsOneSample = false;
    bool fScrollDuringPlayback = true;
    bool fAutoPlay = true;
    // The last export's format as its extension, UTF-8, at most 95 characters.
    std::string fLastExportExtension = ".mid";
    uint32_t fExportSampleRate = 44100;  // Hz
    uint32_t fExportBitDepth = 16;
    // "Export MIDI file with the same name" of the export settings.
    bool fExportFlag = false;
    CNoteCounters fNoteCounters;
    EMonoChoice fConvertToMonoSelection = EMonoChoice::kMix;
    uint32_t fConvertSampleFormatRate = 44100;  // Hz
    uint32_t fConvertSampleFormatBitDepth = 16;
};

bool operator==(const SGeneralPreferences& a, const SGeneralPreferences& b);
inline bool operator!=(const SGeneralPreferences& a, const SGeneralPreferences& b) { return !(a == b); }

// The values the program can use, checked as a whole on reading and on every change: ruler
// units 0 or 1; a mono selection of the three; export and conversion rates 11025..1000000 Hz
// (the rates the program computes with) and bit depths 16 or 24 (the depths it writes); an
// extension of valid UTF-8 and at most 95 characters. Flags and note counters take any value.
bool IsValidGeneralPreferences(const SGeneralPreferences& general);

}  // namespace NSQuillet
