#pragma once

namespace NSQuillet {

class CQuilletApplicationShell;
class IWindowApplication;

// The shell's document windows are the editor's CQuilletWindow, shown at once, rebuilding their
// application menus when the shell says they changed.
void UseEditorWindows(CQuilletApplicationShell& shell, IWindowApplication& application);

}  // namespace NSQuillet
