#pragma once

#include <memory>

#include "app/clipboard/ClipboardLoop.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"

namespace NSQuillet {

// Paste as New Document: the loop handed over as LUX2 (its slices and settings) or WAVE (a
// sound, analysed as an opened one is) becomes a document without a file, modified until it
// is saved. The bytes are checked as a file's would be: a damaged or unsupported loop fails
// with the failure opening such a file gives. MIDI is not a loop that can be pasted
// (XUnsupportedFormat).
std::unique_ptr<CQuilletDocument> OpenPastedDocument(const SClipboardLoop& loop, const SDocumentSettings& settings,
                                                     CQuilletLengthyOperation& operation);

}  // namespace NSQuillet
