#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `slice IN -o OUT.lx2 …`: the loop opened (a sound file analysed), changed by the options as
// document changes, and saved as a loop file.
std::unique_ptr<ISubcommand> MakeSliceSubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
