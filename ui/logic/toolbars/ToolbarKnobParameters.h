#pragma once

#include <cstdint>

#include "app/document/DocumentParameters.h"
#include "app/document/EffectParameters.h"
#include "ui/logic/toolbars/ToolbarKnobs.h"

namespace NSQuillet {

class CQuilletDocument;

// What one knob is called: its tooltip and heading (string-table entries), the name of the
// undo step it makes and the widget's object name.
struct SToolbarKnobDescription {
    int32_t fTooltip = 0;
    int32_t fHeading = 0;
    int32_t fUndoName = 0;
    const char* fObjectName = "";
};
const SToolbarKnobDescription& GetToolbarKnobDescription(EToolbarKnob knob);

// Where a knob's parameter lives in the document.
enum class EKnobTarget { kDocumentParameters, kEffectParameters, kSliceSequence };
EKnobTarget GetKnobTarget(EToolbarKnob knob);

// Every value a knob reflects, taken from the document at once.
struct SKnobParameters {
    SDocumentParameters fDocument;
    SEffectParameters fEffects;
    int32_t fGateSensitivity = 0;
};
SKnobParameters CaptureKnobParameters(const CQuilletDocument& document);

// The knob's value for what the document holds, in the knob's own units: the decay's endless
// 1023 is the knob's top, and values outside the knob's range are clamped into it.
int32_t GetKnobValue(EToolbarKnob knob, const SKnobParameters& parameters);
// The parameter the knob's `value` stands for, written into `parameters` (the decay knob's top
// writes 1023). The value is clamped into the knob's range first.
void SetKnobValue(EToolbarKnob knob, int32_t value, SKnobParameters& parameters);

// Sets the knob's parameter in the document under the knob's undo name, merging into the
// pending step of the same name, which the caller closes at the end of the gesture. Nothing
// happens, and false is answered, when the document holds that value already. User-interface
// thread; failures propagate.
bool ChangeKnobValue(CQuilletDocument& document, EToolbarKnob knob, int32_t value);

}  // namespace NSQuillet
