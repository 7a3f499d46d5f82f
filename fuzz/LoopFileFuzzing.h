// What the loop-file fuzz targets share: reading every piece of a file, the failures a damaged
// file may give, and the edits of a valid file that start the search inside the format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/SliceSequence.h"
#include "formats/loopfile/LUXObjectReading.h"
#include "formats/loopfile/QuilletFile.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "foundation/Mishap.h"

namespace NSQuilletFuzz {

using TBytes = std::vector<uint8_t>;

class CNeverStoppingCallback : public NSQuillet::CLUX2DecompressCallback {
public:
    bool Progress(int64_t) override { return false; }
};

// Runs `action`; the file's own failures (format, version, unsupported, the codec's "bad
// format", out of memory) are expected, anything else aborts.
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

// Settings, shown settings, slice points, creator info, sound and slices, then the whole file as a loop object.
inline void ReadWholeLoopFile(const std::shared_ptr<NSQuillet::CMedia>& media) {
    using namespace NSQuillet;
    Expect([&] {
        const CQuilletFile file(media);
        Expect([&] { file.ReadSettings(); });
        Expect([&] { file.ReadShownSettings(); });
        Expect([&] { file.ReadSlicePoints(); });
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

// An input that begins with `signature` is read as it is. Any other edits one of the four valid
// `files`: its first byte picks the file (bits 0–1) and whether it is cut short (bit 2, by the
// rest of the byte), and each further three bytes XOR one byte of the file (a 16-bit offset,
// then the value).
inline void FuzzLoopFile(const uint8_t* data, size_t size, const char (&signature)[5], const TBytes (&files)[4]) {
    if (size >= 4 && std::memcmp(data, signature, 4) == 0) {
        ReadWholeLoopFile(std::make_shared<NSQuillet::COwnedMemoryMedia>(size, data));
        return;
    }
    if (size < 1) return;
    TBytes file = files[data[0] & 3];
    for (size_t at = 1; at + 3 <= size; at += 3) {
        const size_t offset = ((size_t(data[at]) << 8) | data[at + 1]) % file.size();
        file[offset] ^= data[at + 2];
    }
    if (data[0] & 4) file.resize(file.size() - 1 - (size_t(data[0]) >> 3) % file.size());
    ReadWholeLoopFile(std::make_shared<NSQuillet::COwnedMemoryMedia>(file.size(), file.data()));
}

}  // namespace NSQuilletFuzz
