#include "formats/soundfile/SoundFileWriter.h"

#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include "formats/media/MediaByteWriter.h"
#include "formats/soundfile/AudioKitAccess.h"
#include "foundation/Mishap.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSQuillet {

namespace {

constexpr int32_t kFramesPerBlock = 1 << 16;
// Frames taken from the sample's channels at a time, so that the planes stay in the cache
// while they are interleaved.
constexpr int32_t kFramesPerPiece = 2048;
constexpr const char* kWriteMessage = "couldn't write sound file";

struct SEncoderCloser {
    void operator()(NSSoundKits::IAudioFileEncoder* encoder) const { encoder->Close(); }
};
using CEncoderPtr = std::unique_ptr<NSSoundKits::IAudioFileEncoder, SEncoderCloser>;

template <bool kBigEndian>
inline void Store16(uint8_t* out, int32_t value) {
    const uint16_t v = uint16_t(value);
    out[kBigEndian ? 1 : 0] = uint8_t(v);
    out[kBigEndian ? 0 : 1] = uint8_t(v >> 8);
}

template <bool kBigEndian>
inline void Store24(uint8_t* out, int32_t value) {
    const uint32_t v = uint32_t(value);
    out[kBigEndian ? 2 : 0] = uint8_t(v);
    out[1] = uint8_t(v >> 8);
    out[kBigEndian ? 0 : 2] = uint8_t(v >> 16);
}

// The planes of the frames being written, one piece at a time.
struct SPlanes {
    std::vector<int16_t> f16;
    std::vector<int32_t> f32;
};

// `count` frames from `start` of every channel into `out` in the file's layout: interleaved,
// 16-bit values (a 24-bit sound's shifted right by 8) or 24-bit ones, in the file's byte order.
template <bool kWide, bool kBigEndian>
void Interleave(const CABCWaveSample& sample, int32_t start, int32_t count, SPlanes& planes, uint8_t* out) {
    const int32_t channels = sample.GetChannelCount();
    constexpr int kBytes = kWide ? 3 : 2;
    for (int32_t done = 0; done < count;) {
        const int32_t piece = count - done < kFramesPerPiece ? count - done : kFramesPerPiece;
        for (int32_t channel = 0; channel < channels; ++channel) {
            if constexpr (kWide) {
                sample.Get24s(start + done, piece, planes.f32.data() + size_t(channel) * kFramesPerPiece, channel + 1);
            } else {
                sample.Get16s(start + done, piece, planes.f16.data() + size_t(channel) * kFramesPerPiece, channel + 1);
            }
        }
        for (int32_t channel = 0; channel < channels; ++channel) {
            uint8_t* to = out + size_t(done) * size_t(channels) * kBytes + size_t(channel) * kBytes;
            const size_t stride = size_t(channels) * kBytes;
            if constexpr (kWide) {
                const int32_t* from = planes.f32.data() + size_t(channel) * kFramesPerPiece;
                for (int32_t i = 0; i < piece; ++i, to += stride) Store24<kBigEndian>(to, from[i]);
            } else {
                const int16_t* from = planes.f16.data() + size_t(channel) * kFramesPerPiece;
                for (int32_t i = 0; i < piece; ++i, to += stride) Store16<kBigEndian>(to, from[i]);
            }
        }
        done += piece;
    }
}

void InterleaveForFile(const CABCWaveSample& sample, int32_t start, int32_t count, bool bigEndian, SPlanes& planes,
                       uint8_t* out) {
    const bool wide = sample.GetBitDepth() == 24;
    if (wide && bigEndian) return Interleave<true, true>(sample, start, count, planes, out);
    if (wide) return Interleave<true, false>(sample, start, count, planes, out);
    if (bigEndian) return Interleave<false, true>(sample, start, count, planes, out);
    Interleave<false, false>(sample, start, count, planes, out);
}

}  // namespace

void WriteSoundFile(const CABCWaveSample& sample, CMedia& media, ESoundFileType type, IProgressReporter* progress,
                    CSampleFillGate* gate) {
    if (sample.GetSampleRate() > uint32_t(INT32_MAX)) throw NSMishap::XStdInvalidArgument("sample rate out of range");
    const int32_t frames = sample.GetFrameCount();
    const int32_t channels = sample.GetChannelCount();
    const bool wide = sample.GetBitDepth() == 24;

    NSSoundKits::SAudioEncoding encoding;
    encoding.fChannels = channels;
    encoding.fSampleRate = int32_t(sample.GetSampleRate());
    encoding.fBitDepth = sample.GetBitDepth();
    encoding.fFrames = frames;
    if (sample.IsLoopSet() && sample.GetLeftLocator() >= 0 && sample.GetLeftLocator() < sample.GetRightLocator() &&
        sample.GetRightLocator() <= frames) {
        encoding.fHasLoop = true;
        encoding.fLoopStart = sample.GetLeftLocator();
        encoding.fLoopEnd = sample.GetRightLocator();
    }

    // A library status that follows a failure of the media raises the media's own failure.
    std::exception_ptr mediaFailure;
    std::unique_ptr<NSMishap::IByteWriter> writer;
    if (type == ESoundFileType::kWave) {
        writer = std::make_unique<NSRiffAudioKitUtils::CCMediaByteWriter>(&media, &mediaFailure);
    } else {
        writer = std::make_unique<NSAppleAudioKitUtils::CCMediaByteWriter>(&media, &mediaFailure);
    }
    const auto check = [&](uint32_t status) {
        if (status != NSSoundKits::kSoundKitSuccess && mediaFailure) std::rethrow_exception(mediaFailure);
        NSAudioKitAccess::CheckStatus(type, status, kWriteMessage);
    };
    const int32_t blockFrames = frames < kFramesPerBlock ? frames : kFramesPerBlock;
    const size_t frameBytes = size_t(channels) * (wide ? 3 : 2);
    std::vector<uint8_t> bytes;
    SPlanes planes;
    try {
        bytes.resize(size_t(blockFrames) * frameBytes);
        if (wide) {
            planes.f32.resize(size_t(kFramesPerPiece) * size_t(channels));
        } else {
            planes.f16.resize(size_t(kFramesPerPiece) * size_t(channels));
        }
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for writing sound file");
    }

    uint32_t status = NSSoundKits::kSoundKitSuccess;
    CEncoderPtr encoder(NSAudioKitAccess::GetAudioKit(type).CreateForWriting(writer.get(), encoding, &status));
    check(status);

    // WAVE holds little-endian samples, AIFF big-endian ones.
    const bool bigEndian = type != ESoundFileType::kWave;
    for (int32_t position = 0; position < frames;) {
        const int32_t count = frames - position < blockFrames ? frames - position : blockFrames;
        if (gate) gate->WaitFor(int64_t(position) + count);
        InterleaveForFile(sample, position, count, bigEndian, planes, bytes.data());
        check(encoder->WriteRawFrames(count, bytes.data()));
        position += count;
        if (progress) {
            progress->Progress(int32_t(int64_t(position) * 1000 / frames));
            ThrowIfStopRequested(*progress);
        }
    }
    check(encoder.release()->Close());
}

}  // namespace NSQuillet
