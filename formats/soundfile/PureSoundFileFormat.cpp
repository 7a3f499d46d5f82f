#include "formats/soundfile/PureSoundFileFormat.h"

#include <algorithm>

#include "engine/Exporter.h"
#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/export/ExportFileNames.h"
#include "formats/export/ExportSliceRendering.h"
#include "formats/export/ExportStepProgress.h"
#include "formats/export/ReplaceConsent.h"
#include "formats/soundfile/SoundFileTypeCode.h"
#include "formats/soundfile/SoundFileWriter.h"

namespace NSQuillet {

CABCPureSoundFileFormat::CABCPureSoundFileFormat(ESoundFileType type) : fType(type) {
    for (uint32_t rate : {11025u, 22050u, 32000u, 44100u, 48000u, 88200u, 96000u}) AddSampleRate(rate);
    AddBitDepth(16);
    AddBitDepth(24);
}

void CABCPureSoundFileFormat::Export(CExporter& exporter, const NSDiskKit::CFileSpec& target,
                                     const SExportOptions& options) {
    WriteSliceFiles(exporter, target, options);
}

std::vector<std::string> CABCPureSoundFileFormat::WriteSliceFiles(CExporter& exporter,
                                                                  const NSDiskKit::CFileSpec& target,
                                                                  const SExportOptions& options,
                                                                  size_t maximumStemLength) {
    CReplaceConsent& consent = RequireReplaceConsent(options);
    const int32_t count = ExportedSliceCount(exporter, options);
    std::vector<std::string> names;
    names.reserve(size_t(std::max(count, 0)));
    for (int32_t index = 0; index < count; ++index) {
        if (options.fProgress) ThrowIfStopRequested(*options.fProgress);
        const std::string name = exporter.IsSliceMode()
                                     ? SliceFileName(target.GetName(), index, GetExtension(), maximumStemLength)
                                     : target.GetName();
        const NSDiskKit::CFileSpec file(target.GetFolder(), name);
        consent.CheckMayWrite(file);
        CExportStepProgress progress(options.fProgress, index, count);
        WriteSlice(exporter, index, file, options, &progress);
        names.push_back(name);
    }
    return names;
}

void CABCPureSoundFileFormat::WriteSlice(CExporter& exporter, int32_t index, const NSDiskKit::CFileSpec& file,
                                         const SExportOptions& options, IProgressReporter* progress) {
    std::unique_ptr<CABCWaveSample> sample = RenderExportSlice(exporter, index, options.fSampleRate, options.fBitDepth);
    NSDiskKitSupport::CMediaBridge media(file, SoundFileTypeCode(fType), NSDiskKit::ECreateMode::kReplaceExisting);
    WriteSoundFile(*sample, media, fType, progress);
    media.Close();
}

void CABCPureSoundFileFormat::WriteSliceTo(CExporter& exporter, int32_t index, CMedia& media,
                                           const SExportOptions& options, IProgressReporter* progress) {
    std::unique_ptr<CABCWaveSample> sample = RenderExportSlice(exporter, index, options.fSampleRate, options.fBitDepth);
    WriteSoundFile(*sample, media, fType, progress);
}

}  // namespace NSQuillet
