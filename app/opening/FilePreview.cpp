#include "app/opening/FilePreview.h"

#include <cstdint>

#include "app/opening/SoundFileInfoCheck.h"
#include "app/opening/SoundFileOpening.h"
#include "engine/LUXObject.h"
#include "engine/WavePlayer.h"
#include "engine/WaveSample.h"
#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/loopfile/LUXObjectReading.h"
#include "formats/loopfile/QuilletFile.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

class CStoppableReading final : public IProgressReporter {
public:
    explicit CStoppableReading(const CFilePreview::FStopRequested& stop) : fStop(stop) {}
    void Progress(int32_t) override {}
    bool IsStopRequested() const override { return fStop && fStop(); }

private:
    const CFilePreview::FStopRequested& fStop;
};

class CStoppableDecoding final : public CLUX2DecompressCallback {
public:
    explicit CStoppableDecoding(const CFilePreview::FStopRequested& stop) : fStop(stop) {}
    bool Progress(int64_t) override { return fStop && fStop(); }

private:
    const CFilePreview::FStopRequested& fStop;
};

}  // namespace

CFilePreview::~CFilePreview() = default;

std::unique_ptr<CFilePreview> CFilePreview::Read(const std::string& path, const FStopRequested& stop) {
    std::unique_ptr<CFilePreview> preview(new CFilePreview);
    std::shared_ptr<CMedia> media = NSDiskKitSupport::OpenMediaForReading(path);
    if (CQuilletFile::Identify(*media) != ELoopFileKind::kNone) {
        CStoppableDecoding decoding(stop);
        preview->fLoop = ReadLUXObject(std::move(media), &decoding);
        return preview;
    }
    media.reset();
    CSoundFileOpening opening(path);
    SSoundFileInfo checked = opening.GetInfo();
    checked.fChannels = opening.GetChannelCount();
    if (FindSoundFileInfoRefusal(checked) != ESoundFileInfoRefusal::kNone)
        throw NSMishap::XUnsupportedFormat("sound file format not supported");
    CStoppableReading reading(stop);
    preview->fSample = opening.ReadWaveSample(&reading, nullptr);
    return preview;
}

bool CFilePreview::Play(CWavePlayer& player, IWavePlayerListener* listener) {
    if (fLoop) return player.PlayLoopObject(fLoop.get(), listener);
    return player.PlaySample(fSample.get(), listener);
}

}  // namespace NSQuillet
