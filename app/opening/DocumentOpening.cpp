#include "app/opening/DocumentOpening.h"

#include <cstdint>
#include <utility>

#include "app/opening/LOPDecompressCallback.h"
#include "app/opening/LongFileQuestion.h"
#include "app/opening/SoundFileInfoCheck.h"
#include "app/opening/SoundFileOpening.h"
#include "app/resources/AlertIds.h"
#include "app/resources/NoteCounters.h"
#include "app/resources/ResourceReference.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/loopfile/QuilletFile.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// A file's audio after the checks and the long-file question, and for a loop file what else
// it carries (its settings, validated before the sound is decoded).
struct SOpenedAudio {
    std::unique_ptr<CABCWaveSample> fSample;
    std::unique_ptr<CQuilletFile> fLoopFile;
    SLoopFileSettings fLoopSettings;
};

// The checks, question and settings of a loop file, up to its sound.
SOpenedAudio OpenLoopFile(std::shared_ptr<CMedia> media) {
    SOpenedAudio opened;
    opened.fLoopFile = std::make_unique<CQuilletFile>(std::move(media));
    const SLoopFileInfo& info = opened.fLoopFile->GetInfo();
    CheckSoundFileInfo(info);
    ConfirmOpeningLongFile(info.fFrameCount, info.fSampleRate);
    opened.fLoopSettings = opened.fLoopFile->ReadSettings();
    return opened;
}

SOpenedAudio ReadLoopFileAudio(std::shared_ptr<CMedia> media, CQuilletLengthyOperation& operation) {
    SOpenedAudio opened = OpenLoopFile(std::move(media));
    operation.SetText(kProgressText_ReadingLoopSamples.GetText());
    CLOPDecompressCallback callback(operation, opened.fLoopFile->GetInfo().fFrameCount);
    opened.fSample = opened.fLoopFile->ReadSound(&callback);
    return opened;
}

SOpenedAudio ReadSoundFileAudio(const std::string& path, CQuilletLengthyOperation& operation,
                                ISampleFillListener* filling) {
    CSoundFileOpening opening(path);
    opening.CheckInfo();
    ConfirmOpeningLongFile(opening.GetInfo().fFrames, opening.GetInfo().fSampleRate);
    SOpenedAudio opened;
    opened.fSample =
        opening.ReadWaveSample(&operation, [&operation](const std::string& text) { operation.SetText(text); }, filling);
    return opened;
}

SOpenedAudio ReadAudio(const std::string& path, CQuilletLengthyOperation& operation,
                       ISampleFillListener* filling = nullptr) {
    std::shared_ptr<CMedia> media = NSDiskKitSupport::OpenMediaForReading(path);
    switch (CQuilletFile::Identify(*media)) {
        case ELoopFileKind::kLUX2:
        case ELoopFileKind::kLUX:
        case ELoopFileKind::kQLT:
            return ReadLoopFileAudio(std::move(media), operation);
        case ELoopFileKind::kNone:
            break;
    }
    media.reset();
    return ReadSoundFileAudio(path, operation, filling);
}

// The notes a legacy file earns once its document is built, each while its counter allows.
void ShowLegacyFileNotes(const CQuilletFile& file) {
    if (file.GetKind() == ELoopFileKind::kQLT && file.GetInfo().fNormalizeOptionOn &&
        GetNoteCounters().MayShow(ENote::kOldNormalizeOption)) {
        ShowAlert(AlertReference(NSAlertIds::kOldNormalizeOption));
    }
    if (file.GetKind() == ELoopFileKind::kLUX && GetNoteCounters().MayShow(ENote::kLuxFile)) {
        ShowAlert(AlertReference(NSAlertIds::kLuxFileNote));
    }
}

}  // namespace

std::unique_ptr<CQuilletDocument> OpenDocument(const std::string& path, const SDocumentSettings& settings,
                                               CQuilletLengthyOperation& operation, const FSliceFinder& findSlices,
                                               ISampleFillListener* filling, int32_t knownTempo) {
    SOpenedAudio opened = ReadAudio(path, operation, filling);
    // Whatever still reads the sample lets go of it before the document takes it or a
    // failure drops it.
    struct SReleaseGuard {
        ISampleFillListener* fFilling;
        ~SReleaseGuard() {
            if (fFilling) fFilling->ReleaseSample();
        }
    } guard{filling && !opened.fLoopFile ? filling : nullptr};
    std::unique_ptr<CSliceSequence> slices;
    if (opened.fLoopFile) {
        slices = std::make_unique<CSliceSequence>(opened.fSample.get());
        opened.fLoopFile->ReadSlices(*slices);
    } else if (findSlices) {
        if (!opened.fSample->HasPreview()) opened.fSample->BuildPreview();
        slices = findSlices(*opened.fSample);
    }
    const NSDiskKit::CFileSpec file = NSDiskKit::CFileSpec::FromPath(path);
    if (!opened.fLoopFile) {
        if (guard.fFilling) guard.fFilling->ReleaseSample();
        guard.fFilling = nullptr;
        return std::make_unique<CQuilletDocument>(std::move(opened.fSample), file, settings, knownTempo,
                                                   std::move(slices));
    }
    auto document = std::make_unique<CQuilletDocument>(std::move(opened.fSample), file, settings, std::move(slices),
                                                       opened.fLoopSettings);
    ShowLegacyFileNotes(*opened.fLoopFile);
    return document;
}

std::unique_ptr<CABCWaveSample> OpenAudio(const std::string& path, CQuilletLengthyOperation& operation) {
    return ReadAudio(path, operation).fSample;
}

bool IsLoopFile(const std::string& path) {
    const std::shared_ptr<CMedia> media = NSDiskKitSupport::OpenMediaForReading(path);
    return CQuilletFile::Identify(*media) != ELoopFileKind::kNone;
}

SAudioToDecode OpenAudioToDecode(const std::string& path, CQuilletLengthyOperation& operation) {
    std::shared_ptr<CMedia> media = NSDiskKitSupport::OpenMediaForReading(path);
    SAudioToDecode audio;
    if (CQuilletFile::Identify(*media) != ELoopFileKind::kLUX2) {
        media.reset();
        audio.fSample = ReadAudio(path, operation).fSample;
        return audio;
    }
    std::shared_ptr<const CQuilletFile> file = OpenLoopFile(std::move(media)).fLoopFile;
    audio.fSample = file->CreateSoundSample();
    CABCWaveSample* sample = audio.fSample.get();
    audio.fDecode = [file, sample](CLUX2DecompressCallback* callback) { file->DecodeSound(*sample, callback); };
    return audio;
}

}  // namespace NSQuillet
