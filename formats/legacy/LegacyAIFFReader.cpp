#include "formats/legacy/LegacyAIFFReader.h"

#include <algorithm>
#include <new>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "formats/iff/ExtendedFloat.h"
#include "formats/loopfile/LUX2DecompressCallback.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kCommonSize = 18;
constexpr uint64_t kCommonSizeWithCompression = 22;
constexpr uint64_t kSoundDataHeaderSize = 8;
constexpr uint64_t kInstrumentSize = 20;
constexpr uint16_t kNoLooping = 0;

uint64_t BytesLeft(const CMedia& media) {
    return media.GetPosition() < media.GetSize() ? media.GetSize() - media.GetPosition() : 0;
}

int32_t BytesPerSample(int32_t sampleSize) { return (sampleSize + 7) / 8; }

bool IsTakenSampleSize(int32_t sampleSize) {
    return sampleSize == 8 || sampleSize == 16 || sampleSize == 20 || sampleSize == 22 || sampleSize == 24;
}

struct SMarker {
    uint16_t fId;
    uint32_t fPosition;
};

// Every marker of a MARK body; empty when the body is damaged.
std::vector<SMarker> ReadMarkers(CMedia& body) {
    std::vector<SMarker> markers;
    if (BytesLeft(body) < 2) return {};
    const uint16_t count = ReadU16(body);
    for (uint16_t i = 0; i < count; ++i) {
        // id, position and the name's length byte
        if (BytesLeft(body) < 7) return {};
        SMarker marker{ReadU16(body), ReadU32(body)};
        const uint64_t nameLength = ReadU8(body);
        // The length byte and the characters are padded to an even count.
        const uint64_t skipped = nameLength + ((nameLength + 1) % 2);
        if (BytesLeft(body) < skipped) return {};
        body.Skip(int64_t(skipped));
        markers.push_back(marker);
    }
    return markers;
}

std::optional<uint32_t> MarkerPosition(const std::vector<SMarker>& markers, uint16_t id) {
    for (const SMarker& marker : markers) {
        if (marker.fId == id) return marker.fPosition;
    }
    return std::nullopt;
}

// The conversion buffers of one block, allocated once per read.
struct SBlockBuffers {
    std::vector<uint8_t> fBytes;
    std::vector<int16_t> f16;
    std::vector<int32_t> f24;
};

void StoreBlock(CABCWaveSample& sample, const SAIFFSoundFormat& format, SBlockBuffers& buffers, int32_t start,
                int32_t count) {
    const bool stereo = format.fChannelCount == 2;
    const size_t values = size_t(count) * size_t(format.fChannelCount);
    const uint8_t* in = buffers.fBytes.data();
    if (format.fSampleSize <= 16) {
        int16_t* out = buffers.f16.data();
        for (size_t i = 0; i < values; ++i) {
            if (format.fSampleSize == 8) {
                out[i] = int16_t(int8_t(in[i]) * 256);
            } else {
                out[i] = int16_t((uint16_t(in[2 * i]) << 8) | in[2 * i + 1]);
            }
        }
        if (stereo) {
            sample.SetInterleaved16(start, count, out);
        } else {
            sample.Set16s(start, count, out, 1);
        }
        return;
    }
    int32_t* out = buffers.f24.data();
    for (size_t i = 0; i < values; ++i) {
        // Sign-extended from the top three bytes; the low bits of 20- and 22-bit samples are 0.
        const uint32_t raw = (uint32_t(in[3 * i]) << 24) | (uint32_t(in[3 * i + 1]) << 16) | (uint32_t(in[3 * i + 2]) << 8);
        out[i] = int32_t(raw) / 256;
    }
    if (stereo) {
        sample.SetInterleaved24(start, count, out);
    } else {
        sample.Set24s(start, count, out, 1);
    }
}

}  // namespace

CLegacyAIFFReader::CLegacyAIFFReader(CMedia& media) : fReader(media) {
    if (!fReader.EnterForm(kAIFFFileType)) throw NSMishap::XFormatViolation("");
}

SAIFFSoundFormat CLegacyAIFFReader::ReadFormat() {
    fReader.FindChunk(kAIFFCommonId);
    SLeaveOnExit leave{fReader};
    CMedia& body = fReader.GetMedia();
    if (body.GetSize() < kCommonSize) throw NSMishap::XFormatViolation("COMM chunk too short");
    SAIFFSoundFormat format;
    format.fChannelCount = ReadU16(body);
    format.fFrameCount = ReadU32(body);
    format.fSampleSize = ReadU16(body);
    uint8_t rate[10];
    body.Read(sizeof rate, rate);
    if (body.GetSize() >= kCommonSizeWithCompression && ReadU32(body) != kAIFFNoCompression) {
        throw NSMishap::XUnsupportedFormat("unsupported compression type in COMM chunk");
    }
    const double hertz = ExtendedFloatToDouble(rate);
    if (!(hertz >= 1)) throw NSMishap::XFormatViolation("bad sample rate in COMM chunk");
    format.fSampleRate = hertz >= double(UINT32_MAX) ? UINT32_MAX : uint32_t(hertz);
    return format;
}

std::optional<SAIFFLoopPoints> CLegacyAIFFReader::ReadSustainLoop(uint32_t frameCount) {
    uint16_t playMode = 0;
    uint16_t beginId = 0;
    uint16_t endId = 0;
    {
        if (!fReader.FindOptionalChunk(kAIFFInstrumentId)) return std::nullopt;
        SLeaveOnExit leave{fReader};
        CMedia& body = fReader.GetMedia();
        if (body.GetSize() < kInstrumentSize) return std::nullopt;
        uint8_t notes[6];
        body.Read(sizeof notes, notes);
        const int8_t detune = int8_t(notes[1]);
        const bool valid = notes[0] < 128 && notes[2] < 128 && notes[3] < 128 && notes[4] < 128 && notes[5] < 128 &&
                           detune >= -50 && detune <= 50;
        if (!valid) return std::nullopt;
        ReadU16(body);  // gain
        playMode = ReadU16(body);
        beginId = ReadU16(body);
        endId = ReadU16(body);
    }
    if (playMode == kNoLooping) return std::nullopt;
    if (!fReader.FindOptionalChunk(kAIFFMarkerId)) return std::nullopt;
    SLeaveOnExit leave{fReader};
    const std::vector<SMarker> markers = ReadMarkers(fReader.GetMedia());
    const std::optional<uint32_t> begin = MarkerPosition(markers, beginId);
    const std::optional<uint32_t> end = MarkerPosition(markers, endId);
    if (!begin || !end || *begin >= *end || *end > frameCount) return std::nullopt;
    return SAIFFLoopPoints{*begin, *end};
}

std::unique_ptr<CABCWaveSample> CLegacyAIFFReader::ReadSound(const SAIFFSoundFormat& format,
                                                              CLUX2DecompressCallback* callback) {
    if (format.fSampleSize < 8 || format.fSampleSize > 24) throw NSMishap::XFormatViolation("bad bytes/frame");
    if (!IsTakenSampleSize(format.fSampleSize) || (format.fChannelCount != 1 && format.fChannelCount != 2)) {
        throw NSMishap::XFormatViolation("bad CWaveSampleInfo format");
    }
    if (format.fFrameCount < 1 || format.fFrameCount > uint32_t(INT32_MAX)) {
        throw NSMishap::XFormatViolation("zero or negative # of frames");
    }
    const int32_t frames = int32_t(format.fFrameCount);
    const uint64_t bytesPerFrame = uint64_t(format.fChannelCount) * uint64_t(BytesPerSample(format.fSampleSize));

    fReader.FindChunk(kAIFFSoundDataId);
    SLeaveOnExit leave{fReader};
    CMedia& body = fReader.GetMedia();
    if (body.GetSize() < kSoundDataHeaderSize) throw NSMishap::XFormatViolation("SSND chunk too short for its frames");
    const uint64_t offset = ReadU32(body);
    ReadU32(body);  // block size
    // 64-bit: at most 2^32 + 2^31 × 6 bytes, so nothing here wraps.
    if (body.GetSize() - kSoundDataHeaderSize < offset + uint64_t(frames) * bytesPerFrame) {
        throw NSMishap::XFormatViolation("SSND chunk too short for its frames");
    }
    body.SetPosition(kSoundDataHeaderSize + offset);

    std::unique_ptr<CABCWaveSample> sample;
    if (format.fSampleSize <= 16) {
        sample = std::make_unique<C16BitWaveSample>(format.fSampleRate, frames, format.fChannelCount == 2);
    } else {
        sample = std::make_unique<C24BitWaveSample>(format.fSampleRate, frames, format.fChannelCount == 2);
    }
    SBlockBuffers buffers;
    try {
        const size_t blockValues = size_t(std::min(frames, kFramesPerBlock)) * size_t(format.fChannelCount);
        buffers.fBytes.resize(size_t(std::min(frames, kFramesPerBlock)) * bytesPerFrame);
        if (format.fSampleSize <= 16) {
            buffers.f16.resize(blockValues);
        } else {
            buffers.f24.resize(blockValues);
        }
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for reading the loop file's sound");
    }
    for (int32_t done = 0; done < frames;) {
        if (callback && callback->Progress(done)) throw NSMishap::XAbort("callback cancelled");
        const int32_t count = std::min(frames - done, kFramesPerBlock);
        body.Read(uint64_t(count) * bytesPerFrame, buffers.fBytes.data());
        StoreBlock(*sample, format, buffers, done, count);
        done += count;
    }
    if (callback) callback->Progress(frames);
    return sample;
}

}  // namespace NSQuillet
