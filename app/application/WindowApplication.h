#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace NSQuillet {

class IDocumentWindow;

// What a document window asks of the application (CQuillet; a recorder in tests).
// User-interface thread.
class IWindowApplication {
public:
    // The application-wide commands the window's menus also show (About, Open…, Paste as New
    // Document, Preferences…, Open Recent, the Help pages, Quit), their state and their action.
    virtual bool IsApplicationCommand(int32_t command) const = 0;
    virtual bool IsApplicationCommandEnabled(int32_t command) const = 0;
    // The label of an Open Recent entry; "" when there is none.
    virtual std::string GetRecentCommandLabel(int32_t command) const = 0;
    virtual void DoApplicationCommand(int32_t command) = 0;
    // A file dropped on a window.
    virtual void OpenPath(const std::string& path) = 0;
    // The open windows, oldest first (the Window menu).
    virtual const std::vector<IDocumentWindow*>& GetWindows() const = 0;
    // The window has closed and is about to be destroyed.
    virtual void WindowClosed(IDocumentWindow* window) = 0;
    // A document was saved as `path`: the recent list takes it.
    virtual void DocumentSavedAs(const std::string& path, const std::string& displayName) = 0;
    // The folder of the newest recent entry, where file dialogs start; "" when there is none.
    virtual std::string GetRecentFolder() const = 0;
    // Runs `command`; a failure escaping it is shown with its alert. False when it failed.
    virtual bool RunCommand(const std::function<void()>& command) = 0;
    virtual void RequestQuit() = 0;
    virtual bool IsQuitting() const = 0;

protected:
    ~IWindowApplication() = default;
};

}  // namespace NSQuillet
