#pragma once

#include "formats/export/ExportFileFormat.h"

namespace NSQuillet {

class CMedia;

// A Standard MIDI File (".mid") that plays the slices in the loop's rhythm on consecutive
// notes from the options' base note, at most GetMaximumSliceCount of them; no audio.
class CMIDIFileFormat final : public CABCExportFileFormat {
public:
    void Export(CExporter& exporter, const NSDiskKit::CFileSpec& target, const SExportOptions& options) override;
    // The bytes Export puts in the file, written from the start of `media`.
    void WriteTo(CExporter& exporter, CMedia& media, const SExportOptions& options);
    const char* GetExtension() const override { return ".mid"; }
    // Every note stays within 0..127. At least 1, since 0 would mean no limit.
    int32_t GetMaximumSliceCount(int32_t baseNote) const override;
};

}  // namespace NSQuillet
