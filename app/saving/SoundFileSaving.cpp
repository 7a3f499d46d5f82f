#include "app/saving/SoundFileSaving.h"

#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/soundfile/SoundFileTypeCode.h"
#include "formats/soundfile/SoundFileWriter.h"

namespace NSQuillet {

namespace {

auto CreateFile(const std::string& path, ESoundFileType type, bool replace) {
    return NSDiskKitSupport::CreateMediaForWriting(
        path, SoundFileTypeCode(type),
        replace ? NSDiskKit::ECreateMode::kReplaceExisting : NSDiskKit::ECreateMode::kCreateNew);
}

}  // namespace

void SaveSoundFile(const std::string& path, ESoundFileType type, const CABCWaveSample& sample, bool replace,
                   IProgressReporter* progress) {
    auto file = CreateFile(path, type, replace);
    WriteSoundFile(sample, *file, type, progress);
    file->Close();
}

void SaveSoundFile(const std::string& path, ESoundFileType type, const CABCWaveSample& sample, bool replace,
                   IProgressReporter* progress, CSampleFillGate& gate) {
    auto file = CreateFile(path, type, replace);
    WriteSoundFile(sample, *file, type, progress, gate);
    file->Close();
}

}  // namespace NSQuillet
