#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

class CAlertPrinter;

// The inputs of a command that works on files one at a time, and how to go through several.
struct SInputOptions {
    std::vector<std::string> fPaths;
    bool fRecursive = false;
    std::optional<uint32_t> fJobs;
    std::optional<double> fKnownTempo;
    bool fTempoFromName = false;
};

// Registers the input files as `name` (one or more), --recursive and -j/--jobs, and with
// `withTempo` --known-tempo and --tempo-from-name.
void AddInputOptions(CLI::App& command, SInputOptions& options, const std::string& name, const std::string& description,
                     bool withTempo);

// The files worked on at once: -j, else the number of cores.
uint32_t JobCount(const SInputOptions& options);

// The known tempo of `input` in thousandths of BPM, 0 for none: with --tempo-from-name the one
// its name gives, else --known-tempo. A name without a tempo, and no --known-tempo to fall back
// on, is reported as a note and the file opens as without the options.
int32_t KnownTempoOf(const SInputOptions& options, const std::string& input, const CAlertPrinter& alerts);

}  // namespace NSQuillet::NSCli
