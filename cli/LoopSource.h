#pragma once

#include <memory>
#include <string>

#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet::NSCli {

// An input file opened as the editor opens it: the wave sample and, once analysed, its slices.
// A stop during reading is XAbort "user pressed stop".
struct SOpenedLoop {
    std::unique_ptr<CABCWaveSample> fWaveSample;
    std::unique_ptr<CSliceSequence> fSlices;
};

// Opens a sound file (checks, reading under the "Open" progress) and analyses it under the
// "Analyze" progress. A stopped analysis shows the editor's note and ends the command as stopped.
SOpenedLoop OpenAndAnalyze(const std::string& path);

}  // namespace NSQuillet::NSCli
