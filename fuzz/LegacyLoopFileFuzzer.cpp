// Opens the input as a LUX or QLT loop file and reads every piece of it: settings, shown
// settings, creator info, sound and slices, then the whole file as a loop object. A crash, hang
// or leak, or a failure other than the file's own (format, unsupported, abort, out of memory),
// is a bug.
//
// An input that does not begin with "FORM" edits a valid file built from the layout instead, so
// that the search starts inside the format: its first byte picks a LUX or a QLT file (with or
// without an instrument loop) and whether it is cut short, and each further three bytes XOR one
// byte of the file (a 16-bit offset, then the value).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/SliceSequence.h"
#include "formats/LUXObjectReading.h"
#include "formats/OwnedMemoryMedia.h"
#include "formats/QuilletFile.h"
#include "foundation/Mishap.h"
#include "tests/formats/LegacyLoopFileBuilder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest::NSLegacyLoopFile;

class CNeverStoppingCallback : public CLUX2DecompressCallback {
public:
    bool Progress(int64_t) override { return false; }
};

template <class TAction>
void Expect(TAction&& action) {
    try {
        action();
    } catch (const NSMishap::XFormatViolation&) {
    } catch (const NSMishap::XVersionTooNew&) {
    } catch (const NSMishap::XUnsupportedFormat&) {
    } catch (const NSMishap::XStdBadAlloc&) {
    } catch (...) {
        std::abort();
    }
}

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

TBytes EditedValidFile(const uint8_t* data, size_t size) {
    static const TBytes kFiles[4] = {MakeLUXFile(false), MakeLUXFile(true), MakeQLTFile(false), MakeQLTFile(true)};
    TBytes file = kFiles[data[0] & 3];
    for (size_t at = 1; at + 3 <= size; at += 3) {
        const size_t offset = ((size_t(data[at]) << 8) | data[at + 1]) % file.size();
        file[offset] ^= data[at + 2];
    }
    if (data[0] & 4) file.resize(file.size() - 1 - (size_t(data[0]) >> 3) % file.size());
    return file;
}

void ReadAll(const std::shared_ptr<CMedia>& media) {
    Expect([&] {
        const CQuilletFile file(media);
        Expect([&] { file.ReadSettings(); });
        Expect([&] { file.ReadShownSettings(); });
        Expect([&] {
            SLoopFileCreatorInfo creator;
            file.ReadCreatorInfo(creator);
        });
        Expect([&] {
            CNeverStoppingCallback callback;
            std::unique_ptr<CABCWaveSample> sample = file.ReadSound(&callback);
            sample->BuildPreview();
            CSliceSequence slices(sample.get());
            file.ReadSlices(slices);
        });
    });
    Expect([&] { ReadLUXObject(media); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 4 && std::memcmp(data, "FORM", 4) == 0) {
        ReadAll(std::make_shared<COwnedMemoryMedia>(size, data));
    } else if (size >= 1) {
        const TBytes file = EditedValidFile(data, size);
        ReadAll(std::make_shared<COwnedMemoryMedia>(file.size(), file.data()));
    }
    return 0;
}
