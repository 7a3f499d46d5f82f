#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `render IN -o OUT …`: the preview sequencer's playback of the loop, written as a sound file.
std::unique_ptr<ISubcommand> MakeRenderSubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
