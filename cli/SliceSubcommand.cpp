#include "cli/SliceSubcommand.h"

#include <CLI/CLI.hpp>

#include "app/opening/OpeningAnalysis.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/saving/DocumentSaving.h"
#include "app/saving/SaveTarget.h"
#include "cli/FileSubcommand.h"
#include "cli/LoopOptions.h"
#include "platform/diskkit/FileSpec.h"

namespace NSQuillet::NSCli {

namespace {

class CSliceSubcommand final : public CFileSubcommand {
public:
    explicit CSliceSubcommand(CLI::App& app) : CFileSubcommand("slice") {
        auto* command = app.add_subcommand("slice", "Slice a loop, set its length and tempo, and save it as a loop file");
        AddInputs(*command, "IN", "WAVE, AIFF or loop file", true);
        command->add_option("-o,--output", fOutput, "Loop file to write (.lx2); with several inputs, a folder")->required();
        command->add_flag("--force", fForce, "Replace an existing output file");
        AddLoopOptions(*command, fOptions, true);
    }

private:
    std::string CheckOptions() const override { return CheckLoopOptions(fOptions); }
    std::string OutputNameOf(const std::string&, const std::string& stem) const override { return stem + ".lx2"; }

    EExitCode RunFile(SSubcommandContext& context, const SFileTask& task) const override {
        if (!IsLoopFilePath(task.fOutput)) return UsageError(context, "the output must end in .lx2");
        CheckTargetMayBeWritten(task.fOutput, fForce || context.fAnswerYes);

        auto document = OpenAnalyzedDocument(task.fInput, EStoppedAnalysis::kStopOpening, {}, task.fKnownTempo);
        const std::string refused = ApplyLoopOptions(*document, fOptions);
        if (!refused.empty()) return UsageError(context, refused);
        CQuilletLengthyOperation saving(StringReference(NSStringIds::kOperation_Save).GetText());
        SaveDocumentAs(*document, NSDiskKit::CFileSpec::FromPath(task.fOutput), saving);
        return kExitSuccess;
    }

    bool fForce = false;
    SLoopOptions fOptions;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeSliceSubcommand(CLI::App& app) { return std::make_unique<CSliceSubcommand>(app); }

}  // namespace NSQuillet::NSCli
