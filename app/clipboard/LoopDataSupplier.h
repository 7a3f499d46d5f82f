#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/clipboard/ClipboardLoop.h"

namespace NSQuillet {

class CQuilletDocument;
class CQuilletLengthyOperation;
class ILoopLengthRequest;

// The loop a copy hands out, rendered in every kind when the copy is made:
// - "WAVE": the loop as one sample at the preview tempo, cut at the loop's end, at the
//   sample's own (clamped) rate and depth: the bytes the one-sample WAVE export writes;
// - "MIDI": the MIDI file the export writes for the loop's slices, one note per slice from
//   key 36 (at most the 92 slices the keys hold);
// - "LUX2": the loop file Save writes.
class CLoopDataSupplier {
public:
    // Every kind of `document`'s loop under `operation`, progress spread over the three. None
    // when there is nothing to hand out: no sound, or nothing sounding between the locators.
    // Stop is XAbort. User-interface thread.
    static std::optional<CLoopDataSupplier> Render(CQuilletDocument& document, CQuilletLengthyOperation& operation);

    const std::vector<uint8_t>& GetBytes(EClipboardLoopKind kind) const;
    SClipboardLoop GetLoop(EClipboardLoopKind kind) const;
    // The document's display name without its extension: what a file of the loop is named.
    const std::string& GetName() const { return fName; }

    // "WAVE", "MIDI", "LUX2".
    static const char* GetKindName(EClipboardLoopKind kind);

private:
    CLoopDataSupplier() = default;

    std::string fName;
    std::vector<uint8_t> fWave;
    std::vector<uint8_t> fMIDI;
    std::vector<uint8_t> fLux2;
};

// Copy Loop: a loop without a length first asks `lengthRequest` for one (one "Change Loop
// Length" step); then every kind is rendered under the lengthy operation "Copy Loop". None,
// silently, when the document has no sound or nothing sounds between the locators, when the
// request is declined ("use aborted specify length dialog") or when Stop is pressed; each of
// these goes to the diagnostics under "copy loop". Other failures propagate.
// User-interface thread.
std::optional<CLoopDataSupplier> CopyLoopData(CQuilletDocument& document, ILoopLengthRequest& lengthRequest);

}  // namespace NSQuillet
