#include "cli/RenderSubcommand.h"

#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <vector>

#include "app/opening/OpeningAnalysis.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/playback/LoopRender.h"
#include "app/processing/TargetSampleFormat.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/saving/SaveTarget.h"
#include "app/saving/SoundFileSaving.h"
#include "cli/FileSubcommand.h"
#include "cli/LoopOptions.h"
#include "engine/QuilletSequencer.h"
#include "foundation/SampleRate.h"

namespace NSQuillet::NSCli {

namespace {

const std::map<std::string, bool> kOnOff = {{"on", true}, {"off", false}};

class CRenderSubcommand final : public CFileSubcommand {
public:
    explicit CRenderSubcommand(CLI::App& app) : CFileSubcommand("render") {
        auto* command = app.add_subcommand("render", "Render the loop as the preview plays it and write it as WAVE or AIFF");
        AddInputs(*command, "IN", "WAVE, AIFF or loop file", true);
        command->add_option("-o,--output", fOutput, "Output file (.wav or .aif); with several inputs, a folder (WAVE files)")
            ->required();
        command->add_flag("--force", fForce, "Replace an existing output file");
        AddLoopOptions(*command, fLoopOptions, false);
        command->add_option("--pitch", fPitch, "Preview pitch in cents")->check(CLI::Range(-2400, 2400));
        command->add_option("--gain", fGain, "Processing gain in thousandths (1000 = unity)")->check(CLI::Range(0, 7943));
        command->add_option("--envelope", fEnvelope, "Envelope on or off")->transform(CLI::CheckedTransformer(kOnOff));
        command->add_option("--attack", fAttack, "Envelope attack, 0..1023")->check(CLI::Range(0, 1023));
        command->add_option("--decay", fDecay, "Envelope decay, 0..1023 (1023: none)")->check(CLI::Range(0, 1023));
        command->add_option("--stretch", fStretch, "Envelope stretch, 0..100")->check(CLI::Range(0, 100));
        command->add_option("--eq", fEqualizer, "Equalizer on or off")->transform(CLI::CheckedTransformer(kOnOff));
        command->add_option("--repeat", fRepeat, "How many times the loop plays")->check(CLI::Range(1, 1000));
        command->add_option("--rate", fRate, "Output sample rate in Hz")
            ->check(CLI::Range(kMinimumSampleRate, kMaximumSampleRate));
        command->add_option("--bits", fBits, "Output bit depth")
            ->check(CLI::IsMember(std::vector<int32_t>(kTargetBitDepths.begin(), kTargetBitDepths.end())));
    }

private:
    std::string CheckOptions() const override { return CheckLoopOptions(fLoopOptions); }
    std::string OutputNameOf(const std::string&, const std::string& stem) const override { return stem + ".wav"; }

    EExitCode RunFile(SSubcommandContext& context, const SFileTask& task) const override {
        const auto type = SoundFileTypeOfPath(task.fOutput);
        if (!type) return UsageError(context, "the output must end in .wav, .wave, .aif or .aiff");
        CheckTargetMayBeWritten(task.fOutput, fForce || context.fAnswerYes);

        auto document = OpenAnalyzedDocument(task.fInput, EStoppedAnalysis::kStopOpening, {}, task.fKnownTempo);
        const std::string refused = ApplyLoopOptions(*document, WithPreviewByDefault(*document, fLoopOptions));
        if (!refused.empty()) return UsageError(context, refused);

        SLoopRender render;
        render.fRepeat = fRepeat;
        render.fOutputRate = fRate.value_or(0);
        render.fBitDepth = fBits.value_or(0);
        const std::unique_ptr<CABCWaveSample> rendered =
            RenderDocumentLoop(*document, render, [&](CQuilletSequencer& sequencer) { ApplyOverrides(sequencer); });
        if (!rendered) return UsageError(context, "the rendered loop would be longer than 2^31 frames");
        CQuilletLengthyOperation writing(StringReference(NSStringIds::kOperation_Save).GetText());
        SaveSoundFile(task.fOutput, *type, *rendered, fForce || context.fAnswerYes, &writing);
        return kExitSuccess;
    }

    void ApplyOverrides(CQuilletSequencer& sequencer) const {
        if (fPitch) sequencer.SetPitch(int16_t(*fPitch));
        if (fGain) sequencer.SetGain(int16_t(*fGain));
        sequencer.ChangeSampler([&](CQuilletSampler& sampler) {
            if (fEnvelope) sampler.SetEnvelopeOn(*fEnvelope);
            if (fAttack) sampler.SetAttack(int16_t(*fAttack));
            if (fDecay) sampler.SetDecay(int16_t(*fDecay));
            if (fStretch) sampler.SetStretch(int16_t(*fStretch));
        });
        if (fEqualizer) sequencer.ChangeEqualizer([&](CEqualizerEffect& equalizer) { equalizer.SetOn(*fEqualizer); });
    }

    bool fForce = false;
    SLoopOptions fLoopOptions;
    std::optional<int32_t> fPitch;
    std::optional<int32_t> fGain;
    std::optional<bool> fEnvelope;
    std::optional<int32_t> fAttack;
    std::optional<int32_t> fDecay;
    std::optional<int32_t> fStretch;
    std::optional<bool> fEqualizer;
    int64_t fRepeat = 1;
    std::optional<uint32_t> fRate;
    std::optional<int32_t> fBits;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeRenderSubcommand(CLI::App& app) { return std::make_unique<CRenderSubcommand>(app); }

}  // namespace NSQuillet::NSCli
