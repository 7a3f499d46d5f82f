#pragma once

#include <cstdint>
#include <string>

#include "cli/InputOptions.h"
#include "cli/Subcommand.h"

namespace CLI {
class App;
}

namespace NSQuillet::NSCli {

// One input's work: the file, its output as -o gives it (with several inputs, the path in the
// output folder named after the input; "" for a command that prints), and the known tempo in
// thousandths of BPM (0: none).
struct SFileTask {
    std::string fInput;
    std::string fOutput;
    int32_t fKnownTempo = 0;
};

// A command that works on one input file at a time, and so on several (RunBatch): with more
// than one input, or a folder, -o names a folder (made when missing) in which each output is
// named after its input; so does an existing folder given to a command whose output is a file.
// With one input otherwise, everything is as in a command for one file.
class CFileSubcommand : public ISubcommand {
public:
    EExitCode Run(SSubcommandContext& context) final;

protected:
    explicit CFileSubcommand(std::string name) : fName(std::move(name)) {}

    // Registers the inputs (see AddInputOptions).
    void AddInputs(CLI::App& command, const std::string& name, const std::string& description, bool withTempo);

    // "" when the options can be used, else the usage problem; asked once, before any file.
    virtual std::string CheckOptions() const { return ""; }
    // The name of the output in the output folder of an input whose name is `stem` without its
    // extension ("drums" of "drums.wav"): "drums.lx2", or a folder "drums". "" for a command
    // that writes nothing (no -o).
    virtual std::string OutputNameOf(const std::string& input, const std::string& stem) const = 0;
    // Whether the output of one input is a folder (export's slice files).
    virtual bool WritesFolder() const { return false; }
    // Whether each file prints one JSON object.
    virtual bool PrintsJson() const { return false; }
    // One file's work. With several inputs it runs in several threads at once: it reads the
    // options and touches nothing else of the command.
    virtual EExitCode RunFile(SSubcommandContext& context, const SFileTask& task) const = 0;

    SInputOptions fInputs;
    // -o as given; unused by a command that prints.
    std::string fOutput;

private:
    EExitCode RunSeveral(SSubcommandContext& context);

    std::string fName;
};

}  // namespace NSQuillet::NSCli
