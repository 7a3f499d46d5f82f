#pragma once

#include <cstdint>
#include <exception>
#include <new>

#include "formats/media/Media.h"
#include "foundation/ByteReader.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSQuillet {

// The byte reader a sound-file library pulls a media's bytes through; the media must outlive
// it. Answers with the library's statuses: `kNotOpen` without a media, 993 for a negative
// position or count or a null destination, 991 for a count of 0 without touching the media,
// else reads (leaving the media's position after the bytes) and answers 991, 999 when the
// media fails, 1002 when memory runs out. Never throws.
template <uint32_t kNotOpen>
class TMediaByteReader final : public NSMishap::IByteReader {
public:
    explicit TMediaByteReader(CMedia* media) : fMedia(media) {}

    uint32_t Read(int64_t position, int64_t count, void* destination) override {
        if (!fMedia) return kNotOpen;
        if (position < 0 || count < 0 || !destination) return NSSoundKits::kSoundKitBadArgument;
        if (count == 0) return NSSoundKits::kSoundKitSuccess;
        try {
            fMedia->ReadAt(uint64_t(position), uint64_t(count), destination);
        } catch (const std::bad_alloc&) {
            return NSSoundKits::kSoundKitOutOfMemory;
        } catch (const std::exception&) {
            return NSSoundKits::kSoundKitReadFailure;
        }
        return NSSoundKits::kSoundKitSuccess;
    }

private:
    CMedia* fMedia;
};

}  // namespace NSQuillet

namespace NSRiffAudioKitUtils {
using CCMediaByteReader = NSQuillet::TMediaByteReader<NSSoundKits::kRiffAudioKitNotOpen>;
}

namespace NSAppleAudioKitUtils {
using CCMediaByteReader = NSQuillet::TMediaByteReader<NSSoundKits::kAppleAudioKitNotOpen>;
}
