#include "app/DocumentOpening.h"

#include <cstdint>
#include <utility>

#include "app/LOPDecompressCallback.h"
#include "app/LongFileQuestion.h"
#include "app/SoundFileInfoCheck.h"
#include "app/SoundFileOpening.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "formats/FileMediaAccess.h"
#include "formats/QuilletFile.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

std::unique_ptr<CQuilletDocument> OpenLoopFile(const std::string& path, std::shared_ptr<CMedia> media,
                                               const SDocumentSettings& settings,
                                               CQuilletLengthyOperation& operation) {
    const CQuilletFile file(std::move(media));
    const SLoopFileInfo& info = file.GetInfo();
    CheckSoundFileInfo(info);
    ConfirmOpeningLongFile(info.fFrameCount, info.fSampleRate);

    const SLoopFileSettings loop = file.ReadSettings();
    operation.SetText(kProgressText_ReadingLoopSamples.GetText());
    CLOPDecompressCallback callback(operation, info.fFrameCount);
    std::unique_ptr<CABCWaveSample> sample = file.ReadSound(&callback);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    file.ReadSlices(*slices);

    auto document = std::make_unique<CQuilletDocument>(std::move(sample), NSDiskKit::CFileSpec::FromPath(path),
                                                       settings, 0, std::move(slices));
    document->AdoptLoopFileSettings(loop);
    return document;
}

std::unique_ptr<CQuilletDocument> OpenSoundFileDocument(const std::string& path, const SDocumentSettings& settings,
                                                        CQuilletLengthyOperation& operation,
                                                        const FSliceFinder& findSlices) {
    CSoundFileOpening opening(path);
    opening.CheckInfo();
    ConfirmOpeningLongFile(opening.GetInfo().fFrames, opening.GetInfo().fSampleRate);
    std::unique_ptr<CABCWaveSample> sample =
        opening.ReadWaveSample(&operation, [&operation](const std::string& text) { operation.SetText(text); });
    std::unique_ptr<CSliceSequence> slices;
    if (findSlices) {
        if (!sample->HasPreview()) sample->BuildPreview();
        slices = findSlices(*sample);
    }
    return std::make_unique<CQuilletDocument>(std::move(sample), NSDiskKit::CFileSpec::FromPath(path), settings, 0,
                                              std::move(slices));
}

}  // namespace

std::unique_ptr<CQuilletDocument> OpenDocument(const std::string& path, const SDocumentSettings& settings,
                                               CQuilletLengthyOperation& operation, const FSliceFinder& findSlices) {
    std::shared_ptr<CMedia> media = NSDiskKitSupport::OpenMediaForReading(path);
    switch (CQuilletFile::Identify(*media)) {
        case ELoopFileKind::kLUX2:
            return OpenLoopFile(path, std::move(media), settings, operation);
        case ELoopFileKind::kLUX:
        case ELoopFileKind::kQLT:
            throw NSMishap::XUnsupportedFormat("legacy loop files cannot be opened yet");
        case ELoopFileKind::kNone:
            break;
    }
    media.reset();
    return OpenSoundFileDocument(path, settings, operation, findSlices);
}

}  // namespace NSQuillet
