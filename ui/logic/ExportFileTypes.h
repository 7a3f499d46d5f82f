#pragma once

#include <string>
#include <vector>

#include "formats/export/ExportFileFormats.h"

namespace NSQuillet {

// The export save dialog's answer: the file (or the name the slice files are named after)
// and the format of the type chosen.
struct SExportTarget {
    std::string fPath;
    EExportFormat fFormat = EExportFormat::kWave;

    friend bool operator==(const SExportTarget& a, const SExportTarget& b) {
        return a.fPath == b.fPath && a.fFormat == b.fFormat;
    }
};

// One type of the export save dialog: its filter, "Wave File (*.wav)", and the extensions a
// name of that type may end in (the format's own first).
struct SExportFileType {
    EExportFormat fFormat;
    std::string fFilter;
    std::vector<std::string> fExtensions;
};

// The five types in the order the dialog lists them: WAVE, AIFF, MIDI, SoundFont, sampler
// program.
const std::vector<SExportFileType>& GetExportFileTypes();
const SExportFileType& GetExportFileType(EExportFormat format);

// The path the export writes for the name chosen with `format`'s type: as chosen when it ends
// in one of the type's extensions (in any case), else with the format's extension added.
std::string ExportPathWithExtension(const std::string& chosen, EExportFormat format);

}  // namespace NSQuillet
