#pragma once

#include <memory>

#include "cli/Command.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `info FILE [--json]`: the file's type and audio format.
std::unique_ptr<ICommand> MakeInfoCommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
