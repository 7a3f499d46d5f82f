#include "cli/DecodeSubcommand.h"

#include <CLI/CLI.hpp>

#include "app/opening/DocumentOpening.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/saving/DecodingSoundFileSaving.h"
#include "app/saving/SaveTarget.h"
#include "app/saving/SoundFileSaving.h"
#include "engine/WaveSample.h"

namespace NSQuillet::NSCli {

namespace {

class CDecodeSubcommand final : public ISubcommand {
public:
    explicit CDecodeSubcommand(CLI::App& app) {
        auto* command = app.add_subcommand("decode", "Write a loop's audio unchanged as WAVE or AIFF");
        command->add_option("IN", fInput, "Loop, WAVE or AIFF file")->required();
        command->add_option("-o,--output", fOutput, "Output file (.wav or .aif)")->required();
        command->add_flag("--force", fForce, "Replace an existing output file");
    }

    EExitCode Run(SSubcommandContext& context) override {
        const auto type = SoundFileTypeOfPath(fOutput);
        if (!type) return UsageError(context, "the output must end in .wav, .wave, .aif or .aiff");
        const bool replace = fForce || context.fAnswerYes;
        CheckTargetMayBeWritten(fOutput, replace);
        SAudioToDecode audio;
        {
            CQuilletLengthyOperation reading(StringReference(NSStringIds::kOperation_Open).GetText());
            audio = OpenAudioToDecode(fInput, reading);
        }
        CQuilletLengthyOperation writing(StringReference(NSStringIds::kOperation_Save).GetText());
        if (audio.fDecode) {
            // A loop file's sound is written as it is decoded.
            SaveSoundFileWhileDecoding(fOutput, *type, *audio.fSample, replace, &writing, audio.fDecode);
        } else {
            SaveSoundFile(fOutput, *type, *audio.fSample, replace, &writing);
        }
        return kExitSuccess;
    }

private:
    std::string fInput;
    std::string fOutput;
    bool fForce = false;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeDecodeSubcommand(CLI::App& app) { return std::make_unique<CDecodeSubcommand>(app); }

}  // namespace NSQuillet::NSCli
