#pragma once

#include <memory>

#include "engine/Exporter.h"
#include "formats/export/ExportFileFormat.h"
#include "platform/diskkit/FileSpec.h"

namespace NSQuillet {

class CQuilletDocument;

// The document's exporter bound to one chosen file: an exporter over a copy of the document's
// sequencer, in slice mode unless "Export as One Sample" is marked, cut at the loop's end when
// the crop-to-loop preference asks for it. User-interface thread.
class CFileExporter {
public:
    CFileExporter(const CQuilletDocument& document, const NSDiskKit::CFileSpec& file, bool cropToLoop);

    CExporter& GetExporter() { return *fExporter; }
    const NSDiskKit::CFileSpec& GetFile() const { return fFile; }
    // Lets `format` write the chosen file (and, for per-slice formats, the files beside it).
    void Export(CABCExportFileFormat& format, const SExportOptions& options);

private:
    std::unique_ptr<CExporter> fExporter;
    NSDiskKit::CFileSpec fFile;
};

}  // namespace NSQuillet
