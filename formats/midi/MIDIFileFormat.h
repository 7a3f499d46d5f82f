#pragma once

#include "formats/export/ExportFileFormat.h"

namespace NSQuillet {

// A Standard MIDI File (".mid") that plays the slices in the loop's rhythm on consecutive
// notes from the options' base note, at most GetMaximumSliceCount of them; no audio.
class CMIDIFileFormat final : public CABCExportFileFormat {
public:
    void Export(CExporter& exporter, const NSDiskKit::CFileSpec& target, const SExportOptions& options) override;
    const char* GetExtension() const override { return ".mid"; }
    // Every note stays within 0..127. At least 1, since 0 would mean no limit.
    int32_t GetMaximumSliceCount(int32_t baseNote) const override;
};

}  // namespace NSQuillet
