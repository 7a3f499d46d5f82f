#pragma once

#include <functional>
#include <string>

namespace NSQuillet {

// Reads one environment variable; null when it is not set.
using FEnvironmentReader = std::function<const char*(const char* name)>;

// Whether the window library has a display to open: DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM set and not empty.
bool HasDisplayEnvironment(const FEnvironmentReader& read);

// What the editor prints when it has no display, instead of letting the window library abort.
std::string NoDisplayMessage();

}  // namespace NSQuillet
