#include "app/preferences/ExportPreferencesMapping.h"

#include <strings.h>

#include <memory>

#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr EExportFormat kAllFormats[] = {EExportFormat::kWave, EExportFormat::kAiff, EExportFormat::kMIDI,
                                         EExportFormat::kSoundFont, EExportFormat::kSamplerProgram};

std::string ExtensionOf(EExportFormat format) { return MakeExportFileFormat(format)->GetExtension(); }

EExportFormat FormatOfExtension(const std::string& extension) {
    for (const EExportFormat format : kAllFormats) {
        if (strcasecmp(ExtensionOf(format).c_str(), extension.c_str()) == 0) return format;
    }
    return EExportFormat::kMIDI;
}

}  // namespace

SExportPreferences GetExportPreferences(const CPreferences& preferences) {
    SExportPreferences exported;
    exported.fLastFormat = FormatOfExtension(preferences.GetLastExportExtension());
    exported.fCropToLoop = preferences.GetCropToLoopWhenExportingAsOneSample();
    exported.fSettings.fSampleRate = preferences.GetExportSampleRate();
    exported.fSettings.fBitDepth = int32_t(preferences.GetExportBitDepth());
    exported.fSettings.fExportMIDIWithSameName = preferences.GetExportFlag();
    return exported;
}

void StoreExportPreferences(CPreferences& preferences, const SExportPreferences& exportPreferences) {
    // All or nothing: a value the preferences refuse leaves every field as it was.
    SGeneralPreferences trial = preferences.GetGeneral();
    trial.fExportSampleRate = exportPreferences.fSettings.fSampleRate;
    trial.fExportBitDepth = uint32_t(exportPreferences.fSettings.fBitDepth);
    if (exportPreferences.fSettings.fBitDepth < 0 || !IsValidGeneralPreferences(trial))
        throw NSMishap::XStdInvalidArgument("export settings the preferences cannot hold");
    preferences.SetLastExportExtension(ExtensionOf(exportPreferences.fLastFormat));
    preferences.SetCropToLoopWhenExportingAsOneSample(exportPreferences.fCropToLoop);
    preferences.SetExportSampleRate(exportPreferences.fSettings.fSampleRate);
    preferences.SetExportBitDepth(uint32_t(exportPreferences.fSettings.fBitDepth));
    preferences.SetExportFlag(exportPreferences.fSettings.fExportMIDIWithSameName);
}

}  // namespace NSQuillet
