#pragma once

#include <cstdint>

namespace NSQuillet {

enum ERulerUnits : uint32_t { kRulerUnits_Time = 286, kRulerUnits_Samples = 287, kRulerUnits_Beats = 288 };
enum EEditTool : uint32_t { kEditTool_Arrow = 685, kEditTool_Mute = 686, kEditTool_Lock = 687, kEditTool_Pen = 688 };

// How the document's window shows the loop and which tool edits it; never an undo step.
struct SViewAndEditAttributes {
    uint32_t fHorizontalRulerUnits = kRulerUnits_Time;
    uint32_t fEditTool = kEditTool_Arrow;

    friend bool operator==(const SViewAndEditAttributes& a, const SViewAndEditAttributes& b) {
        return a.fHorizontalRulerUnits == b.fHorizontalRulerUnits && a.fEditTool == b.fEditTool;
    }
    friend bool operator!=(const SViewAndEditAttributes& a, const SViewAndEditAttributes& b) { return !(a == b); }
};

}  // namespace NSQuillet
