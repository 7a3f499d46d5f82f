#include "cli/InputOptions.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <thread>

#include "cli/AlertPrinter.h"
#include "cli/TempoInFileName.h"

namespace NSQuillet::NSCli {

void AddInputOptions(CLI::App& command, SInputOptions& options, const std::string& name, const std::string& description,
                     bool withTempo) {
    command.add_option(name, options.fPaths, description + "; several, or folders with --recursive")->required();
    command.add_flag("--recursive", options.fRecursive, "Take the sound and loop files of the folders given and their subfolders");
    command.add_option("-j,--jobs", options.fJobs, "Files worked on at once (default: the number of cores)")
        ->check(CLI::Range(1, 256));
    if (!withTempo) return;
    command.add_option("--known-tempo", options.fKnownTempo, "Tempo of the sound in BPM: bars and beats follow from it")
        ->check(CLI::Range(20.0, 450.0));
    command.add_flag("--tempo-from-name", options.fTempoFromName,
                     "Take the tempo from the file name (\"funk 120bpm.wav\") where it has one");
}

uint32_t JobCount(const SInputOptions& options) {
    if (options.fJobs) return *options.fJobs;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

int32_t KnownTempoOf(const SInputOptions& options, const std::string& input, const CAlertPrinter& alerts) {
    const int32_t given = options.fKnownTempo ? int32_t(std::lround(*options.fKnownTempo * 1000.0)) : 0;
    if (!options.fTempoFromName) return given;
    if (const std::optional<int32_t> named = FindTempoInFileName(input)) return *named;
    if (given == 0) alerts.PrintAlert("Note", "no tempo in the file name; its length is left as it is");
    return given;
}

}  // namespace NSQuillet::NSCli
