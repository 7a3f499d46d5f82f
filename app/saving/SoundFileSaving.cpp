#include "app/saving/SoundFileSaving.h"

#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/soundfile/SoundFileTypeCode.h"
#include "formats/soundfile/SoundFileWriter.h"

namespace NSQuillet {

void SaveSoundFile(const std::string& path, ESoundFileType type, const CABCWaveSample& sample, bool replace,
                   IProgressReporter* progress, CSampleFillGate* gate) {
    auto file = NSDiskKitSupport::CreateMediaForWriting(
        path, SoundFileTypeCode(type),
        replace ? NSDiskKit::ECreateMode::kReplaceExisting : NSDiskKit::ECreateMode::kCreateNew);
    WriteSoundFile(sample, *file, type, progress, gate);
    file->Close();
}

}  // namespace NSQuillet
