#pragma once

#include <string>

namespace NSQuillet {

// Where a file dialog starts: `folder` (the folder of the newest recent entry), or its nearest
// enclosing folder that still exists when it is gone; "" (the dialog's own choice) for "" or
// when no part of it is left. Reads the file system.
std::string DialogStartFolder(const std::string& folder);

}  // namespace NSQuillet
