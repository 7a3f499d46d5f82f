#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/clipboard/ClipboardLoop.h"

namespace NSQuillet {

class CQuilletDocument;
class IDocumentWindow;
class IWindowApplication;

// What the editor's parts that live beside the shell supply: the document window and the
// clipboard's loop reader.
struct SEditorParts {
    std::function<IDocumentWindow*(IWindowApplication& application, std::shared_ptr<CQuilletDocument> document)>
        fCreateWindow;
    std::function<std::optional<SClipboardLoop>()> fReadClipboardLoop;
};

// The editor's process entry: the resource tables, the display check, the application and its
// run loop; files on the command line go to an editor already running for this user. A failure
// that escapes is shown in a message box. Answers the process's exit status.
int RunEditor(int argc, char** argv, SEditorParts parts);

}  // namespace NSQuillet
