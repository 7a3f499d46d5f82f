#include "app/opening/SoundFileOpening.h"

#include <vector>

#include "app/opening/SoundFileInfoCheck.h"
#include "app/opening/SplitStereoPair.h"
#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "formats/diskkitsupport/FileMediaAccess.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// A copy of `sample`'s channel 1 with `frames` frames, silent past the original's end.
std::unique_ptr<CABCWaveSample> ExtendedMono(const CABCWaveSample& sample, int32_t frames) {
    std::unique_ptr<CABCWaveSample> longer;
    if (sample.GetBitDepth() == 24) {
        longer = std::make_unique<C24BitWaveSample>(sample.GetSampleRate(), frames, false);
    } else {
        longer = std::make_unique<C16BitWaveSample>(sample.GetSampleRate(), frames, false);
    }
    std::vector<int32_t> values;
    try {
        values.resize(size_t(sample.GetFrameCount()));
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for linked stereo file");
    }
    // The 24-bit scale holds a 16-bit value exactly (x 256).
    sample.Get24s(0, sample.GetFrameCount(), values.data(), 1);
    longer->Set24s(0, sample.GetFrameCount(), values.data(), 1);
    return longer;
}

void Show(const FProgressText& showText, const std::string& text) {
    if (showText) showText(text);
}

}  // namespace

CSoundFileOpening::CSoundFileOpening(const std::string& path)
    : fMedia(NSDiskKitSupport::OpenMediaForReading(path)),
      fReader(std::make_unique<CSoundFileReader>(*fMedia)),
      fInfo(fReader->ReadInfo()) {
    FindMonoPartner(path);
}

void CSoundFileOpening::FindMonoPartner(const std::string& path) {
    if (fInfo.fChannels != 1) return;
    std::string partnerPath = FindSplitStereoPartner(path);
    if (partnerPath.empty()) return;
    // A partner that cannot be read fails the opening, as reading it as channel 2 would.
    const auto partnerMedia = NSDiskKitSupport::OpenMediaForReading(partnerPath);
    const SSoundFileInfo partner = ReadSoundFileInfo(*partnerMedia);
    if (partner.fChannels != 1) return;
    fPartnerPath = std::move(partnerPath);
    fPartnerInfo = partner;
}

void CSoundFileOpening::CheckInfo() {
    CheckSoundFileInfo(fInfo);
    if (fPartnerPath.empty()) return;
    if (fPartnerInfo.fSampleRate != fInfo.fSampleRate)
        throw NSMishap::XUnsupportedFormat("linked stereo files differ in sample rate");
    if (fPartnerInfo.fBitDepth != fInfo.fBitDepth || fPartnerInfo.fFloat != fInfo.fFloat)
        throw NSMishap::XUnsupportedFormat("linked stereo files differ in bit depth");
}

std::unique_ptr<CABCWaveSample> CSoundFileOpening::ReadWaveSample(IProgressReporter* progress,
                                                                  const FProgressText& showText,
                                                                  ISampleFillListener* filling) {
    Show(showText, kProgressText_ReadingLoopSamples.GetText());
    if (fPartnerPath.empty()) return fReader->ReadWaveSample(progress, filling);
    auto left = fReader->ReadWaveSample(progress);

    Show(showText, kProgressText_ReadingSecondChannel.GetText());
    const auto partnerMedia = NSDiskKitSupport::OpenMediaForReading(fPartnerPath);
    CSoundFileReader partnerReader(*partnerMedia);
    auto right = partnerReader.ReadWaveSample(progress);
    // The partner may have changed since CheckInfo.
    if (right->IsStereo() || right->GetSampleRate() != left->GetSampleRate() ||
        right->GetBitDepth() != left->GetBitDepth())
        throw NSMishap::XUnsupportedFormat("linked stereo files differ");
    if (right->GetFrameCount() < left->GetFrameCount()) right = ExtendedMono(*right, left->GetFrameCount());
    if (left->GetFrameCount() < right->GetFrameCount()) left = ExtendedMono(*left, right->GetFrameCount());
    left->AddChannelFrom(*right, 2);
    return left;
}

std::unique_ptr<CABCWaveSample> OpenSoundFile(const std::string& path, IProgressReporter* progress,
                                              const FProgressText& showText) {
    CSoundFileOpening opening(path);
    opening.CheckInfo();
    return opening.ReadWaveSample(progress, showText);
}

std::unique_ptr<CABCWaveSample> OpenSoundFile(const std::string& path, CQuilletLengthyOperation& operation) {
    return OpenSoundFile(path, &operation, [&operation](const std::string& text) { operation.SetText(text); });
}

}  // namespace NSQuillet
