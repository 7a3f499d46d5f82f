#pragma once

#include <sndfile.h>

#include <cstdint>

#include "foundation/ByteReader.h"
#include "foundation/ByteWriter.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSSoundKits::NSSoundKitsDetails {

// The byte reader or writer presented to libsndfile as a seekable file. Remembers the first
// status other than success so that the library's own error can be replaced by it.
class CSndFileVirtualFile {
public:
    CSndFileVirtualFile(NSMishap::IByteReader* reader, int64_t size) : fReader(reader), fSize(size) {}
    CSndFileVirtualFile(NSMishap::IByteWriter* writer, int64_t size) : fWriter(writer), fSize(size) {}

    static SF_VIRTUAL_IO* GetCallbacks();
    uint32_t GetFailure() const { return fFailure; }

    // For chunks written after libsndfile is done: the size so far, and a write at a place.
    int64_t GetSize() const { return fSize; }
    int64_t GetPosition() const { return fPosition; }
    uint32_t WriteAt(int64_t position, const void* source, int64_t count);

private:
    static sf_count_t GetLength(void* self);
    static sf_count_t Seek(sf_count_t offset, int whence, void* self);
    static sf_count_t Read(void* destination, sf_count_t count, void* self);
    static sf_count_t Write(const void* source, sf_count_t count, void* self);
    static sf_count_t Tell(void* self);

    void Fail(uint32_t status);

    NSMishap::IByteReader* fReader = nullptr;
    NSMishap::IByteWriter* fWriter = nullptr;
    int64_t fSize;
    int64_t fPosition = 0;
    uint32_t fFailure = kSoundKitSuccess;
};

}  // namespace NSSoundKits::NSSoundKitsDetails
