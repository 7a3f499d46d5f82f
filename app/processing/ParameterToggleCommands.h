#pragma once

namespace NSQuillet {

class CQuilletDocument;

// Inverts the export-slices-separately flag: "Toggle Export As One Sample", one undo step.
void ToggleExportAsOneSample(CQuilletDocument& document);

// Silence Selected acts on the preview only, so the menu offers it while the preview is on.
bool CanToggleSilenceSelected(const CQuilletDocument& document);
// Inverts the silence-selected flag: "Toggle Silence Selected", one undo step.
void ToggleSilenceSelected(CQuilletDocument& document);

}  // namespace NSQuillet
