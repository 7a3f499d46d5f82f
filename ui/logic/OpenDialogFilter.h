#pragma once

#include <string>
#include <vector>

namespace NSQuillet {

// The Open dialog's file type choices: all the types the editor opens, then each type alone,
// as "Name (*.ext *.ext)".
std::vector<std::string> OpenDialogFilters();

}  // namespace NSQuillet
