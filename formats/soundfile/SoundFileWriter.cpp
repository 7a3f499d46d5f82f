#include "formats/soundfile/SoundFileWriter.h"

#include <cstdint>
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
constexpr const char* kWriteMessage = "couldn't write sound file";

struct SEncoderCloser {
    void operator()(NSSoundKits::IAudioFileEncoder* encoder) const { encoder->Close(); }
};
using CEncoderPtr = std::unique_ptr<NSSoundKits::IAudioFileEncoder, SEncoderCloser>;

}  // namespace

void WriteSoundFile(const CABCWaveSample& sample, CMedia& media, ESoundFileType type, IProgressReporter* progress) {
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
    std::vector<int32_t> interleaved;
    std::vector<int32_t> planar;
    try {
        interleaved.resize(size_t(blockFrames) * size_t(channels));
        planar.resize(size_t(blockFrames));
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for writing sound file");
    }

    uint32_t status = NSSoundKits::kSoundKitSuccess;
    CEncoderPtr encoder(NSAudioKitAccess::GetAudioKit(type).CreateForWriting(writer.get(), encoding, &status));
    check(status);

    // Left-justified for the library: a 24-bit value << 8, a 16-bit one << 16.
    const int32_t shift = wide ? 8 : 16;
    for (int32_t position = 0; position < frames;) {
        const int32_t count = frames - position < blockFrames ? frames - position : blockFrames;
        for (int32_t channel = 0; channel < channels; ++channel) {
            sample.Get24s(position, count, planar.data(), channel + 1);
            // Get24s gives a 16-bit value x 256; the arithmetic shift restores it exactly.
            for (int32_t i = 0; i < count; ++i) {
                const int32_t value = wide ? planar[size_t(i)] : planar[size_t(i)] >> 8;
                interleaved[size_t(i) * channels + channel] = int32_t(uint32_t(value) << shift);
            }
        }
        check(encoder->WriteFrames(count, interleaved.data()));
        position += count;
        if (progress) {
            progress->Progress(int32_t(int64_t(position) * 1000 / frames));
            ThrowIfStopRequested(*progress);
        }
    }
    check(encoder.release()->Close());
}

}  // namespace NSQuillet
