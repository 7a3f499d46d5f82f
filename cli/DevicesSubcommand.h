#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `devices [--json]`: the audio host APIs and output devices, the Null Output always among them.
std::unique_ptr<ISubcommand> MakeDevicesSubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
