#include "cli/ExportSubcommand.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "app/document/LoopLengthRequest.h"
#include "app/export/ExportFlow.h"
#include "app/opening/OpeningAnalysis.h"
#include "app/processing/ParameterToggleCommands.h"
#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"
#include "cli/FileSubcommand.h"
#include "cli/LoopOptions.h"
#include "engine/WaveSample.h"
#include "formats/export/ExportFileNames.h"
#include "foundation/Mishap.h"

namespace NSQuillet::NSCli {

namespace {

// The command line has no length dialog: the loop length comes from --bars, so the request
// prints its text and is declined, which ends the command as declined.
class CDeclinedLoopLengthRequest final : public ILoopLengthRequest {
public:
    explicit CDeclinedLoopLengthRequest(SSubcommandContext& context) : fContext(context) {}

    std::optional<int32_t> AskLoopLengthBars() override {
        fContext.fAlerts.PrintAlert("Question", AlertReference(NSAlertIds::kLoopLengthZeroBars).GetAlert().fBody +
                                                    " (give --bars)");
        return std::nullopt;
    }

private:
    SSubcommandContext& fContext;
};

// The export settings come from --rate, --bits and --midi.
class COptionDialogs final : public IExportDialogs {
public:
    COptionDialogs(std::optional<uint32_t> rate, std::optional<int32_t> bits, bool midi)
        : fRate(rate), fBits(bits), fMIDI(midi) {}

    std::optional<SExportSettings> AskExportSettings(const CABCExportFileFormat& format,
                                                     const SExportSettings& proposed) override {
        SExportSettings settings = proposed;
        if (fRate) settings.fSampleRate = *fRate;
        if (fBits) settings.fBitDepth = *fBits;
        settings.fExportMIDIWithSameName = fMIDI;
        (void)format;  // the options were checked against the format before any work
        return settings;
    }

private:
    std::optional<uint32_t> fRate;
    std::optional<int32_t> fBits;
    bool fMIDI;
};

// Existing files are replaced only under --force or --yes; otherwise the question is printed
// and declined.
class COptionReplaceQuestion final : public IReplaceQuestion {
public:
    COptionReplaceQuestion(SSubcommandContext& context, bool replace) : fContext(context), fReplace(replace) {}

    EReplaceAnswer AskReplace(const std::string& fileName) override {
        if (fReplace) return EReplaceAnswer::kReplaceAll;
        const SAlert alert = AlertReference(NSAlertIds::kSliceFileExists).With(fileName).GetAlert();
        fContext.fAlerts.PrintAlert(alert.fHeading, alert.fBody + " (give --force)");
        return EReplaceAnswer::kCancel;
    }

private:
    SSubcommandContext& fContext;
    bool fReplace;
};

template <class TValue>
std::string JoinValues(const std::vector<TValue>& values) {
    std::string text;
    for (TValue value : values) text += (text.empty() ? "" : ", ") + std::to_string(value);
    return text;
}

class CExportSubcommand final : public CFileSubcommand {
public:
    explicit CExportSubcommand(CLI::App& app) : CFileSubcommand("export") {
        auto* command = app.add_subcommand("export", "Export a loop as slice files, a MIDI file, a SoundFont or a sampler program");
        AddInputs(*command, "IN", "Loop, WAVE or AIFF file", true);
        command->add_option("--format", fFormat, "wav, aiff, mid, sf2 or akp")->required();
        command->add_option("-o,--output", fOutput,
                            "Folder for the slice files (wav, aiff), else the file to write; with several inputs, "
                            "the folder of each input's folder or file")
            ->required();
        command->add_flag("--one-sample", fOneSample, "Export the loop as one sample instead of slices");
        command->add_flag("--crop", fCrop, "End the one-sample export at the loop's end");
        command->add_option("--rate", fRate, "Sample rate of the exported audio in Hz");
        command->add_option("--bits", fBits, "Bit depth of the exported audio")->check(CLI::IsMember({16, 24}));
        command->add_flag("--midi", fMIDI, "Also write the MIDI file with the same name");
        command->add_option("--base-note", fBaseNote, "Key of the first slice, 0..127")->check(CLI::Range(0, 127));
        command->add_flag("--force", fForce, "Replace existing files");
        AddLoopOptions(*command, fLoopOptions, true);
    }

private:
    std::string CheckOptions() const override {
        const std::optional<EExportFormat> format = FindExportFormat(fFormat);
        if (!format) return "--format takes wav, aiff, mid, sf2 or akp";
        if (const std::string problem = CheckSettingOptions(*MakeExportFileFormat(*format)); !problem.empty())
            return problem;
        return CheckLoopOptions(fLoopOptions);
    }

    // Slice files go into a folder named after the input; anything else is one file.
    std::string OutputNameOf(const std::string&, const std::string& stem) const override {
        const std::optional<EExportFormat> format = FindExportFormat(fFormat);
        if (!format) return stem;
        const std::unique_ptr<CABCExportFileFormat> chosen = MakeExportFileFormat(*format);
        return IntoFolder(*chosen, *format) ? stem : stem + chosen->GetExtension();
    }

    bool WritesFolder() const override {
        const std::optional<EExportFormat> format = FindExportFormat(fFormat);
        return format && IntoFolder(*MakeExportFileFormat(*format), *format);
    }

    bool IntoFolder(const CABCExportFileFormat& chosen, EExportFormat format) const {
        return chosen.WritesFilePerSlice() && format != EExportFormat::kSamplerProgram && !fOneSample;
    }

    EExitCode RunFile(SSubcommandContext& context, const SFileTask& task) const override {
        const EExportFormat format = *FindExportFormat(fFormat);
        const std::unique_ptr<CABCExportFileFormat> chosen = MakeExportFileFormat(format);
        const bool intoFolder = IntoFolder(*chosen, format);

        auto document = OpenAnalyzedDocument(task.fInput, EStoppedAnalysis::kStopOpening, {}, task.fKnownTempo);
        if (const std::string refused = ApplyLoopOptions(*document, fLoopOptions); !refused.empty())
            return UsageError(context, refused);
        if (document->GetDocumentParameters().fExportSlicesSeparately == fOneSample) ToggleExportAsOneSample(*document);

        SExportPreferences preferences;
        preferences.fLastFormat = format;
        preferences.fCropToLoop = fCrop;
        preferences.fBaseNote = fBaseNote;
        // Without --rate and --bits the loop keeps its own rate and depth where the format offers them.
        preferences.fSettings.fSampleRate = document->GetWaveSample().GetSampleRate();
        preferences.fSettings.fBitDepth = document->GetWaveSample().GetBitDepth();
        CDeclinedLoopLengthRequest lengthRequest(context);
        const std::string proposed = BeginExport(*document, lengthRequest, preferences);

        NSDiskKit::CFileSpec target = NSDiskKit::CFileSpec::FromPath(task.fOutput);
        if (intoFolder) {
            std::error_code error;
            std::filesystem::create_directory(task.fOutput, error);
            target = NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(task.fOutput), proposed);
        }
        COptionReplaceQuestion question(context, fForce || context.fAnswerYes);
        COptionDialogs dialogs(fRate, fBits, fMIDI);
        FinishExport(*document, format, target, dialogs, question, preferences);
        return kExitSuccess;
    }

    std::string CheckSettingOptions(const CABCExportFileFormat& format) const {
        if (format.GetSampleRates().empty()) {
            if (fRate || fBits || fMIDI) return "--rate, --bits and --midi do not apply to the MIDI file";
            return "";
        }
        if (fRate && !format.OffersSampleRate(*fRate)) return "--rate takes one of " + JoinValues(format.GetSampleRates());
        if (fBits && !format.OffersBitDepth(*fBits)) return "--bits takes one of " + JoinValues(format.GetBitDepths());
        return "";
    }

    std::string fFormat;
    bool fOneSample = false;
    bool fCrop = false;
    std::optional<uint32_t> fRate;
    std::optional<int32_t> fBits;
    bool fMIDI = false;
    int32_t fBaseNote = CABCExportFileFormat::kDefaultBaseNote;
    bool fForce = false;
    SLoopOptions fLoopOptions;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeExportSubcommand(CLI::App& app) { return std::make_unique<CExportSubcommand>(app); }

}  // namespace NSQuillet::NSCli
