#include "cli/PlaySubcommand.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

#include "app/opening/OpeningAnalysis.h"
#include "app/playback/AudioOutputSession.h"
#include "app/playback/PlaybackToEnd.h"
#include "cli/LoopOptions.h"
#include "engine/AudioCardManager.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"

namespace NSQuillet::NSCli {

namespace {

class CPlaySubcommand final : public ISubcommand {
public:
    explicit CPlaySubcommand(CLI::App& app) {
        auto* command = app.add_subcommand("play", "Play a sound or a loop through the audio output in real time");
        command->add_option("IN", fInput, "WAVE, AIFF or loop file")->required();
        command->add_option("--device", fDevice,
                            "Audio device: its name or a part of it, or \"null\" for the Null Output (default: the "
                            "device chosen last, else the standard one)");
        AddLoopOptions(*command, fLoopOptions, false);
        command->add_option("--slice", fSlice, "Play only this slice (its index in the slice list)")
            ->check(CLI::NonNegativeNumber);
        command->add_option("--repeat", fRepeat, "How many times it plays")->check(CLI::Range(1, 1000));
    }

    EExitCode Run(SSubcommandContext& context) override {
        const std::string problem = CheckLoopOptions(fLoopOptions);
        if (!problem.empty()) return UsageError(context, problem);

        CWavePlayer& player = CWavePlayer::Get();
        CAudioCardManager& manager = CAudioCardManager::Get();
        const CAudioOutputSession output(manager, fDevice);
        SDocumentSettings settings;
        settings.fAudioCardManager = &manager;
        settings.fWavePlayer = &player;
        auto document = OpenAnalyzedDocument(fInput, EStoppedAnalysis::kStopOpening, settings);
        const std::string refused = ApplyLoopOptions(*document, WithPreviewByDefault(*document, fLoopOptions));
        if (!refused.empty()) return UsageError(context, refused);
        const int32_t slices = document->GetSliceSequence().GetSliceCount();
        if (fSlice && *fSlice >= slices) {
            return UsageError(context, "--slice must be an index of the slice list, 0 to " + std::to_string(slices - 1));
        }

        SPlaybackRun run;
        run.fRepeat = fRepeat;
        run.fSlice = fSlice;
        PlayToEnd(*document, manager, player, run);
        return kExitSuccess;
    }

private:
    std::string fInput;
    std::string fDevice;
    SLoopOptions fLoopOptions;
    std::optional<int32_t> fSlice;
    int64_t fRepeat = 1;
};

}  // namespace

std::unique_ptr<ISubcommand> MakePlaySubcommand(CLI::App& app) { return std::make_unique<CPlaySubcommand>(app); }

}  // namespace NSQuillet::NSCli
