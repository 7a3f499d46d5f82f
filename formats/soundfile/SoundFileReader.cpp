#include "formats/soundfile/SoundFileReader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "formats/media/MediaByteReader.h"
#include "formats/soundfile/AudioKitAccess.h"
#include "foundation/Mishap.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSQuillet {

namespace {

using NSAudioKitAccess::CDecoderPtr;

constexpr uint64_t kMinimumMediaSize = 12;

// The reader lives beside the decoder, which pulls bytes through it.
struct SOpenFile {
    std::unique_ptr<NSMishap::IByteReader> fReader;
    CDecoderPtr fDecoder;
    NSSoundKits::SAudioFileFormat fFormat;
};

SOpenFile Open(CMedia& media, ESoundFileType type) {
    SOpenFile file;
    if (type == ESoundFileType::kWave) {
        file.fReader = std::make_unique<NSRiffAudioKitUtils::CCMediaByteReader>(&media);
    } else {
        file.fReader = std::make_unique<NSAppleAudioKitUtils::CCMediaByteReader>(&media);
    }
    const uint64_t size = media.GetSize();
    if (size > uint64_t(INT64_MAX)) throw NSMishap::XFormatViolation("sound file media too long");
    uint32_t status = NSSoundKits::kSoundKitSuccess;
    file.fDecoder.reset(NSAudioKitAccess::GetAudioKit(type).OpenForReading(file.fReader.get(), int64_t(size), &status));
    NSAudioKitAccess::CheckStatus(type, status, "bad sound file header");
    NSAudioKitAccess::CheckStatus(type, file.fDecoder->GetFormat(&file.fFormat), "bad sound file header");
    return file;
}

template <class TValue>
void Store(CABCWaveSample& sample, int32_t start, int32_t count, const int32_t* interleaved, int32_t channels,
           int32_t shift, std::vector<TValue>& planar) {
    for (int32_t channel = 0; channel < channels; ++channel) {
        for (int32_t i = 0; i < count; ++i) planar[size_t(i)] = TValue(interleaved[size_t(i) * channels + channel] >> shift);
        if constexpr (sizeof(TValue) == 2) {
            sample.Set16s(start, count, planar.data(), channel + 1);
        } else {
            sample.Set24s(start, count, planar.data(), channel + 1);
        }
    }
}

// One stored value as a signed integer of its depth.
template <int kWidth, bool kBigEndian>
inline int32_t Decode(const uint8_t* b) {
    if constexpr (kWidth == 2) {
        return int16_t(uint16_t(kBigEndian ? (b[0] << 8) | b[1] : (b[1] << 8) | b[0]));
    } else {
        const uint32_t high = kBigEndian ? (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8)
                                         : (uint32_t(b[2]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[0]) << 8);
        return int32_t(high) >> 8;
    }
}

template <class TValue, int kWidth, bool kBigEndian>
void Deinterleave(const uint8_t* __restrict bytes, int32_t count, TValue* __restrict left, TValue* __restrict right) {
    if (right) {
        for (int32_t i = 0; i < count; ++i) {
            left[i] = TValue(Decode<kWidth, kBigEndian>(bytes + size_t(i) * (2 * kWidth)));
            right[i] = TValue(Decode<kWidth, kBigEndian>(bytes + size_t(i) * (2 * kWidth) + kWidth));
        }
    } else {
        for (int32_t i = 0; i < count; ++i) left[i] = TValue(Decode<kWidth, kBigEndian>(bytes + size_t(i) * kWidth));
    }
}

template <class TValue, int kWidth>
void Deinterleave(bool bigEndian, const uint8_t* bytes, int32_t count, TValue* left, TValue* right) {
    if (bigEndian) {
        Deinterleave<TValue, kWidth, true>(bytes, count, left, right);
    } else {
        Deinterleave<TValue, kWidth, false>(bytes, count, left, right);
    }
}

}  // namespace

template <class TValue>
void CSoundFileReader::ReadDirect(NSMishap::IByteReader& reader, const NSSoundKits::SPcmLayout& layout,
                                  int32_t depth, TValue* left, TValue* right, int32_t frames,
                                  IProgressReporter* progress, ISampleFillListener* filling) {
    const ESoundFileType type = GetType();
    const int32_t width = depth / 8;
    const int64_t frameBytes = int64_t(width) * (right ? 2 : 1);
    const int32_t blockFrames = int32_t(kDirectBlockBytes / frameBytes);
    const uint64_t size = fMedia.GetSize();
    // Bytes of audio the media holds from frame 0 on.
    const int64_t held = layout.fOffset >= 0 && uint64_t(layout.fOffset) <= size ? int64_t(size - uint64_t(layout.fOffset)) : 0;
    std::vector<uint8_t> block;
    try {
        block.resize(size_t(std::min<int64_t>(blockFrames, frames) * frameBytes));
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for reading sound file");
    }

    fPosition = 0;
    while (fPosition < frames) {
        // Progress comes per kFramesPerBlock frames, as on the library's path.
        const int64_t stepEnd = std::min<int64_t>(fPosition + kFramesPerBlock, frames);
        while (fPosition < stepEnd) {
            const int32_t count = int32_t(std::min<int64_t>(stepEnd - fPosition, blockFrames));
            const int64_t start = fPosition * frameBytes;
            const int64_t bytes = count * frameBytes;
            if (start + bytes > held) NSAudioKitAccess::CheckStatus(type, NSSoundKits::kSoundKitTruncated, "couldn't read sound file audio");
            NSAudioKitAccess::CheckStatus(type, reader.Read(layout.fOffset + start, bytes, block.data()),
                                          "couldn't read sound file audio");
            TValue* const rightAt = right ? right + fPosition : nullptr;
            if (width == 2) {
                Deinterleave<TValue, 2>(layout.fBigEndian, block.data(), count, left + fPosition, rightAt);
            } else {
                Deinterleave<TValue, 3>(layout.fBigEndian, block.data(), count, left + fPosition, rightAt);
            }
            fPosition += count;
            if (filling) filling->FramesFilled(int32_t(fPosition));
        }
        if (progress) {
            progress->Progress(int32_t(fPosition * 1000 / frames));
            ThrowIfStopRequested(*progress);
        }
    }
}

CSoundFileReader::CSoundFileReader(CMedia& media, EPcmReading pcmReading)
    : fMedia(media), fPcmReading(pcmReading), fIsAiff(false) {
    if (fMedia.GetSize() < kMinimumMediaSize) throw NSMishap::XFormatViolation("sound file media too short");
    char magic[4];
    fMedia.ReadAt(0, sizeof magic, magic);
    if (std::memcmp(magic, "FORM", 4) == 0) {
        fIsAiff = true;
    } else if (std::memcmp(magic, "RIFF", 4) != 0) {
        throw NSMishap::XFormatViolation("unkown main chunk types");
    }
}

SSoundFileInfo CSoundFileReader::ReadInfo() {
    const SOpenFile file = Open(fMedia, GetType());
    SSoundFileInfo info;
    info.fType = GetType();
    info.fChannels = file.fFormat.fChannels;
    info.fBitDepth = file.fFormat.fBitDepth;
    info.fSampleRate = file.fFormat.fSampleRate;
    info.fFrames = file.fFormat.fFrames;
    info.fFloat = file.fFormat.fFloat;
    return info;
}

std::unique_ptr<CABCWaveSample> CSoundFileReader::ReadWaveSample(IProgressReporter* progress,
                                                                 ISampleFillListener* filling) {
    const ESoundFileType type = GetType();
    SOpenFile file = Open(fMedia, type);
    const NSSoundKits::SAudioFileFormat& format = file.fFormat;
    if (format.fFrames < 0) throw NSMishap::XFormatViolation("negative # of frames");
    if (format.fFrames == 0) throw NSMishap::XFormatViolation("# of frames <= 0");
    if (format.fChannels != 1 && format.fChannels != 2) throw NSMishap::XUnsupportedFormat("unsupported # of channels");
    if (format.fFloat || (format.fBitDepth != 8 && format.fBitDepth != 16 && format.fBitDepth != 24))
        throw NSMishap::XUnsupportedFormat("unsupported bit depth");
    if (format.fFrames > INT32_MAX) throw NSMishap::XUnsupportedFormat("too many frames");
    if (format.fSampleRate <= 0) throw NSMishap::XFormatViolation("sample rate <= 0");

    const int32_t frames = int32_t(format.fFrames);
    const int32_t channels = format.fChannels;
    const bool stereo = channels == 2;
    const bool wide = format.fBitDepth == 24;
    // Both paths below write every frame or throw, and a throw drops the sample: its buffers
    // need no zero fill.
    std::unique_ptr<CABCWaveSample> sample;
    if (wide) {
        sample = std::make_unique<C24BitWaveSample>(uint32_t(format.fSampleRate), frames, stereo, EInitialValues::kUnset);
    } else {
        sample = std::make_unique<C16BitWaveSample>(uint32_t(format.fSampleRate), frames, stereo, EInitialValues::kUnset);
    }
    // The listener is told of a failure while the sample still exists.
    struct SFillGuard {
        ISampleFillListener* fFilling;
        ~SFillGuard() {
            if (fFilling) fFilling->ReleaseSample();
        }
    } guard{filling};
    if (filling) filling->FillStarted(*sample);

    NSSoundKits::SPcmLayout layout;
    if (fPcmReading == EPcmReading::kDirect && format.fBitDepth != 8 &&
        file.fDecoder->GetPcmLayout(&layout) == NSSoundKits::kSoundKitSuccess) {
        if (wide) {
            auto& wave = static_cast<C24BitWaveSample&>(*sample);
            ReadDirect(*file.fReader, layout, 24, wave.GetChannelValues(1), wave.GetChannelValues(2), frames, progress,
                       filling);
        } else {
            auto& wave = static_cast<C16BitWaveSample&>(*sample);
            ReadDirect(*file.fReader, layout, 16, wave.GetChannelValues(1), wave.GetChannelValues(2), frames, progress,
                       filling);
        }
        guard.fFilling = nullptr;
        return sample;
    }

    const int32_t blockFrames = frames < kFramesPerBlock ? frames : kFramesPerBlock;
    std::vector<int32_t> interleaved;
    std::vector<int16_t> planar16;
    std::vector<int32_t> planar24;
    try {
        interleaved.resize(size_t(blockFrames) * size_t(channels));
        if (wide) {
            planar24.resize(size_t(blockFrames));
        } else {
            planar16.resize(size_t(blockFrames));
        }
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for reading sound file");
    }

    fPosition = 0;
    while (fPosition < frames) {
        const int32_t wanted = int32_t(frames - fPosition < blockFrames ? frames - fPosition : blockFrames);
        int64_t got = 0;
        NSAudioKitAccess::CheckStatus(type, file.fDecoder->ReadFrames(wanted, interleaved.data(), &got),
                                      "couldn't read sound file audio");
        if (got != wanted) NSAudioKitAccess::CheckStatus(type, NSSoundKits::kSoundKitTruncated, "couldn't read sound file audio");
        // Left-justified values: 24-bit ones shift by 8; 8- and 16-bit ones by 16, which is
        // the 8-bit value x 256.
        if (wide) {
            Store(*sample, int32_t(fPosition), wanted, interleaved.data(), channels, 8, planar24);
        } else {
            Store(*sample, int32_t(fPosition), wanted, interleaved.data(), channels, 16, planar16);
        }
        fPosition += wanted;
        if (filling) filling->FramesFilled(int32_t(fPosition));
        if (progress) {
            progress->Progress(int32_t(fPosition * 1000 / frames));
            ThrowIfStopRequested(*progress);
        }
    }
    guard.fFilling = nullptr;
    return sample;
}

SSoundFileInfo ReadSoundFileInfo(CMedia& media) { return CSoundFileReader(media).ReadInfo(); }

}  // namespace NSQuillet
