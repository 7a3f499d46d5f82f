#include "formats/soundfile/PureSoundFileFormat.h"

#include <optional>

#include "engine/Exporter.h"
#include "formats/diskkitsupport/FileBatch.h"
#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/export/ExportFileNames.h"
#include "formats/export/ExportSliceQueue.h"
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
    if (count <= 0) return names;
    names.reserve(size_t(count));
    std::optional<CExportSliceQueue> slices(std::in_place, exporter, count, options.fSampleRate, options.fBitDepth);
    // Every file waits under a temporary name until all are written; then one flush makes them
    // durable together and they take their names.
    std::optional<NSDiskKitSupport::CFileBatch> batch;
    try {
        for (int32_t index = 0; index < count; ++index) {
            if (options.fProgress) ThrowIfStopRequested(*options.fProgress);
            const std::string name = exporter.IsSliceMode()
                                         ? SliceFileName(target.GetName(), index, GetExtension(), maximumStemLength)
                                         : target.GetName();
            const NSDiskKit::CFileSpec file(target.GetFolder(), name);
            consent.CheckMayWrite(file);
            CExportStepProgress progress(options.fProgress, index, count);
            const std::unique_ptr<CABCWaveSample> sample = slices->Take(index);
            NSDiskKitSupport::CMediaBridge media(file, SoundFileTypeCode(fType), NSDiskKit::ECreateMode::kReplaceExisting);
            if (!batch) batch.emplace(target.GetFolder());
            WriteSoundFile(*sample, media, fType, &progress);
            batch->Add(media);
            names.push_back(name);
        }
    } catch (...) {
        // The files finished before the failure keep their names; the failure is the one reported.
        slices.reset();
        if (batch) {
            try {
                batch->Close();
            } catch (...) {
            }
        }
        throw;
    }
    slices.reset();
    batch->Close();
    return names;
}

void CABCPureSoundFileFormat::WriteSliceTo(CExporter& exporter, int32_t index, CMedia& media,
                                           const SExportOptions& options, IProgressReporter* progress) {
    std::unique_ptr<CABCWaveSample> sample = RenderExportSlice(exporter, index, options.fSampleRate, options.fBitDepth);
    WriteSoundFile(*sample, media, fType, progress);
}

}  // namespace NSQuillet
