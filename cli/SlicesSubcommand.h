#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `slices FILE [--sensitivity N] [--gate N] [--json]`: every slice of the list, shown or not.
std::unique_ptr<ISubcommand> MakeSlicesSubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
