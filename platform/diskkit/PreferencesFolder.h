#pragma once

#include <cstdint>
#include <string>

namespace NSDiskKit::NSDiskKitDetails {

// The user's configuration folder (XDG_CONFIG_HOME when absolute, else HOME/.config, else the
// password database's home/.config) joined with `relative`, created with its missing parents
// (mode 0700). Answers 5000 with the path in `path`, or a failure status with the thread's
// failure text set.
uint32_t MakePreferencesFolder(const std::string& relative, std::string& path);

}  // namespace NSDiskKit::NSDiskKitDetails
