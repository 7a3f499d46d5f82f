#pragma once

#include <cstdint>
#include <tuple>

#include "engine/EnvelopeSettings.h"
#include "engine/LoopSettings.h"

namespace NSQuillet {

// The document's loop, preview and envelope settings as one value, captured from and applied
// to the document as a whole. Locators in sample frames, pitch in cents.
struct SDocumentParameters {
    bool fExportSlicesSeparately = true;
    // Length, time signature, preview tempo, preview on and Silence Selected.
    CLoopSettings fLoop;
    int16_t fPitch = 0;
    int32_t fLeftLocator = 0;
    int32_t fRightLocator = 0;
    SEnvelopeSettings fEnvelope;

    auto Tied() const {
        return std::tie(fExportSlicesSeparately, fLoop, fPitch, fLeftLocator, fRightLocator, fEnvelope);
    }
    friend bool operator==(const SDocumentParameters& a, const SDocumentParameters& b) { return a.Tied() == b.Tied(); }
    friend bool operator!=(const SDocumentParameters& a, const SDocumentParameters& b) { return !(a == b); }
};

}  // namespace NSQuillet
