#include "formats/diskkitsupport/FileMedia.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKitLibrary.h"

namespace NSDiskKitSupport {

CABCFileMedia::CABCFileMedia(NSDiskKit::IOpenFile* file, std::string path) noexcept
    : fFile(file), fNewFile(nullptr), fPath(std::move(path)) {}

CABCFileMedia::CABCFileMedia(NSDiskKit::INewFile* file, std::string path) noexcept
    : fFile(file), fNewFile(file), fPath(std::move(path)) {}

CABCFileMedia::~CABCFileMedia() {
    if (fNewFile) {
        fNewFile->Discard();
    } else if (fFile) {
        (void)fFile->Close();
    }
}

NSDiskKit::IOpenFile& CABCFileMedia::File(const char* operation) const {
    if (!fFile) NSDiskKit::CheckDiskKitStatus(NSDiskKit::kDiskKitNotOpen, std::string(operation) + " " + fPath + ": file is closed");
    return *fFile;
}

uint64_t CABCFileMedia::GetSize() const {
    NSDiskKit::IOpenFile& file = File("size of");
    if (fKnownSize) return *fKnownSize;
    uint64_t size = 0;
    CheckFileStatus(file.GetSize(&size), "size of", fPath);
    if (fNewFile || !file.IsWritable()) fKnownSize = size;
    return size;
}

void CABCFileMedia::Close() {
    NSDiskKit::IOpenFile& file = File("close");
    fFile = nullptr;
    fNewFile = nullptr;
    fKnownSize.reset();
    CheckFileStatus(file.Close(), "close", fPath);
}

void CABCFileMedia::CloseInto(NSDiskKit::IFileBatch& batch) {
    File("close");
    NSDiskKit::INewFile* file = fNewFile;
    if (!file) NSDiskKit::CheckDiskKitStatus(NSDiskKit::kDiskKitBadArgument, "close " + fPath + ": not a new file");
    fFile = nullptr;
    fNewFile = nullptr;
    fKnownSize.reset();
    CheckFileStatus(batch.Add(file), "close", fPath);
}

void CABCFileMedia::ReadBytesAt(uint64_t position, uint64_t count, void* destination) {
    NSDiskKit::IOpenFile& file = File("read");
    // No file reaches that far; the library would call the position a bad argument.
    if (position > uint64_t(INT64_MAX)) {
        NSDiskKit::CheckDiskKitStatus(NSDiskKit::kDiskKitReadFailure, "read " + fPath + ": position beyond the end of the file");
    }
    if (count <= kSmallRead && !fNewFile && !file.IsWritable() && ReadAhead(file, position, count, destination)) return;
    CheckFileStatus(file.GetReader()->Read(position, count, destination), "read", fPath);
}

bool CABCFileMedia::ReadAhead(NSDiskKit::IOpenFile& file, uint64_t position, uint64_t count, void* destination) {
    const bool inside = position >= fReadAheadStart && position - fReadAheadStart <= fReadAheadCount &&
                        count <= fReadAheadCount - (position - fReadAheadStart);
    if (!inside) {
        const uint64_t size = GetSize();
        if (position >= size || count > size - position) return false;
        if (!fReadAhead) fReadAhead.reset(new (std::nothrow) uint8_t[kReadAhead]);
        if (!fReadAhead) return false;
        const uint64_t filled = std::min(kReadAhead, size - position);
        fReadAheadCount = 0;
        // A failure here is left to the read itself, which reports it for its own range.
        if (file.GetReader()->Read(position, filled, fReadAhead.get()) != NSDiskKit::kDiskKitSuccess) return false;
        fReadAheadStart = position;
        fReadAheadCount = filled;
    }
    std::memcpy(destination, fReadAhead.get() + (position - fReadAheadStart), size_t(count));
    return true;
}

void CABCFileMedia::WriteBytesAt(uint64_t position, uint64_t count, const void* source) {
    const uint32_t status = File("write").GetWriter()->Write(position, count, source);
    // A failed write may have written part: the size is asked of the file again.
    if (status != NSDiskKit::kDiskKitSuccess) fKnownSize.reset();
    CheckFileStatus(status, "write", fPath);
    if (fKnownSize && position + count > *fKnownSize) fKnownSize = position + count;
}

}  // namespace NSDiskKitSupport
