#pragma once

#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "formats/media/Media.h"
#include "foundation/ProgressReporter.h"
#include "platform/diskkit/FileSpec.h"

namespace NSQuillet {

// Writes the document as a LUX2 loop file under `operation` (titled "Save" by the caller):
// into a temporary file beside the target, renamed over it only once the whole file is
// written and flushed, so that a failed or stopped save leaves the previous file as it was
// and the document modified. Only then is the document marked saved.

// Save: to the document's own file (a native file; else XStdLogicError: ask for one).
void SaveDocument(CQuilletDocument& document, CQuilletLengthyOperation& operation);
// Save As: to `file`, which becomes the document's file.
void SaveDocumentAs(CQuilletDocument& document, const NSDiskKit::CFileSpec& file,
                    CQuilletLengthyOperation& operation);

// The loop file Save writes, from the start of `media`, without touching the document's file
// or saved state (the clipboard's copy of the loop). `progress` may be null.
void WriteLoopFileTo(CQuilletDocument& document, CMedia& media, IProgressReporter* progress);

}  // namespace NSQuillet
