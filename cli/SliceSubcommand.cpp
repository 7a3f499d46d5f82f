#include "cli/SliceSubcommand.h"

#include <CLI/CLI.hpp>

#include "app/opening/OpeningAnalysis.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/saving/DocumentSaving.h"
#include "app/saving/SaveTarget.h"
#include "cli/LoopOptions.h"
#include "platform/diskkit/FileSpec.h"

namespace NSQuillet::NSCli {

namespace {

class CSliceSubcommand final : public ISubcommand {
public:
    explicit CSliceSubcommand(CLI::App& app) {
        auto* command = app.add_subcommand("slice", "Slice a loop, set its length and tempo, and save it as a loop file");
        command->add_option("IN", fInput, "WAVE, AIFF or loop file")->required();
        command->add_option("-o,--output", fOutput, "Loop file to write (.lx2)")->required();
        command->add_flag("--force", fForce, "Replace an existing output file");
        AddLoopOptions(*command, fOptions, true);
    }

    EExitCode Run(SSubcommandContext& context) override {
        if (!IsLoopFilePath(fOutput)) return UsageError(context, "the output must end in .lx2");
        const std::string problem = CheckLoopOptions(fOptions);
        if (!problem.empty()) return UsageError(context, problem);
        CheckTargetMayBeWritten(fOutput, fForce || context.fAnswerYes);

        auto document = OpenAnalyzedDocument(fInput, EStoppedAnalysis::kStopOpening);
        const std::string refused = ApplyLoopOptions(*document, fOptions);
        if (!refused.empty()) return UsageError(context, refused);
        CQuilletLengthyOperation saving(StringReference(NSStringIds::kOperation_Save).GetText());
        SaveDocumentAs(*document, NSDiskKit::CFileSpec::FromPath(fOutput), saving);
        return kExitSuccess;
    }

private:
    std::string fInput;
    std::string fOutput;
    bool fForce = false;
    SLoopOptions fOptions;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeSliceSubcommand(CLI::App& app) { return std::make_unique<CSliceSubcommand>(app); }

}  // namespace NSQuillet::NSCli
