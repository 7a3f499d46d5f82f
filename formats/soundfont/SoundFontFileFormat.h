#pragma once

#include <string>

#include "formats/export/ExportFileFormat.h"

namespace NSQuillet {

// A SoundFont 2 bank (".sf2") holding the slices as 16-bit samples at the options' rate and
// one preset that plays slice i, unpitched, on key base note + i, so that the MIDI export
// plays the loop from it.
class CSoundFontFileFormat final : public CABCExportFileFormat {
public:
    CSoundFontFileFormat();
    // A missing replace consent or a base note outside 0..127 is an XStdInvalidArgument. At
    // most GetMaximumSliceCount slices are written, so every key stays within 0..127.
    void Export(CExporter& exporter, const NSDiskKit::CFileSpec& target, const SExportOptions& options) override;
    const char* GetExtension() const override { return ".sf2"; }
    // At least 1, since 0 would mean no limit.
    int32_t GetMaximumSliceCount(int32_t baseNote) const override;
};

// The name of the sample of slice `index` (from 0): the loop's name in printable ASCII, cut so
// that a space, the slice number from 1 in at least three digits and a channel letter fit the
// 20 characters of a sample name: "Beat", 0 gives "Beat 001".
std::string SoundFontSampleName(const std::string& loopName, int32_t index);

// A creation date as banks state it: month (1..12) in English, day and year,
// "January 2, 2024".
std::string SoundFontDateText(int32_t year, int32_t month, int32_t day);

}  // namespace NSQuillet
