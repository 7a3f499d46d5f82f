#pragma once

namespace NSQuillet {

// The editor's process entry: checks for a display, builds the application and runs it.
// Answers the process's exit status.
int RunEditor(int argc, char** argv);

}  // namespace NSQuillet
