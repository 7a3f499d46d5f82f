#pragma once

#include <cstdint>

namespace NSQuillet {

class CQuilletDocument;
class ILoopLengthRequest;

// The ruler units the user chooses for the document's window (ERulerUnits), applied without an
// undo step. Beats need a loop length: without one `request` is asked for it (GiveLoopLength,
// one "Change Loop Length" step), and a declined request refuses the switch with the silent
// abort "cannot switch to beats without a loop length".
void ChooseRulerUnits(CQuilletDocument& document, uint32_t units, ILoopLengthRequest& request);

}  // namespace NSQuillet
