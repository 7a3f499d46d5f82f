#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/diskkit/IFileBatch.h"

namespace NSDiskKit::NSDiskKitDetails {

// A file batch over POSIX calls: the files wait closed under their temporary names; Close runs
// syncfs on the folder (which reports the file system's write-back failures since the folder
// was opened), the renames, and fsync of the folder.
class CPosixFileBatch final : public IFileBatch {
public:
    // Takes ownership of `folderDescriptor`, the folder opened for reading.
    CPosixFileBatch(int folderDescriptor, std::string folderPath);

    uint32_t Add(INewFile* file) override;
    uint64_t GetCount() const override { return fFiles.size(); }
    uint32_t Close() override;
    void Discard() override;

private:
    // Names within the folder, which the calls reach through its descriptor.
    struct SFile {
        std::string fTemporaryName;
        std::string fName;
    };

    ~CPosixFileBatch();

    // Renames every file, on several threads when there are many: replacing a file frees its
    // blocks, and a file system that discards freed blocks at once waits for each discard,
    // which then overlap. Answers each file's errno, 0 when renamed.
    std::vector<int> RenameAll() const;
    // Close's work: a failure to allocate is thrown.
    uint32_t CommitAll() const;
    void RemoveAll() const;

    int fFolder;
    std::string fFolderPath;
    // Grows without moving what it holds: thousands of files cost no copy of them all.
    std::deque<SFile> fFiles;
};

}  // namespace NSDiskKit::NSDiskKitDetails
