#include "formats/midi/MIDIFileFormat.h"

#include <algorithm>

#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/export/ReplaceConsent.h"
#include "formats/midi/MIDIFileExport.h"
#include "foundation/ProgressReporter.h"
#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kMIDIFileTypeCode = NSDiskKit::MakeFourCharCode('M', 'i', 'd', 'i');

}  // namespace

int32_t CMIDIFileFormat::GetMaximumSliceCount(int32_t baseNote) const { return KeyRangeSliceLimit(baseNote); }

void CMIDIFileFormat::Export(CExporter& exporter, const NSDiskKit::CFileSpec& target, const SExportOptions& options) {
    RequireReplaceConsent(options).CheckMayWrite(target);
    NSDiskKitSupport::CMediaBridge media(target, kMIDIFileTypeCode, NSDiskKit::ECreateMode::kReplaceExisting);
    WriteTo(exporter, media, options);
    if (options.fProgress) ThrowIfStopRequested(*options.fProgress);
    media.Close();
    if (options.fProgress) options.fProgress->Progress(1000);
}

void CMIDIFileFormat::WriteTo(CExporter& exporter, CMedia& media, const SExportOptions& options) {
    const SMIDILoop loop = DescribeMIDILoop(exporter);
    // Written beside slice files of a format without a limit, the file still plays only the
    // slices that have notes.
    const int32_t count = std::min(ExportedSliceCount(exporter, options), GetMaximumSliceCount(options.fBaseNote));
    WriteMIDIFile(loop, media, options.fBaseNote, count, options.fLoopName);
}

}  // namespace NSQuillet
