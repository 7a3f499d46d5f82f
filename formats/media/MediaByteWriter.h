#pragma once

#include <cstdint>
#include <exception>
#include <new>

#include "formats/media/Media.h"
#include "foundation/ByteWriter.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSQuillet {

// The byte writer a sound-file library pushes bytes into a media through; the media must
// outlive it. Answers with the library's statuses: `kNotOpen` without a media, 993 for a
// negative position or count or a null source or size, 991 for a count of 0 without touching
// the media, else writes (leaving the media's position after the bytes) and answers 991, 1000
// when the media fails, 1002 when memory runs out. Never throws: the media's first failure is
// kept in `failure` when given, so that the caller can raise it (a full disk stays a full disk)
// instead of the library's status.
template <uint32_t kNotOpen>
class TMediaByteWriter final : public NSMishap::IByteWriter {
public:
    explicit TMediaByteWriter(CMedia* media, std::exception_ptr* failure = nullptr) : fMedia(media), fFailure(failure) {}

    uint32_t Write(int64_t position, int64_t count, const void* source) override {
        if (!fMedia) return kNotOpen;
        if (position < 0 || count < 0 || !source) return NSSoundKits::kSoundKitBadArgument;
        if (count == 0) return NSSoundKits::kSoundKitSuccess;
        try {
            fMedia->WriteAt(uint64_t(position), uint64_t(count), source);
        } catch (const std::bad_alloc&) {
            return NSSoundKits::kSoundKitOutOfMemory;
        } catch (const std::exception&) {
            if (fFailure && !*fFailure) *fFailure = std::current_exception();
            return NSSoundKits::kSoundKitWriteFailure;
        }
        return NSSoundKits::kSoundKitSuccess;
    }

    // A size beyond 2^63 - 1 is 1000.
    uint32_t GetSize(int64_t* size) override {
        if (!fMedia) return kNotOpen;
        if (!size) return NSSoundKits::kSoundKitBadArgument;
        try {
            const uint64_t bytes = fMedia->GetSize();
            if (bytes > uint64_t(INT64_MAX)) return NSSoundKits::kSoundKitWriteFailure;
            *size = int64_t(bytes);
        } catch (const std::exception&) {
            return NSSoundKits::kSoundKitWriteFailure;
        }
        return NSSoundKits::kSoundKitSuccess;
    }

private:
    CMedia* fMedia;
    std::exception_ptr* fFailure;
};

}  // namespace NSQuillet

namespace NSRiffAudioKitUtils {
using CCMediaByteWriter = NSQuillet::TMediaByteWriter<NSSoundKits::kRiffAudioKitNotOpen>;
}

namespace NSAppleAudioKitUtils {
using CCMediaByteWriter = NSQuillet::TMediaByteWriter<NSSoundKits::kAppleAudioKitNotOpen>;
}
