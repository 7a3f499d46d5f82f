#include "platform/sndkits/SndFileVirtualFile.h"

#include <algorithm>
#include <cstdio>

namespace NSSoundKits::NSSoundKitsDetails {

SF_VIRTUAL_IO* CSndFileVirtualFile::GetCallbacks() {
    static SF_VIRTUAL_IO callbacks = {&GetLength, &Seek, &Read, &Write, &Tell};
    return &callbacks;
}

void CSndFileVirtualFile::Fail(uint32_t status) {
    if (fFailure == kSoundKitSuccess) fFailure = status;
}

sf_count_t CSndFileVirtualFile::GetLength(void* self) { return static_cast<CSndFileVirtualFile*>(self)->fSize; }

sf_count_t CSndFileVirtualFile::Seek(sf_count_t offset, int whence, void* self) {
    auto& file = *static_cast<CSndFileVirtualFile*>(self);
    int64_t base = 0;
    switch (whence) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = file.fPosition; break;
        case SEEK_END: base = file.fSize; break;
        default: return -1;
    }
    // A place before 0 or past 2^63 - 1 is refused.
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0) return -1;
    file.fPosition = base + offset;
    return file.fPosition;
}

sf_count_t CSndFileVirtualFile::Read(void* destination, sf_count_t count, void* self) {
    auto& file = *static_cast<CSndFileVirtualFile*>(self);
    if (!file.fReader || count <= 0 || file.fPosition >= file.fSize) return 0;
    const int64_t available = std::min<int64_t>(count, file.fSize - file.fPosition);
    const uint32_t status = file.fReader->Read(file.fPosition, available, destination);
    if (status != kSoundKitSuccess) {
        file.Fail(status);
        return 0;
    }
    file.fPosition += available;
    return available;
}

sf_count_t CSndFileVirtualFile::Write(const void* source, sf_count_t count, void* self) {
    auto& file = *static_cast<CSndFileVirtualFile*>(self);
    if (!file.fWriter || count <= 0) return 0;
    if (file.fPosition > INT64_MAX - count) {
        file.Fail(kSoundKitWriteFailure);
        return 0;
    }
    const uint32_t status = file.fWriter->Write(file.fPosition, count, source);
    if (status != kSoundKitSuccess) {
        file.Fail(status);
        return 0;
    }
    file.fPosition += count;
    file.fSize = std::max(file.fSize, file.fPosition);
    return count;
}

uint32_t CSndFileVirtualFile::WriteAt(int64_t position, const void* source, int64_t count) {
    if (position < 0) return kSoundKitBadArgument;
    fPosition = position;
    if (Write(source, count, this) != count) return fFailure != kSoundKitSuccess ? fFailure : kSoundKitWriteFailure;
    return kSoundKitSuccess;
}

sf_count_t CSndFileVirtualFile::Tell(void* self) { return static_cast<CSndFileVirtualFile*>(self)->fPosition; }

}  // namespace NSSoundKits::NSSoundKitsDetails
