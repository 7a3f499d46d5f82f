#include "cli/DecodeSubcommand.h"

#include <CLI/CLI.hpp>

#include "app/opening/DocumentOpening.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/saving/DecodingSoundFileSaving.h"
#include "app/saving/SaveTarget.h"
#include "app/saving/SoundFileSaving.h"
#include "cli/FileSubcommand.h"
#include "engine/WaveSample.h"

namespace NSQuillet::NSCli {

namespace {

class CDecodeSubcommand final : public CFileSubcommand {
public:
    explicit CDecodeSubcommand(CLI::App& app) : CFileSubcommand("decode") {
        auto* command = app.add_subcommand("decode", "Write a loop's audio unchanged as WAVE or AIFF");
        AddInputs(*command, "IN", "Loop, WAVE or AIFF file", false);
        command->add_option("-o,--output", fOutput, "Output file (.wav or .aif); with several inputs, a folder (WAVE files)")
            ->required();
        command->add_flag("--force", fForce, "Replace an existing output file");
    }

private:
    std::string OutputNameOf(const std::string&, const std::string& stem) const override { return stem + ".wav"; }

    EExitCode RunFile(SSubcommandContext& context, const SFileTask& task) const override {
        const auto type = SoundFileTypeOfPath(task.fOutput);
        if (!type) return UsageError(context, "the output must end in .wav, .wave, .aif or .aiff");
        const bool replace = fForce || context.fAnswerYes;
        CheckTargetMayBeWritten(task.fOutput, replace);
        SAudioToDecode audio;
        {
            CQuilletLengthyOperation reading(StringReference(NSStringIds::kOperation_Open).GetText());
            audio = OpenAudioToDecode(task.fInput, reading);
        }
        CQuilletLengthyOperation writing(StringReference(NSStringIds::kOperation_Save).GetText());
        if (audio.fDecode) {
            // A loop file's sound is written as it is decoded.
            SaveSoundFileWhileDecoding(task.fOutput, *type, *audio.fSample, replace, &writing, audio.fDecode);
        } else {
            SaveSoundFile(task.fOutput, *type, *audio.fSample, replace, &writing);
        }
        return kExitSuccess;
    }

    bool fForce = false;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeDecodeSubcommand(CLI::App& app) { return std::make_unique<CDecodeSubcommand>(app); }

}  // namespace NSQuillet::NSCli
