#include "formats/export/ExportFileFormats.h"

#include "formats/midi/MIDIFileFormat.h"
#include "formats/program/AKPFileFormat.h"
#include "formats/soundfile/AIFFFileFormat.h"
#include "formats/soundfile/WAVFileFormat.h"
#include "formats/soundfont/SoundFontFileFormat.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

struct SFormatName {
    EExportFormat fFormat;
    const char* fName;
};

constexpr SFormatName kFormatNames[] = {
    {EExportFormat::kWave, "wav"},      {EExportFormat::kAiff, "aiff"},
    {EExportFormat::kMIDI, "mid"},      {EExportFormat::kSoundFont, "sf2"},
    {EExportFormat::kSamplerProgram, "akp"},
};

}  // namespace

std::unique_ptr<CABCExportFileFormat> MakeExportFileFormat(EExportFormat format) {
    switch (format) {
        case EExportFormat::kWave: return std::make_unique<CWAVFileFormat>();
        case EExportFormat::kAiff: return std::make_unique<CAIFFFileFormat>();
        case EExportFormat::kMIDI: return std::make_unique<CMIDIFileFormat>();
        case EExportFormat::kSoundFont: return std::make_unique<CSoundFontFileFormat>();
        case EExportFormat::kSamplerProgram: return std::make_unique<CAKPFileFormat>();
    }
    throw NSMishap::XStdInvalidArgument("unknown export format");
}

const char* GetExportFormatName(EExportFormat format) {
    for (const SFormatName& entry : kFormatNames)
        if (entry.fFormat == format) return entry.fName;
    return "";
}

std::optional<EExportFormat> FindExportFormat(const std::string& name) {
    for (const SFormatName& entry : kFormatNames)
        if (name == entry.fName) return entry.fFormat;
    return std::nullopt;
}

}  // namespace NSQuillet
