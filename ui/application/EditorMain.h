#pragma once

namespace NSQuillet {

// The editor's process entry: the resource tables, the display check, the application and its
// run loop; files on the command line go to an editor already running for this user. A failure
// that escapes is shown in a message box. Answers the process's exit status.
int RunEditor(int argc, char** argv);

}  // namespace NSQuillet
