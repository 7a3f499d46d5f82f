// Opens the input as a LUX2 loop file and reads every piece of it: settings, shown settings,
// creator info, sound and slices, then the whole file as a loop object. A crash, hang or leak,
// or a failure other than the file's own (format, version, unsupported, out of memory) and the
// codec's "bad format", is a bug.
//
// An input that does not begin with "CAT " edits a valid file made by the writer instead, so
// that the search starts inside the format: its first byte picks one of four sample formats and
// whether the file is cut short, and each further three bytes XOR one byte of the file (a
// 16-bit offset, then the value).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "formats/LUX2Writer.h"
#include "formats/LUXObjectReading.h"
#include "formats/OwnedMemoryMedia.h"
#include "formats/QuilletFile.h"
#include "foundation/Mishap.h"

namespace {

using namespace NSQuillet;

using TBytes = std::vector<uint8_t>;

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
    } catch (const NSMishap::XStdDomainError&) {
    } catch (const NSMishap::XStdBadAlloc&) {
    } catch (...) {
        std::abort();
    }
}

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
    settings.fBars = 1;
    settings.fRightLocator = kFrames;
    COwnedMemoryMedia media;
    WriteLUX2File(media, *sample, slices, settings, nullptr);
    return TBytes(media.GetBytes(), media.GetBytes() + media.GetSize());
}

TBytes EditedValidFile(const uint8_t* data, size_t size) {
    static const TBytes kFiles[4] = {WriteValidFile(false, false), WriteValidFile(false, true),
                                     WriteValidFile(true, false), WriteValidFile(true, true)};
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
    if (size >= 4 && std::memcmp(data, "CAT ", 4) == 0) {
        ReadAll(std::make_shared<COwnedMemoryMedia>(size, data));
    } else if (size >= 1) {
        const TBytes file = EditedValidFile(data, size);
        ReadAll(std::make_shared<COwnedMemoryMedia>(file.size(), file.data()));
    }
    return 0;
}
