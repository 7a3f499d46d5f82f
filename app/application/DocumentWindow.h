#pragma once

#include <memory>

namespace NSQuillet {

class CQuilletDocument;

// A document's window as the application object sees it (the editor's CQuilletWindow, a
// recorder in tests). User-interface thread.
class IDocumentWindow {
public:
    virtual ~IDocumentWindow() = default;

    virtual CQuilletDocument& GetDocument() = 0;
    virtual std::shared_ptr<CQuilletDocument> GetSharedDocument() = 0;
    // Raises and activates the window.
    virtual void BringToFront() = 0;
    // The close conversation: stops playback, and for a document with unsaved changes asks
    // whether to save it ("…before quitting?" when `quitting`). True when the window closed,
    // false when the user chose Cancel or a save did not complete (the window stays).
    virtual bool RequestClose(bool quitting) = 0;
    // Closes at once without asking (a pristine window).
    virtual void CloseWithoutAsking() = 0;
};

}  // namespace NSQuillet
