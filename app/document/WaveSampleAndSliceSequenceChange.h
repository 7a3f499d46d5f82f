#pragma once

#include <memory>

#include "app/document/SavedWaveSample.h"
#include "app/undo/Change.h"

namespace NSQuillet {

class CABCWaveSample;
class CQuilletDocument;
class CSliceSequence;

// A wave-sample change that exchanges the slice sequence in the same step, for commands that
// move slices along with the audio. Holds one copy of audio as CWaveSampleChange does.
class CWaveSampleAndSliceSequenceChange final : public NSUndoPackage::CABCChange {
public:
    // Takes both over, builds the sample's overview and the sequence's lengths; the sequence
    // must divide `sample`. A null argument is an XStdInvalidArgument.
    CWaveSampleAndSliceSequenceChange(CQuilletDocument& document, std::unique_ptr<CABCWaveSample> sample,
                                      std::unique_ptr<CSliceSequence> sequence);
    ~CWaveSampleAndSliceSequenceChange() override;
    void Do() override;
    void Undo() override;

    const CSavedWaveSample* GetSaved() const { return fSaved.get(); }

private:
    void Restore();

    CQuilletDocument& fDocument;
    std::unique_ptr<CABCWaveSample> fNewSample;
    std::unique_ptr<CSavedWaveSample> fSaved;
    std::unique_ptr<CSliceSequence> fSequence;
};

}  // namespace NSQuillet
