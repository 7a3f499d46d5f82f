#pragma once

namespace NSQuillet {

class CDocumentEffectParametersChange;
class CDocumentParametersChange;
class CDocumentViewAndEditAttributesChange;
class CQuilletDocument;
class CSliceSequenceChange;
class CWaveSampleAndSliceSequenceChange;
class CWaveSampleChange;

// The pass of the document's change classes. The document operations that take it apply a value
// without an undo step; only a change, inside a transaction, may do that, so nothing else can
// make a key.
class CDocumentChangeKey {
private:
    // User-provided, so that the key is no aggregate anyone could brace-initialise.
    CDocumentChangeKey() {}

    friend class CDocumentEffectParametersChange;
    friend class CDocumentParametersChange;
    friend class CDocumentViewAndEditAttributesChange;
    friend class CQuilletDocument;
    friend class CSliceSequenceChange;
    friend class CWaveSampleAndSliceSequenceChange;
    friend class CWaveSampleChange;
};

}  // namespace NSQuillet
