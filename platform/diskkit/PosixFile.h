#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/diskkit/INewFile.h"

namespace NSDiskKit::NSDiskKitDetails {

// An open file descriptor behind the file interfaces. Opened and created files share it; only a
// created file has a name to remove on Discard, and a temporary name when it replaces a file.
class CPosixFile final : public INewFile, private IFileReader, private IFileWriter {
public:
    struct SCreated {
        std::string fPath;           // the name the file has once closed
        std::string fTemporaryPath;  // where the bytes are written when replacing, else empty
        std::string fFolder;         // the folder's path as the creator gave it
    };

    // Takes ownership of `descriptor`.
    CPosixFile(int descriptor, bool writable);
    CPosixFile(int descriptor, uint32_t creatorCode, uint32_t typeCode, SCreated created);

    IFileReader* GetReader() override { return this; }
    IFileWriter* GetWriter() override { return this; }
    uint32_t GetSize(uint64_t* size) override;
    bool IsWritable() const override { return fWritable; }
    uint32_t Close() override;
    void Discard() override;
    // For a file batch: closes a file created to replace, without flushing it, and answers its
    // names in `names`. A failure, or a file not created to replace (kDiskKitBadArgument),
    // removes what was written. Destroys this object.
    uint32_t CloseUnflushed(SCreated& names);

private:
    ~CPosixFile();

    uint32_t Read(uint64_t position, uint64_t count, void* destination) override;
    uint32_t Write(uint64_t position, uint64_t count, const void* source) override;
    uint32_t CloseDescriptor();

    int fDescriptor;
    bool fWritable;
    bool fCreated;
    // Bytes written to a created file since its write-back was last started.
    uint64_t fUnflushed = 0;
    SCreated fNames;
    // A file opened for reading only is measured once for the range checks of its reads, so
    // that a small read costs one system call.
    std::optional<uint64_t> fReadOnlySize;
};

}  // namespace NSDiskKit::NSDiskKitDetails
