#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `decode IN -o OUT.wav/.aif`: the loop's audio, bit for bit, in its own rate, depth and
// channels.
std::unique_ptr<ISubcommand> MakeDecodeSubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
