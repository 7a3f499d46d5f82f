#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `play IN [--device NAME] [loop options] [--slice N] [--repeat N]`: plays through the audio
// output in real time until the end or Ctrl-C.
std::unique_ptr<ISubcommand> MakePlaySubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
