#include "formats/legacy/LUXApplicationBlock.h"

#include <algorithm>

#include "engine/LoopSettings.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kBytesPerFrame = 2;

[[noreturn]] void ThrowUnreadable() { throw NSMishap::XFormatViolation("can't read app specific chunk"); }

}  // namespace

CLUXApplicationBlock::CLUXApplicationBlock(CMedia* chunk) {
    if (!chunk) ThrowUnreadable();
    CMedia& body = *chunk;
    const uint64_t readable = std::min(body.GetSize(), kReadLimit);
    if (readable < kHeaderSize) ThrowUnreadable();
    if (ReadU32(body) != kSignature) throw NSMishap::XFormatViolation("bad app signature for app-specific chunk");
    if (ReadU32(body) != kMagic) throw NSMishap::XFormatViolation("bad magic number in app specific chunk");
    fMajorVersion = ReadU8(body);
    fMinorVersion = ReadU8(body);
    if (fMajorVersion != kMajorVersion) throw NSMishap::XFormatViolation("incompatible version in app specific chunk");
    fLoopTicks = ReadU32(body);
    const int16_t count = int16_t(ReadU16(body));
    fTempo = ReadU32(body);
    if (count <= 0) throw NSMishap::XFormatViolation("zero or negativ slice count in app specific chunk");
    if ((readable - kHeaderSize) / kEntrySize < uint64_t(count)) ThrowUnreadable();
    body.SetPosition(kHeaderSize);
    fEntries.resize(size_t(count));
    for (SLUXSliceEntry& entry : fEntries) {
        entry.fOffset = ReadU32(body);
        entry.fLength = ReadU32(body);
        entry.fSliceNumber = ReadU32(body);
    }
}

int32_t CLUXApplicationBlock::GetBars() const {
    return int32_t(fLoopTicks / uint32_t(kTicksPerBeat * kBeatsPerBar));
}

int32_t CLUXApplicationBlock::GetBeats() const { return int32_t(fLoopTicks / uint32_t(kTicksPerBeat) % kBeatsPerBar); }

int32_t CLUXApplicationBlock::GetTempo() const {
    return int32_t(CLoopSettings::kPreviewTempoRange.Clamp(fTempo));
}

uint64_t CLUXApplicationBlock::GetExportedSize() const {
    uint64_t size = 0;
    for (const SLUXSliceEntry& entry : fEntries) size += entry.fLength;
    return size;
}

std::vector<SLUXSlice> CLUXApplicationBlock::GetSlices() const {
    std::vector<SLUXSlice> slices;
    for (size_t i = 0; i < fEntries.size(); ++i) {
        if (i > 0 && fEntries[i].fSliceNumber == fEntries[i - 1].fSliceNumber) {
            slices.back().fBytes += fEntries[i].fLength;
        } else {
            slices.push_back({int32_t(fEntries[i].fOffset / kBytesPerFrame), fEntries[i].fLength});
        }
    }
    return slices;
}

}  // namespace NSQuillet
