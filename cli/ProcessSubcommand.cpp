#include "cli/ProcessSubcommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "app/opening/DocumentOpening.h"
#include "app/opening/OpeningAnalysis.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/AddSlicesAtSixteenthsCommand.h"
#include "app/processing/ConvertSampleFormatCommand.h"
#include "app/processing/ConvertToMonoCommand.h"
#include "app/processing/CropLoopCommand.h"
#include "app/processing/NormalizeCommand.h"
#include "app/processing/ReAnalyzeCommand.h"
#include "app/processing/RemoveDCCommand.h"
#include "app/processing/TargetSampleFormat.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/saving/DocumentSaving.h"
#include "app/saving/SaveTarget.h"
#include "app/saving/SoundFileSaving.h"
#include "cli/FileSubcommand.h"
#include "engine/WaveSample.h"
#include "platform/diskkit/FileSpec.h"

namespace NSQuillet::NSCli {

namespace {

const std::map<std::string, ENormalizeScope> kScopes = {{"whole", ENormalizeScope::kWholeFile},
                                                        {"slices", ENormalizeScope::kEachSlice}};
const std::map<std::string, EMonoChoice> kMonoChoices = {
    {"left", EMonoChoice::kLeft}, {"right", EMonoChoice::kRight}, {"mix", EMonoChoice::kMix}};

struct SSampleFormat {
    uint32_t fRate = 0;
    // 0: the sample's own depth.
    int32_t fBitDepth = 0;
};

// "RATE" or "RATE/BITS", a format Convert Sample Format writes.
std::optional<SSampleFormat> ParseSampleFormat(const std::string& text) {
    unsigned rate = 0;
    int bits = 0;
    char slash = 0, extra = 0;
    const int read = std::sscanf(text.c_str(), "%u%c%d%c", &rate, &slash, &bits, &extra);
    if (read != 1 && !(read == 3 && slash == '/')) return std::nullopt;
    if (!IsSampleRateInRange(rate)) return std::nullopt;
    if (read == 3 && !IsTargetBitDepth(bits)) return std::nullopt;
    return SSampleFormat{rate, read == 3 ? bits : 0};
}

CQuilletLengthyOperation Operation(int32_t title) { return CQuilletLengthyOperation(StringReference(title).GetText()); }

class CProcessSubcommand final : public CFileSubcommand {
public:
    explicit CProcessSubcommand(CLI::App& app) : CFileSubcommand("process") {
        auto* command = app.add_subcommand("process", "Run one processing command on a loop and save the result");
        AddInputs(*command, "IN", "WAVE, AIFF or loop file", true);
        command->add_option("-o,--output", fOutput,
                            "Loop file (.lx2) or sound file (.wav, .aif) to write; with several inputs, a folder "
                            "(each output of the input's kind: a loop file as .lx2)")
            ->required();
        command->add_flag("--force", fForce, "Replace an existing output file");
        auto* group = command->add_option_group("command", "The processing command, exactly one");
        group->add_option("--normalize", fNormalize, "Normalize the whole file or each slice")
            ->transform(CLI::CheckedTransformer(kScopes));
        group->add_option("--mono", fMono, "Keep the left or right channel, or mix them")
            ->transform(CLI::CheckedTransformer(kMonoChoices));
        group->add_option("--convert", fConvert, "Convert to RATE Hz, or RATE/BITS (16 or 24)");
        group->add_flag("--crop", fCrop, "Keep only the loop between the locators");
        group->add_flag("--remove-dc", fRemoveDC, "Remove the DC offset");
        group->add_flag("--re-analyze", fReAnalyze, "Analyse the audio again for new slices");
        group->add_flag("--add-16ths", fAddSixteenths, "Add slices at every sixteenth note");
        group->require_option(1);
    }

private:
    std::string CheckOptions() const override {
        if (fConvert && !ParseSampleFormat(*fConvert))
            return "--convert takes RATE or RATE/BITS: " + DescribeTargetSampleFormats();
        return "";
    }

    // A sound file's output keeps its extension; a loop file's is a loop file.
    std::string OutputNameOf(const std::string& input, const std::string& stem) const override {
        const std::string extension = std::filesystem::path(input).extension().string();
        return stem + (SoundFileTypeOfPath(input) ? extension : ".lx2");
    }

    EExitCode RunFile(SSubcommandContext& context, const SFileTask& task) const override {
        const bool toLoopFile = IsLoopFilePath(task.fOutput);
        const auto soundType = SoundFileTypeOfPath(task.fOutput);
        if (!toLoopFile && !soundType) return UsageError(context, "the output must end in .lx2, .wav, .wave, .aif or .aiff");
        std::optional<SSampleFormat> format;
        if (fConvert) format = ParseSampleFormat(*fConvert);
        const bool replace = fForce || context.fAnswerYes;
        CheckTargetMayBeWritten(task.fOutput, replace);
        if (fRemoveDC && !toLoopFile && !IsLoopFile(task.fInput)) {
            RemoveDCFromSoundFile(task, *soundType, replace);
            return kExitSuccess;
        }

        auto document = toLoopFile || SlicesShapeTheAudio(format)
                            ? OpenAnalyzedDocument(task.fInput, EStoppedAnalysis::kStopOpening, {}, task.fKnownTempo)
                            : OpenUnanalyzedDocument(task.fInput);
        if (const EExitCode refused = Process(context, *document, format); refused != kExitSuccess) return refused;

        CQuilletLengthyOperation saving = Operation(NSStringIds::kOperation_Save);
        if (toLoopFile) {
            SaveDocumentAs(*document, NSDiskKit::CFileSpec::FromPath(task.fOutput), saving);
        } else {
            SaveSoundFile(task.fOutput, *soundType, document->GetWaveSample(), replace, &saving);
        }
        return kExitSuccess;
    }

    // Only the audio goes out, so no document is built and the audio is filtered where it
    // lies: no second copy, no undo.
    void RemoveDCFromSoundFile(const SFileTask& task, ESoundFileType type, bool replace) const {
        std::unique_ptr<CABCWaveSample> sample;
        {
            CQuilletLengthyOperation reading = Operation(NSStringIds::kOperation_Open);
            sample = OpenAudio(task.fInput, reading);
        }
        {
            CQuilletLengthyOperation operation = Operation(NSStringIds::kOperation_RemoveDC);
            RemoveDCInPlace(*sample, operation);
        }
        CQuilletLengthyOperation saving = Operation(NSStringIds::kOperation_Save);
        SaveSoundFile(task.fOutput, type, *sample, replace, &saving);
    }

    // Whether the chosen command's audio depends on the slices or the loop. When it does not
    // and only the audio is written, a sound file's analysis would be thrown away.
    bool SlicesShapeTheAudio(const std::optional<SSampleFormat>& format) const {
        const bool wholeFile = fNormalize && *fNormalize == ENormalizeScope::kWholeFile;
        return !(fRemoveDC || fMono || format || wholeFile);
    }

    // Runs the chosen command. A command that finds nothing to do shows its note and leaves
    // the document as it was; the output is then written unchanged.
    EExitCode Process(SSubcommandContext& context, CQuilletDocument& document,
                      const std::optional<SSampleFormat>& format) const {
        using namespace NSStringIds;
        if (fNormalize) {
            CQuilletLengthyOperation operation = Operation(kOperation_Normalize);
            Normalize(document, operation, *fNormalize);
        } else if (fMono) {
            if (!CanConvertToMono(document)) return Refused(context, "Convert to Mono", "the loop is already mono");
            CQuilletLengthyOperation operation = Operation(kOperation_ConvertToMono);
            ConvertToMono(document, operation, *fMono);
        } else if (format) {
            CQuilletLengthyOperation operation = Operation(kOperation_ConvertSampleFormat);
            const int32_t bits = format->fBitDepth != 0 ? format->fBitDepth : document.GetWaveSample().GetBitDepth();
            ConvertSampleFormat(document, operation, format->fRate, bits);
        } else if (fCrop) {
            if (!CanCropLoop(document))
                return Refused(context, "Crop Loop", "the locators must enclose part of the sample, not all of it");
            CQuilletLengthyOperation operation = Operation(kOperation_CropLoop);
            CropLoop(document, operation);
        } else if (fRemoveDC) {
            CQuilletLengthyOperation operation = Operation(kOperation_RemoveDC);
            RemoveDC(document, operation);
        } else if (fReAnalyze) {
            CQuilletLengthyOperation operation = Operation(kOperation_ReAnalyze);
            ReAnalyze(document, operation);
        } else if (fAddSixteenths) {
            if (!CanAddSlicesAtSixteenths(document))
                return Refused(context, "Add Slices at 1/16ths", "the loop needs a length: give it bars or beats first");
            AddSlicesAtSixteenths(document);
        }
        return kExitSuccess;
    }

    static EExitCode Refused(SSubcommandContext& context, const std::string& command, const std::string& reason) {
        context.fAlerts.PrintAlert(command, reason);
        return kExitFailure;
    }

    bool fForce = false;
    std::optional<ENormalizeScope> fNormalize;
    std::optional<EMonoChoice> fMono;
    std::optional<std::string> fConvert;
    bool fCrop = false;
    bool fRemoveDC = false;
    bool fReAnalyze = false;
    bool fAddSixteenths = false;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeProcessSubcommand(CLI::App& app) { return std::make_unique<CProcessSubcommand>(app); }

}  // namespace NSQuillet::NSCli
