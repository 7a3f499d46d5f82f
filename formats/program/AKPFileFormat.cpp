#include "formats/program/AKPFileFormat.h"

#include <vector>

#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/export/ExportFileNames.h"
#include "formats/export/ReplaceConsent.h"
#include "formats/program/AKPProgramWriter.h"
#include "foundation/ProgressReporter.h"
#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kProgramTypeCode = NSDiskKit::MakeFourCharCode('A', 'K', 'P', 'p');

}  // namespace

CAKPFileFormat::CAKPFileFormat() {
    for (uint32_t rate : {11025u, 22050u, 32000u, 44100u, 48000u}) AddSampleRate(rate);
    AddBitDepth(16);
}

int32_t CAKPFileFormat::GetMaximumSliceCount(int32_t baseNote) const { return KeyRangeSliceLimit(baseNote); }

void CAKPFileFormat::Export(CExporter& exporter, const NSDiskKit::CFileSpec& target, const SExportOptions& options) {
    // The slices first, as the program names them; the program is written last, so a program
    // on disk always finds its slices.
    RequireReplaceConsent(options).CheckMayWrite(target);
    const std::vector<std::string> names = fSliceFormat.WriteSliceFiles(exporter, target, options, kZoneNameLength);

    std::vector<SAKPKeygroup> keygroups;
    keygroups.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        keygroups.push_back(SAKPKeygroup{(options.fBaseNote + int32_t(i)) % 256, NameWithoutExtension(names[i])});
    if (options.fProgress) ThrowIfStopRequested(*options.fProgress);
    NSDiskKitSupport::CMediaBridge media(target, kProgramTypeCode, NSDiskKit::ECreateMode::kReplaceExisting);
    WriteAKPProgram(media, keygroups);
    media.Close();
}

}  // namespace NSQuillet
