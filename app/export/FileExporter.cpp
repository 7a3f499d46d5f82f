#include "app/export/FileExporter.h"

#include "app/document/QuilletDocument.h"

namespace NSQuillet {

CFileExporter::CFileExporter(const CQuilletDocument& document, const NSDiskKit::CFileSpec& file, bool cropToLoop)
    : fExporter(std::make_unique<CExporter>(document.GetSequencer(),
                                            document.GetDocumentParameters().fExportSlicesSeparately, cropToLoop)),
      fFile(file) {}

void CFileExporter::Export(CABCExportFileFormat& format, const SExportOptions& options) {
    format.Export(*fExporter, fFile, options);
}

}  // namespace NSQuillet
