#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace NSQuillet {

class CQuilletDocument;

// What the window's menu states are computed from, taken from its document.
struct SWindowDocumentState {
    bool fHasSound = false;
    bool fModified = false;
    bool fCanUndo = false;
    std::string fUndoName;
    bool fCanRedo = false;
    std::string fRedoName;
    // At least one shown slice is selected.
    bool fShownSliceSelected = false;
    // The locators enclose at least one frame but not the whole sample.
    bool fCanCrop = false;
    // Bars or beats not zero.
    bool fLoopLengthSet = false;
    bool fStereo = false;
    bool fPreviewOn = false;
    bool fExportSlicesSeparately = true;
    bool fSilenceSelected = false;
};

SWindowDocumentState CaptureWindowDocumentState(const CQuilletDocument& document);

// One menu item's state. `fLabel`, when set, replaces the resource's label: plain text, with
// `fAccessKey` its access letter ('\0' for none).
struct SCommandState {
    bool fEnabled = false;
    bool fMarked = false;
    std::optional<std::string> fLabel;
    char fAccessKey = '\0';

    friend bool operator==(const SCommandState& a, const SCommandState& b) {
        return a.fEnabled == b.fEnabled && a.fMarked == b.fMarked && a.fLabel == b.fLabel && a.fAccessKey == b.fAccessKey;
    }
};

// The commands of the window's own menus and of the waveform's context menus (lock, unlock,
// mute, unmute the selected slices), Open and the Help pages included; not the other
// application commands.
bool IsWindowMenuCommand(int32_t command);
// The Edit menu's items, which keep their state while a text field has the focus.
bool IsEditMenuCommand(int32_t command);

// The state of `command` (a window menu command, else none) for `document` and the
// application's Scroll During Playback preference.
std::optional<SCommandState> ComputeCommandState(int32_t command, const SWindowDocumentState& document,
                                                 bool scrollDuringPlayback);

// The states of every window menu command, all disabled until the first update.
// User-interface thread.
class CWindowCommandStates {
public:
    CWindowCommandStates();

    // Recomputes every state; the Edit items only when `focusFree`, so that a text field with
    // the focus keeps its own editing commands.
    void Update(const SWindowDocumentState& document, bool scrollDuringPlayback, bool focusFree);
    // Null for a command that is not a window menu command.
    const SCommandState* Find(int32_t command) const;

private:
    std::map<int32_t, SCommandState> fStates;
};

// "_Copy Loop" as plain text and its access letter.
struct SAccessKeyText {
    std::string fText;
    char fAccessKey = '\0';
};
SAccessKeyText SplitAccessKey(const std::string& text);

// The label in the widget library's syntax: "&" before the first occurrence of `accessKey`,
// every literal "&" doubled.
std::string ToAmpersandAccessKey(const std::string& label, char accessKey);

}  // namespace NSQuillet
