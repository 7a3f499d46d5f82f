#pragma once

#include <memory>
#include <optional>
#include <string>

#include "formats/export/ExportFileFormat.h"

namespace NSQuillet {

// The formats a loop can be exported in, in the order the export dialog lists them.
enum class EExportFormat { kWave, kAiff, kMIDI, kSoundFont, kSamplerProgram };

std::unique_ptr<CABCExportFileFormat> MakeExportFileFormat(EExportFormat format);

// quillet-cli's names: "wav", "aiff", "mid", "sf2", "akp".
const char* GetExportFormatName(EExportFormat format);
std::optional<EExportFormat> FindExportFormat(const std::string& name);

}  // namespace NSQuillet
