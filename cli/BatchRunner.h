#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/Subcommand.h"

namespace NSQuillet::NSCli {

// One file of a run over several: the input and its output ("" for a command that prints).
struct SBatchItem {
    std::string fInput;
    std::string fOutput;
};

// One file's work, as the one-file command does it, with the file's own context.
using FBatchWork = std::function<EExitCode(SSubcommandContext& context, const SBatchItem& item)>;

struct SBatchSettings {
    // The command's name, the progress line's title.
    std::string fTitle;
    uint32_t fJobs = 1;
    // The files print one JSON object each: the input's "path" joins it, as its first field.
    bool fJsonLines = false;
};

// Runs `work` on every item, `fJobs` at once, each in a thread of its own with its own output
// streams, alerts ("quillet-cli: PATH: HEADING: BODY"), diagnostics and note counters. What a
// file printed is written whole, in the order of `items` (without JSON, after a line
// "==> PATH <==" when it printed anything); a failing file does not stop the others. On a
// terminal, and unless --quiet, one progress line counts the files; then, unless --quiet, a
// summary "quillet-cli: N done, N failed, N skipped" (skipped: not started, or stopped, after
// Ctrl-C). A question without --yes fails its file. Ctrl-C starts no more files and stops those
// running as in a one-file run. Exit code 3 when stopped, 1 when any file failed, else 0.
EExitCode RunBatch(SSubcommandContext& context, const SBatchSettings& settings, const std::vector<SBatchItem>& items,
                   const FBatchWork& work);

}  // namespace NSQuillet::NSCli
