#pragma once

#include "app/document/DocumentParameters.h"
#include "app/document/EffectParameters.h"
#include "app/document/ViewAndEditAttributes.h"
#include "formats/loopfile/LoopFileSettings.h"

namespace NSQuillet {

class CQuilletDocument;

// What a loop file keeps of `document` besides its audio and slices: the loop, preview,
// envelope and effect settings, the view and edit attributes, the window state, the slice
// sequence's sensitivities, the locators and the export size in bytes. Each value is brought
// into the range the file's reader accepts, so that a saved file always opens again.
// User-interface thread; computes the export figures when they are stale.
SLoopFileSettings CaptureLoopFileSettings(CQuilletDocument& document);

// The document's own value sets from settings read from a loop file. Ruler units and edit
// tools the document does not know become time and arrow.
SDocumentParameters DocumentParametersOf(const SLoopFileSettings& settings);
SEffectParameters EffectParametersOf(const SLoopFileSettings& settings);
SViewAndEditAttributes ViewAndEditAttributesOf(const SLoopFileSettings& settings);

}  // namespace NSQuillet
