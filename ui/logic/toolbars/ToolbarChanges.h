#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/document/DocumentParameters.h"
#include "ui/logic/toolbars/EffectPresets.h"
#include "ui/logic/toolbars/ToolbarControlRules.h"
#include "ui/logic/toolbars/ToolbarKnobParameters.h"

namespace NSQuillet {

class CQuilletDocument;

// The document operations of the toolbars' buttons, fields and popups. Each but
// ChangeSensitivity is one closed undo step, and none makes a step when it would change
// nothing. User-interface thread; failures propagate to the caller's command runner.

SToolbarConditions CaptureToolbarConditions(const CQuilletDocument& document);
// The same with the parameters taken already.
SToolbarConditions CaptureToolbarConditions(const CQuilletDocument& document, const SKnobParameters& parameters);

// "Toggle Preview Play".
void TogglePreviewPlay(CQuilletDocument& document);

bool IsEffectOn(const CQuilletDocument& document, EPresetEffect effect);
// "Toggle Envelope On/Off", "Toggle Transient Shaper On/Off", "Toggle Equalizer On/Off";
// answers whether the effect is on afterwards.
bool ToggleEffect(CQuilletDocument& document, EPresetEffect effect);
// "Select Envelope Preset" …: every value the preset names, as one step.
void SelectEffectPreset(CQuilletDocument& document, EPresetEffect effect, const SEffectPreset& preset);

// "Change Loop Length" from the Bars field and the Beats popup (ChooseBeats), "Change Time
// Signature" from its popup.
void SetLoopBars(CQuilletDocument& document, int32_t bars);
void ChooseLoopBeats(CQuilletDocument& document, int32_t beats);
void ChooseTimeSignature(CQuilletDocument& document, STimeSignature signature);
// "Change Preview Tempo", thousandths of a BPM, clamped to 20000..450000.
void SetPreviewTempo(CQuilletDocument& document, int32_t tempo);

// "Change Sensitivity" (0..99) into the pending step, which the caller closes: a fader drag
// is one step, as a key is.
void ChangeSensitivity(CQuilletDocument& document, int32_t sensitivity);

// The loop's own tempo (thousandths of a BPM) over the locators, 0 without a loop length.
int32_t GetLoopTempo(const SDocumentParameters& parameters, uint32_t sampleRate);
// "140.000 BPM"; "none" without a loop length.
std::string FormatLoopTempoText(int32_t tempo);
// Where a Ctrl-click puts the tempo knob: the loop's own tempo clamped to the preview range,
// none without a loop length (the knob's default then).
std::optional<int32_t> GetTempoKnobResetValue(int32_t loopTempo);

// The number of slices the waveform shows.
int32_t CountShownSlices(const CQuilletDocument& document);

}  // namespace NSQuillet
