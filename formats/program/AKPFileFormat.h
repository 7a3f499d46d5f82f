#pragma once

#include "formats/export/ExportFileFormat.h"
#include "formats/soundfile/WAVFileFormat.h"

namespace NSQuillet {

// A sampler program (".akp") with one keygroup per slice on key base note + i, beside the
// slices as WAVE files named after the program, each name short enough for the keygroup's
// zone (31 bytes before the extension). Rates up to 48000 Hz, 16 bits.
class CAKPFileFormat final : public CABCExportFileFormat {
public:
    static constexpr size_t kZoneNameLength = 31;

    CAKPFileFormat();
    void Export(CExporter& exporter, const NSDiskKit::CFileSpec& target, const SExportOptions& options) override;
    const char* GetExtension() const override { return ".akp"; }
    int32_t GetMaximumSliceCount(int32_t baseNote) const override;
    bool WritesFilePerSlice() const override { return true; }

private:
    CWAVFileFormat fSliceFormat;
};

}  // namespace NSQuillet
