#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `export IN --format wav/aiff/mid/sf2/akp -o TARGET [--one-sample] [--crop] [--rate HZ]
// [--bits 16/24] [--midi] [--base-note N]` plus the loop options: the editor's export flow with
// the dialogs' choices given as options.
std::unique_ptr<ISubcommand> MakeExportSubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
