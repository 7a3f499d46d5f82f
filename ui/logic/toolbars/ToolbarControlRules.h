#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/logic/WindowKeys.h"

namespace NSQuillet {

// The loop length the Bars field and the Beats popup set.
struct SLoopLength {
    int32_t fBars = 0;
    int32_t fBeats = 0;
    friend bool operator==(const SLoopLength& a, const SLoopLength& b) {
        return a.fBars == b.fBars && a.fBeats == b.fBeats;
    }
};

// The Bars field takes digits only: a whole number of at most three digits (0 to 999); none for
// anything else, including an empty field.
inline constexpr int32_t kBarsFieldMaximumLength = 3;
std::optional<int32_t> ParseBarsText(const std::string& text);
// Choosing `beats` in the Beats popup: 0 beats while the bars are 0 would leave no length, so
// the bars become 1.
SLoopLength ChooseBeats(SLoopLength current, int32_t beats);

// A "n/d" item of the time-signature popup.
struct STimeSignature {
    int32_t fNumerator = 4;
    int32_t fDenominator = 4;
    friend bool operator==(const STimeSignature& a, const STimeSignature& b) {
        return a.fNumerator == b.fNumerator && a.fDenominator == b.fDenominator;
    }
};
// The items of a ";"-separated list such as "2/4;3/4;6/8"; malformed items are left out.
std::vector<STimeSignature> ParseTimeSignatureItems(const std::string& items);
// The items of the program's string table, in popup order.
const std::vector<STimeSignature>& GetTimeSignatureItems();
// The popup item of `signature`, none when the list has no such item.
std::optional<int32_t> FindTimeSignatureItem(const std::vector<STimeSignature>& items, STimeSignature signature);
std::string FormatTimeSignature(STimeSignature signature);

// The ";"-separated items of a popup's string-table entry.
std::vector<std::string> SplitItems(const std::string& items);

// The preview tempo (thousandths of a BPM) as the toolbar field shows it: three decimals in
// the "0.000 BPM" pattern of the string table.
std::string FormatPreviewTempoText(int32_t tempo);
// What the user typed into the field: a decimal number of BPM, with "." or "," as decimal
// point, optionally followed by "BPM"; rounded to thousandths and clamped to 20.000–450.000.
// None when the text is not such a number, so the field shows the document's value again.
std::optional<int32_t> ParsePreviewTempoText(const std::string& text);

// The ruler-units popup's items in order: Time, Samples, Beats (ERulerUnits).
uint32_t GetRulerUnitsOfItem(int32_t item);
int32_t GetItemOfRulerUnits(uint32_t units);

// The tool buttons in order: arrow, mute, lock, pen (EEditTool).
inline constexpr int32_t kToolButtonCount = 4;
uint32_t GetToolOfButton(int32_t button);
// −1 for a tool that is none of the four.
int32_t GetButtonOfTool(uint32_t tool);
EWindowAction GetToolButtonAction(int32_t button);

// The transport buttons in order: stop, play loop, play previous slice, play current slice,
// play current slice and move to next.
inline constexpr int32_t kTransportButtonCount = 5;
EWindowAction GetTransportButtonAction(int32_t button);
// The button showing the document's play mode: stopped shows Stop; a slice chosen in the
// waveform sounds as the current slice does.
int32_t GetTransportButtonOfPlayMode(uint32_t playMode);

// What decides which controls may be used.
struct SToolbarConditions {
    bool fHasSound = false;
    // Playback allowed: sound and a working audio output.
    bool fCanPlay = false;
    bool fLoopLengthSet = false;
    bool fPreviewOn = false;
    bool fEnvelopeOn = false;
    bool fTransientShaperOn = false;
    bool fEqualizerOn = false;
};

struct SToolbarEnables {
    // Tools, preview toggle, loop length, time signature, ruler units, sensitivity, gate,
    // pitch, processing gain and the effects' on/off buttons: while there is sound.
    bool fSoundControls = false;
    // The transport: while playback is allowed.
    bool fTransport = false;
    // Silence Selected acts on the preview: sound and preview on, as in the Process menu.
    bool fSilenceSelected = false;
    // The preview tempo knob and field: sound and a loop length; without a length there is no
    // tempo to change (the first length sets it from the loop).
    bool fPreviewTempo = false;
    // Each effect's knobs and presets: sound, the preview can play the loop (loop length set
    // and preview on) and the effect switched on.
    bool fEnvelope = false;
    bool fTransientShaper = false;
    bool fEqualizer = false;
};
SToolbarEnables ComputeToolbarEnables(const SToolbarConditions& conditions);

// The preview can play the loop through the effects: loop length set and preview on.
bool CanPreviewPlayLoop(const SToolbarConditions& conditions);
// The note that the effects cannot be heard yet is due when an effect has just been switched
// on while the preview cannot play the loop.
bool IsEffectsNotAudibleNoteDue(bool switchedOn, const SToolbarConditions& conditions);

}  // namespace NSQuillet
