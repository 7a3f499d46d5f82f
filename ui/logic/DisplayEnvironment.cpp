#include "ui/logic/DisplayEnvironment.h"

namespace NSQuillet {

bool HasDisplayEnvironment(const FEnvironmentReader& read) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = read(name);
        if (value && *value) return true;
    }
    return false;
}

std::string NoDisplayMessage() {
    return "quillet: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set).\n"
           "Start it from a desktop session, or use quillet-cli for work without a window.\n";
}

}  // namespace NSQuillet
