#pragma once

#include <string>
#include <vector>

namespace NSQuillet::NSCli {

// One input of a run over several files, and where its output goes below the output folder:
// its name without the extension, after the subfolders it lies in below a folder given.
struct SInputFile {
    std::string fPath;
    std::string fOutputStem;
};

// Whether `paths` name more than one input: several paths, or a folder.
bool NamesSeveralInputs(const std::vector<std::string>& paths);

// The files `paths` name, in the order given; a folder (only with `recursive`) gives its
// sound and loop files (.wav, .wave, .aif, .aiff, .lx2, .lux, .qlt in any case) and those of
// its subfolders, sorted by path. "" when all is well, else the usage problem.
std::string CollectInputFiles(const std::vector<std::string>& paths, bool recursive, std::vector<SInputFile>& files);

}  // namespace NSQuillet::NSCli
