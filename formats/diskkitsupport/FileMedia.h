#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "formats/media/Media.h"
#include "platform/diskkit/IFileBatch.h"
#include "platform/diskkit/INewFile.h"
#include "platform/diskkit/IOpenFile.h"

namespace NSDiskKitSupport {

// A media over a file of the file-system library. Every failure status is thrown at once
// ("<operation> <path>: <text>") with its class, target and "error_code". User-interface
// thread; every operation may block on disk I/O.
class CABCFileMedia : public NSQuillet::CMedia {
public:
    // Closes the file if Close was not called, ignoring any failure; a file being created is
    // discarded instead (the unfinished bytes are removed). Never throws.
    ~CABCFileMedia() override;

    // Asked of the file once for a file opened for reading only or being created (nothing else
    // changes those), then kept up to date by this media's own writes.
    uint64_t GetSize() const override;

    // Closes the file; the object is spent whatever happens. A failure to close is an XClose.
    // Using the media after Close is an XIllegalCallSequence.
    void Close();
    // Hands a file being created over to `batch` instead of closing it (the batch names it
    // later); the media is spent as after Close. A failure is an XClose like Close's; a file
    // not being created, or one `batch` refuses, is an XStdInvalidArgument.
    void CloseInto(NSDiskKit::IFileBatch& batch);
    bool IsOpen() const { return fFile != nullptr; }
    const std::string& GetPath() const { return fPath; }

protected:
    // Take ownership of `file`, which must not be null.
    CABCFileMedia(NSDiskKit::IOpenFile* file, std::string path) noexcept;
    CABCFileMedia(NSDiskKit::INewFile* file, std::string path) noexcept;

    // A range that does not lie within the file is an XRead. On a file opened for reading only,
    // a read of at most kSmallRead bytes is served from the kReadAhead bytes read at the first
    // one outside them: a loop file's many small chunk fields cost a system call per 64 KB.
    void ReadBytesAt(uint64_t position, uint64_t count, void* destination) override;
    // On a file open for reading only, an XIllegalCallSequence.
    void WriteBytesAt(uint64_t position, uint64_t count, const void* source) override;

private:
    static constexpr uint64_t kSmallRead = 4096;
    static constexpr uint64_t kReadAhead = 65536;

    NSDiskKit::IOpenFile& File(const char* operation) const;
    // Serves a small read from the read-ahead, filling it first when the read lies outside;
    // false when the read is left to the file (a range beyond the end, a failure to fill).
    bool ReadAhead(NSDiskKit::IOpenFile& file, uint64_t position, uint64_t count, void* destination);

    NSDiskKit::IOpenFile* fFile;
    NSDiskKit::INewFile* fNewFile;  // fFile while a created file is unfinished, else null
    std::string fPath;
    mutable std::optional<uint64_t> fKnownSize;
    std::unique_ptr<uint8_t[]> fReadAhead;
    uint64_t fReadAheadStart = 0;
    uint64_t fReadAheadCount = 0;
};

}  // namespace NSDiskKitSupport
