#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/WaveSample.h"
#include "formats/media/Media.h"
#include "formats/soundfile/SoundFileInfo.h"
#include "formats/soundfile/SoundFileReader.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

inline const CResourceReference kProgressText_ReadingLoopSamples =
    StringReference(NSStringIds::kProgress_ReadingLoopSamples);
inline const CResourceReference kProgressText_ReadingSecondChannel =
    StringReference(NSStringIds::kProgress_ReadingSecondChannel);

// Shows a progress text ("Reading loop samples…") in whatever shows the progress.
using FProgressText = std::function<void(const std::string& text)>;

// Opening a WAVE or AIFF file by path, step by step, so that a caller may ask its questions
// between the checks and the reading (the long-file question of the editor). User-interface
// thread; every step blocks on the file system.
class CSoundFileOpening {
public:
    // Opens the file, applies the media checks of CSoundFileReader and reads the information.
    // A mono file whose partner by name (FindSplitStereoPartner) is a mono sound file too is
    // the left file of a split stereo pair and remembers its partner; any other file, a stereo
    // one named like a left file included, is opened on its own and its neighbour left unread.
    explicit CSoundFileOpening(const std::string& path);

    const SSoundFileInfo& GetInfo() const { return fInfo; }
    // "" unless this is the left file of a split stereo pair.
    const std::string& GetPartnerPath() const { return fPartnerPath; }
    // The channels of the sample ReadWaveSample gives: 2 for a pair.
    int32_t GetChannelCount() const { return fPartnerPath.empty() ? fInfo.fChannels : 2; }

    // CheckSoundFileInfo on the file; for a pair the partner must agree in sample rate
    // (XUnsupportedFormat "linked stereo files differ in sample rate") and bit depth ("linked
    // stereo files differ in bit depth"). Nothing is read of the audio.
    void CheckInfo();

    // The audio as a new wave sample (CSoundFileReader::ReadWaveSample) with the progress text
    // kProgressText_ReadingLoopSamples, and for a pair the partner as channel 2 with
    // kProgressText_ReadingSecondChannel. A pair whose files differ in length gives the longer
    // length, the shorter channel padded with silence at its end. Call CheckInfo first.
    // `progress` and `showText` may be null. `filling` hears of the reading of a single file
    // (not of a pair, whose sample is put together afterwards).
    std::unique_ptr<CABCWaveSample> ReadWaveSample(IProgressReporter* progress, const FProgressText& showText,
                                                   ISampleFillListener* filling = nullptr);

private:
    void FindMonoPartner(const std::string& path);

    std::shared_ptr<CMedia> fMedia;
    std::unique_ptr<CSoundFileReader> fReader;
    SSoundFileInfo fInfo;
    std::string fPartnerPath;
    SSoundFileInfo fPartnerInfo;
};

// The one entry of the editor and quillet-cli: CSoundFileOpening's steps in order (open, check,
// read). Unsupported information: its alert, then XSilentAbort "invalid sound file info".
std::unique_ptr<CABCWaveSample> OpenSoundFile(const std::string& path, IProgressReporter* progress = nullptr,
                                              const FProgressText& showText = nullptr);
// The same under a lengthy operation, which shows the progress texts.
std::unique_ptr<CABCWaveSample> OpenSoundFile(const std::string& path, CQuilletLengthyOperation& operation);

}  // namespace NSQuillet
