#include "app/saving/DocumentSaving.h"

#include "app/document/DocumentLoopFileSettings.h"
#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/lux2/LUX2Writer.h"
#include "foundation/Mishap.h"
#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kLoopFileTypeCode = NSDiskKit::MakeFourCharCode('L', 'U', 'X', '2');

// The whole file goes to a temporary name that replaces `file` only when Close has flushed
// it; a failure or a stop before that removes the temporary file and keeps the old one.
void WriteLoopFile(CQuilletDocument& document, const NSDiskKit::CFileSpec& file,
                   CQuilletLengthyOperation& operation) {
    NSDiskKitSupport::CMediaBridge media(file, kLoopFileTypeCode, NSDiskKit::ECreateMode::kReplaceExisting);
    WriteLoopFileTo(document, media, &operation);
    media.Close();
}

}  // namespace

void WriteLoopFileTo(CQuilletDocument& document, CMedia& media, IProgressReporter* progress) {
    const SLoopFileSettings settings = CaptureLoopFileSettings(document);
    WriteLUX2File(media, document.GetWaveSample(), document.GetSliceSequence(), settings, progress);
}

void SaveDocument(CQuilletDocument& document, CQuilletLengthyOperation& operation) {
    const NSDiskKit::CFileSpec* file = document.GetFileSpec();
    if (document.NeedsSaveAs() || !file)
        throw NSMishap::XStdLogicError("document has no loop file to save in place");
    WriteLoopFile(document, *file, operation);
    document.MarkSaved();
}

void SaveDocumentAs(CQuilletDocument& document, const NSDiskKit::CFileSpec& file,
                    CQuilletLengthyOperation& operation) {
    WriteLoopFile(document, file, operation);
    document.SetFileAndMarkSaved(file);
}

}  // namespace NSQuillet
