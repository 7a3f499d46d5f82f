#pragma once

#include <memory>

#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// `process IN -o OUT (--normalize … | --mono … | --convert … | --crop | --remove-dc |
// --re-analyze | --add-16ths)`: one processing command as an undoable document change, then
// the document saved as a loop file (.lx2) or its audio as WAVE or AIFF.
std::unique_ptr<ISubcommand> MakeProcessSubcommand(CLI::App& app);

}  // namespace NSQuillet::NSCli
