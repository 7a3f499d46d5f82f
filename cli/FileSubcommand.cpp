#include "cli/FileSubcommand.h"

#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "cli/BatchRunner.h"
#include "cli/InputFiles.h"

namespace NSQuillet::NSCli {

namespace fs = std::filesystem;

void CFileSubcommand::AddInputs(CLI::App& command, const std::string& name, const std::string& description,
                                bool withTempo) {
    AddInputOptions(command, fInputs, name, description, withTempo);
}

EExitCode CFileSubcommand::Run(SSubcommandContext& context) {
    if (const std::string problem = CheckOptions(); !problem.empty()) return UsageError(context, problem);
    std::error_code error;
    const bool intoFolder = !OutputNameOf("", "x").empty() && !WritesFolder() && fs::is_directory(fOutput, error);
    if (NamesSeveralInputs(fInputs.fPaths) || intoFolder) return RunSeveral(context);
    const std::string& input = fInputs.fPaths.front();
    return RunFile(context, SFileTask{input, fOutput, KnownTempoOf(fInputs, input, context.fAlerts)});
}

EExitCode CFileSubcommand::RunSeveral(SSubcommandContext& context) {
    std::vector<SInputFile> files;
    if (const std::string problem = CollectInputFiles(fInputs.fPaths, fInputs.fRecursive, files); !problem.empty())
        return UsageError(context, problem);
    const bool writes = !OutputNameOf("", "x").empty();
    if (writes) {
        std::error_code error;
        if (fs::exists(fOutput, error) && !fs::is_directory(fOutput, error))
            return UsageError(context, "with several inputs -o names a folder, and " + fOutput + " is a file");
    }

    std::vector<SBatchItem> items;
    std::map<std::string, std::string> inputOfOutput;
    for (const SInputFile& file : files) {
        SBatchItem item{file.fPath, ""};
        if (writes) {
            const fs::path stem(file.fOutputStem);
            item.fOutput = (fs::path(fOutput) / stem.parent_path() / OutputNameOf(file.fPath, stem.filename().string()))
                               .lexically_normal()
                               .string();
            const auto [at, added] = inputOfOutput.emplace(item.fOutput, file.fPath);
            if (!added) return UsageError(context, at->second + " and " + file.fPath + " would both write " + item.fOutput);
        }
        items.push_back(std::move(item));
    }
    if (writes) {
        for (const SBatchItem& item : items) {
            std::error_code error;
            fs::create_directories(fs::path(item.fOutput).parent_path(), error);
            if (error) {
                context.fAlerts.PrintAlert("Error", "cannot make the folder for " + item.fOutput + ": " + error.message());
                return kExitFailure;
            }
        }
    }

    const SBatchSettings settings{fName, JobCount(fInputs), PrintsJson()};
    return RunBatch(context, settings, items, [this](SSubcommandContext& fileContext, const SBatchItem& item) {
        return RunFile(fileContext, SFileTask{item.fInput, item.fOutput, KnownTempoOf(fInputs, item.fInput, fileContext.fAlerts)});
    });
}

}  // namespace NSQuillet::NSCli
