#pragma once

#include <memory>

#include "cli/Command.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `decode IN -o OUT.wav/.aif`: the loop's audio, bit for bit, in its own rate, depth and
// channels.
std::unique_ptr<ICommand> MakeDecodeCommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
