#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/clipboard/ClipboardLoop.h"

namespace NSQuillet {

class CQuilletDocument;
class IDocumentWindow;

// What the application object asks of the window library: the editor's Qt shell, a recorder in
// tests. User-interface thread.
class IApplicationShell {
public:
    virtual ~IApplicationShell() = default;

    // A new shown window for `document`. The window tells the application when it has closed
    // (CQuillet::WindowClosed); until then the pointer stays valid.
    virtual IDocumentWindow* CreateDocumentWindow(std::shared_ptr<CQuilletDocument> document) = 0;
    // The modal Open dialog, starting in `startFolder` ("" for the shell's choice): the chosen
    // path, none when cancelled.
    virtual std::optional<std::string> AskFileToOpen(const std::string& startFolder) = 0;
    // The loop on the clipboard for Paste as New Document: its LUX2 kind when offered, else its
    // WAVE kind; none when the clipboard holds neither.
    virtual std::optional<SClipboardLoop> ReadClipboardLoop() = 0;
    // One instance each: shown, or brought to the front.
    virtual void ShowAbout() = 0;
    virtual void ShowPreferences() = 0;
    // Opens `address` in the system's browser; false when that could not be done.
    virtual bool OpenWebPage(const std::string& address) = 0;
    // The recent list or another input of the application menus changed.
    virtual void ApplicationMenusChanged() = 0;
    // Leaves the run loop once the current event is done.
    virtual void Quit() = 0;
};

}  // namespace NSQuillet
