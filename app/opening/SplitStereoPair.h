#pragma once

#include <string>

namespace NSQuillet {

// The right file of the split stereo pair whose left file is `path`, or "" when `path` is not
// one. The left file's name (the last part of the path) is at least two characters long and
// ends in ".L" or ".l"; the partner's name ends in ".R" or ".r" to match and it must be a plain
// file (or a link to one) in the same folder. A file ending in ".R" has no partner.
// Blocks on the file system.
std::string FindSplitStereoPartner(const std::string& path);

}  // namespace NSQuillet
