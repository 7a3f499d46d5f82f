#include "app/export/ExportFlow.h"

#include <memory>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/export/FileExporter.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/WaveSample.h"
#include "formats/export/ExportFileNames.h"
#include "formats/midi/MIDIFileFormat.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// "[Cancel][OK]".
constexpr int32_t kAnswer_OK = kAlertAnswerOfRightmostButton;

void EnsureLoopLength(CQuilletDocument& document, IExportDialogs& dialogs) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    if (parameters.fLoop.IsLoopLengthSet()) return;
    const std::optional<int32_t> bars = dialogs.AskLoopLengthBars();
    if (!bars || *bars <= 0) throw NSMishap::XSilentAbort("use aborted specify length dialog");
    parameters.fLoop.SetBars(*bars);
    document.PerformParametersChange(parameters, UndoText(NSStringIds::kUndo_ChangeLoopLength));
    document.CloseUndoStep();
}

// The first slices up to the format's limit (all: −1), or a silent abort when declined.
int32_t ChooseSliceCount(const CABCExportFileFormat& format, int32_t baseNote, int32_t toExport) {
    const int32_t limit = format.GetMaximumSliceCount(baseNote);
    if (limit <= 0 || limit >= toExport) return -1;
    const std::string count = std::to_string(toExport);
    const std::string usable = std::to_string(limit);
    if (ShowAlert(AlertReference(NSAlertIds::kTooManySlices).With(count, usable, usable)) != kAnswer_OK)
        throw NSMishap::XSilentAbort("too many slices");
    return limit;
}

void CheckSettings(const CABCExportFileFormat& format, const SExportSettings& settings) {
    if (!format.OffersSampleRate(settings.fSampleRate))
        throw NSMishap::XStdInvalidArgument("sample rate not offered by the export format");
    if (!format.OffersBitDepth(settings.fBitDepth))
        throw NSMishap::XStdInvalidArgument("bit depth not offered by the export format");
}

NSDiskKit::CFileSpec MIDIFileBeside(const NSDiskKit::CFileSpec& file) {
    return NSDiskKit::CFileSpec(file.GetFolder(), NameWithoutExtension(file.GetName()) + ".mid");
}

}  // namespace

SExportSettings ProposeExportSettings(const CABCExportFileFormat& format, const SExportSettings& remembered,
                                      uint32_t loopRate, int32_t loopBitDepth) {
    SExportSettings proposed = remembered;
    if (!format.OffersSampleRate(proposed.fSampleRate))
        proposed.fSampleRate = format.OffersSampleRate(loopRate) ? loopRate : format.GetDefaultSampleRate();
    if (!format.OffersBitDepth(proposed.fBitDepth))
        proposed.fBitDepth = format.OffersBitDepth(loopBitDepth) ? loopBitDepth : format.GetDefaultBitDepth();
    return proposed;
}

std::string BeginExport(CQuilletDocument& document, IExportDialogs& dialogs, const SExportPreferences& preferences) {
    EnsureLoopLength(document, dialogs);
    if (document.GetExportSliceCount() == 0) {
        ShowAlert(AlertReference(NSAlertIds::kNothingToExport));
        throw NSMishap::XSilentAbort("nothing to export");
    }
    return NameWithoutExtension(document.GetDisplayName()) +
           MakeExportFileFormat(preferences.fLastFormat)->GetExtension();
}

void FinishExport(CQuilletDocument& document, EExportFormat format, const NSDiskKit::CFileSpec& file,
                  IExportDialogs& dialogs, IReplaceQuestion& replaceQuestion, SExportPreferences& preferences) {
    if (preferences.fBaseNote < 0 || preferences.fBaseNote > 127)
        throw NSMishap::XStdInvalidArgument("base note outside 0..127");
    const std::unique_ptr<CABCExportFileFormat> chosen = MakeExportFileFormat(format);
    SExportOptions options;
    options.fSliceCount = ChooseSliceCount(*chosen, preferences.fBaseNote, document.GetExportSliceCount());
    options.fBaseNote = preferences.fBaseNote;
    options.fLoopName = NameWithoutExtension(document.GetDisplayName());

    // A format with neither slice files nor audio settings (MIDI) is written at once.
    const bool asksForSettings = chosen->WritesFilePerSlice() || !chosen->GetSampleRates().empty();
    SExportSettings settings = preferences.fSettings;
    if (asksForSettings) {
        const CABCWaveSample& sample = document.GetWaveSample();
        const std::optional<SExportSettings> answer = dialogs.AskExportSettings(
            *chosen, ProposeExportSettings(*chosen, settings, sample.GetSampleRate(), sample.GetBitDepth()));
        if (!answer) throw NSMishap::XSilentAbort("export settings cancelled");
        CheckSettings(*chosen, *answer);
        settings = *answer;
        options.fSampleRate = settings.fSampleRate;
        options.fBitDepth = settings.fBitDepth;
    }

    CReplaceConsent consent(replaceQuestion);
    options.fReplaceConsent = &consent;
    CQuilletLengthyOperation operation(StringReference(NSStringIds::kOperation_Export).GetText());
    options.fProgress = &operation;
    CFileExporter exporter(document, file, preferences.fCropToLoop);
    exporter.Export(*chosen, options);
    if (asksForSettings && settings.fExportMIDIWithSameName && format != EExportFormat::kMIDI) {
        CMIDIFileFormat midi;
        midi.Export(exporter.GetExporter(), MIDIFileBeside(file), options);
    }

    preferences.fLastFormat = format;
    if (asksForSettings) preferences.fSettings = settings;
}

}  // namespace NSQuillet
