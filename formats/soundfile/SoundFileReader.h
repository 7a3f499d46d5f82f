#pragma once

#include <cstdint>
#include <memory>

#include "engine/SampleFillListener.h"
#include "engine/WaveSample.h"
#include "formats/media/Media.h"
#include "formats/soundfile/SoundFileInfo.h"
#include "foundation/ByteReader.h"
#include "foundation/ProgressReporter.h"
#include "platform/sndkits/IAudioFileDecoder.h"

namespace NSQuillet {

// Reads a WAVE or AIFF file from a media, which must outlive the reader. User-interface thread;
// blocks on the media. Failures of the sound-file libraries come as the failure of their status
// with "error_code" (a damaged header: XFormatViolation "bad sound file header"; compressed
// samples: XUnsupportedFormat; audio shorter than its header: XFormatViolation "couldn't read
// sound file audio").
class CSoundFileReader {
public:
    static constexpr int32_t kFramesPerBlock = 1 << 20;

    // The bytes of 16- and 24-bit PCM read per transfer when they are converted directly.
    static constexpr int32_t kDirectBlockBytes = 1 << 20;

    // How 16- and 24-bit PCM reaches the sample: kDirect reads the file's bytes in large
    // blocks and converts them straight into the sample's channels once the library has
    // checked the header; kLibrary takes the library's 32-bit values, as every other encoding
    // does. Both give the same sample and the same failures.
    enum class EPcmReading { kDirect, kLibrary };

    // Checks the media: fewer than 12 bytes is XFormatViolation "sound file media too short";
    // a first four bytes other than 'RIFF' (WAVE) or 'FORM' (AIFF) XFormatViolation "unkown
    // main chunk types".
    explicit CSoundFileReader(CMedia& media, EPcmReading pcmReading = EPcmReading::kDirect);

    ESoundFileType GetType() const { return fIsAiff ? ESoundFileType::kAiff : ESoundFileType::kWave; }

    // The header's information; reads no audio and checks none of it.
    SSoundFileInfo ReadInfo();

    // The whole audio as a new wave sample, read in blocks of kFramesPerBlock frames with
    // progress 0..1000 after each; Stop is XAbort "user pressed stop". 8-bit audio becomes a
    // 16-bit sample (value x 256, unsigned samples re-centred first), 16-bit a C16BitWaveSample,
    // 24-bit a C24BitWaveSample. Refused: a negative frame count (XFormatViolation "negative # of
    // frames"), none ("# of frames <= 0"), a rate of 0 ("sample rate <= 0"); other than 1 or 2
    // channels (XUnsupportedFormat "unsupported # of channels"), float or a depth other than
    // 8/16/24 ("unsupported bit depth"), more than 2^31 - 1 frames ("too many frames"). Memory
    // running out is the out-of-memory failure. `progress` may be null. `filling`, when given,
    // hears of the new sample and of each block of frames stored, and of a failure before the
    // sample is dropped.
    std::unique_ptr<CABCWaveSample> ReadWaveSample(IProgressReporter* progress, ISampleFillListener* filling = nullptr);

    // Frames stored into the sample so far; -1 before reading.
    int64_t GetPosition() const { return fPosition; }

private:
    template <class TValue>
    void ReadDirect(NSMishap::IByteReader& reader, const NSSoundKits::SPcmLayout& layout, int32_t depth,
                    TValue* left, TValue* right, int32_t frames, IProgressReporter* progress,
                    ISampleFillListener* filling);

    CMedia& fMedia;
    EPcmReading fPcmReading;
    bool fIsAiff;
    int64_t fPosition = -1;
};

// The information of the sound file in `media`, with the media checks of CSoundFileReader.
SSoundFileInfo ReadSoundFileInfo(CMedia& media);

}  // namespace NSQuillet
