// Opens the input as a LUX2 loop file and reads every piece of it: settings, shown settings,
// creator info, sound and slices, then the whole file as a loop object. A crash, hang or leak,
// or a failure other than the file's own (format, version, unsupported, out of memory) and the
// codec's "bad format", is a bug.
//
// An input that does not begin with "CAT " edits a valid file made by the writer instead, so
// that the search starts inside the format: its first byte picks one of four sample formats and
// whether the file is cut short, and each further three bytes XOR one byte of the file (a
// 16-bit offset, then the value).

#include <cstdint>
#include <memory>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "formats/lux2/LUX2Writer.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "fuzz/LoopFileFuzzing.h"

namespace {

using namespace NSQuillet;
using NSQuilletFuzz::TBytes;

TBytes WriteValidFile(bool wide, bool stereo) {
    constexpr int32_t kFrames = 48;
    std::unique_ptr<CABCWaveSample> sample;
    if (wide) {
        sample = std::make_unique<C24BitWaveSample>(44100, kFrames, stereo);
    } else {
        sample = std::make_unique<C16BitWaveSample>(44100, kFrames, stereo);
    }
    for (int32_t frame = 0; frame < kFrames; ++frame) {
        sample->Set24(frame, (frame * 7919 % 4001 - 2000) * 1000, 1);
        if (stereo) sample->Set24(frame, (frame * 104729 % 3001 - 1500) * 900, 2);
    }
    CSliceSequence slices(sample.get());
    slices.InsertSlice(CSlice(0, 16384, ESliceKind::kNormal));
    slices.InsertSlice(CSlice(12, 900, ESliceKind::kMuted, true));
    slices.InsertSlice(CSlice(30, 20000, ESliceKind::kLocked));
    SLoopFileSettings settings;
    settings.fLoop.SetBars(1);
    settings.fRightLocator = kFrames;
    COwnedMemoryMedia media;
    WriteLUX2File(media, *sample, slices, settings, nullptr);
    return TBytes(media.GetBytes(), media.GetBytes() + media.GetSize());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TBytes kFiles[4] = {WriteValidFile(false, false), WriteValidFile(false, true),
                                     WriteValidFile(true, false), WriteValidFile(true, true)};
    NSQuilletFuzz::FuzzLoopFile(data, size, "CAT ", kFiles);
    return 0;
}
