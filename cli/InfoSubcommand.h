#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `info FILE [--json]`: the file's type and audio format.
std::unique_ptr<ISubcommand> MakeInfoSubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
