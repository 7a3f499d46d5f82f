#pragma once

#include <memory>

#include "app/document/SavedWaveSample.h"
#include "app/undo/Change.h"

namespace NSQuillet {

class CABCWaveSample;
class CQuilletDocument;

// Replaces the document's wave sample, holding exactly one full copy of audio: the new
// sample until the first Do, from then on the saved state the document is not in. Each later
// Do or Undo makes one clone of that copy to swap in and keeps the sample that came out.
class CWaveSampleChange final : public NSUndoPackage::CABCChange {
public:
    // Takes `sample` over and builds its overview. Null is an XStdInvalidArgument.
    CWaveSampleChange(CQuilletDocument& document, std::unique_ptr<CABCWaveSample> sample);
    ~CWaveSampleChange() override;
    void Do() override;
    void Undo() override;

    // Null once the first Do has run.
    const CABCWaveSample* GetNewSample() const { return fNewSample.get(); }
    const CSavedWaveSample* GetSaved() const { return fSaved.get(); }

private:
    void Restore();

    CQuilletDocument& fDocument;
    std::unique_ptr<CABCWaveSample> fNewSample;
    std::unique_ptr<CSavedWaveSample> fSaved;
};

}  // namespace NSQuillet
