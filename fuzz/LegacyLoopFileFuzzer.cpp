// Opens the input as a LUX or QLT loop file and reads every piece of it: settings, shown
// settings, creator info, sound and slices, then the whole file as a loop object. A crash, hang
// or leak, or a failure other than the file's own (format, unsupported, abort, out of memory),
// is a bug.
//
// An input that does not begin with "FORM" edits a valid file built from the layout instead, so
// that the search starts inside the format: its first byte picks a LUX or a QLT file (with or
// without an instrument loop) and whether it is cut short, and each further three bytes XOR one
// byte of the file (a 16-bit offset, then the value).

#include <cstdint>
#include <vector>

#include "fuzz/LoopFileFuzzing.h"
#include "tests/formats/legacy/LegacyLoopFileBuilder.h"

namespace {

using namespace NSQuilletTest::NSLegacyLoopFile;

constexpr uint32_t kFrames = 64;

TBytes MakeLUXFile(bool withLoop) {
    SLUXBlock block;
    block.fLoopTicks = 3840 + 960;
    block.fEntries = {{0, 40, 1}, {40, 24, 1}, {64, 64, 2}};
    std::vector<TBytes> extra;
    if (withLoop) {
        extra = {Chunk("INST", InstrumentBody(1, 1, 2)), Chunk("MARK", MarkerBody({{1, 8, "a"}, {2, 60, "bc"}}))};
    }
    return LoopFile(kFrames, LUXBlockBody(block), extra);
}

TBytes MakeQLTFile(bool normalize) {
    SQLTBlock block;
    block.fNormalize = normalize ? 1 : 0;
    block.fLoopStart = 4;
    block.fLoopEnd = 60;
    block.fSlices = {{0, 20000, 0}, {16, 900, 1 | 4}, {40, 32767, 2}};
    return LoopFile(kFrames, QLTBlockBody(block));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TBytes kFiles[4] = {MakeLUXFile(false), MakeLUXFile(true), MakeQLTFile(false), MakeQLTFile(true)};
    NSQuilletFuzz::FuzzLoopFile(data, size, "FORM", kFiles);
    return 0;
}
