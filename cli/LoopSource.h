#pragma once

#include <memory>
#include <string>

#include "app/document/QuilletDocument.h"

namespace NSQuillet::NSCli {

// An input file opened as the editor opens it, as a document: a WAVE or AIFF file is read under
// the "Open" progress and analysed under "Analyze"; a loop file brings its slices and settings.
// A stop is XAbort "user pressed stop"; a stopped analysis shows the editor's note first.
std::unique_ptr<CQuilletDocument> OpenLoopDocument(const std::string& path);

}  // namespace NSQuillet::NSCli
