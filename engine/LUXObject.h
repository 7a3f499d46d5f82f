#pragma once

#include <cstdint>
#include <memory>

#include "engine/LoopSettings.h"
#include "foundation/Units.h"

namespace NSQuillet {

class CABCWaveSample;
class CExporter;
class CQuilletSequencer;
class CSliceSequence;

// A self-contained loop for auditioning: its own audio, slices and loop settings, playing
// the loop at the preview tempo from the start.
//
// User-interface thread: construction. Render belongs to whichever single thread auditions
// the loop; it never allocates.
class CLUXObject {
public:
    // Takes the sample and the slices, which must divide that sample (else
    // XStdInvalidArgument), builds the sample's overview and starts the loop playing. A loop
    // without bars or beats is an XFormatViolation "zero loop length" aimed at "lux_file".
    CLUXObject(std::unique_ptr<CABCWaveSample> sample, std::unique_ptr<CSliceSequence> slices,
               const CLoopSettings& settings, bool sliceMode);
    ~CLUXObject();
    CLUXObject(const CLUXObject&) = delete;
    CLUXObject& operator=(const CLUXObject&) = delete;

    bool HasSlices() const { return fHasSlices; }
    const CQuilletSequencer& GetSequencer() const { return *fSequencer; }
    const CExporter& GetExporter() const { return *fExporter; }

    // Only while no thread renders the object. The rate the loop renders at, the sample's
    // clamped rate after construction.
    void SetOutputRate(uint32_t outputRate);
    // Only while no thread renders the object. Silences it and starts the loop again from
    // its first entry inside the locators.
    void Rewind();
    // Only while no thread renders the object. `change` sets what the loop plays with besides
    // its loop settings (pitch, gain, envelope, transient shaper, equalizer) on the sequencer;
    // then the loop is rewound, so that the equalizer starts at its new settings.
    template <class TChange>
    void ChangeSequencer(TChange&& change) {
        change(*fSequencer);
        Rewind();
    }

    // `count` frames at the output rate into `left`, and `right` when given; with one buffer
    // the channels are mixed as (left + right) × 0.5. Silence without slices.
    void Render(int32_t count, float* left, float* right);

private:
    std::unique_ptr<CABCWaveSample> fSample;
    std::unique_ptr<CSliceSequence> fSlices;
    std::unique_ptr<CQuilletSequencer> fSequencer;
    std::unique_ptr<CExporter> fExporter;
    bool fHasSlices = false;
    float fScratchLeft[kBlockFrames] = {};
    float fScratchRight[kBlockFrames] = {};
};

}  // namespace NSQuillet
