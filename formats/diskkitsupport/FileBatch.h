#pragma once

#include <cstddef>
#include <string>

#include "formats/diskkitsupport/FileMedia.h"
#include "platform/diskkit/FolderSpec.h"
#include "platform/diskkit/IFileBatch.h"

namespace NSDiskKitSupport {

// New files of one folder that take their names together (NSDiskKit::IFileBatch): each media
// written is added in place of its Close, and Close flushes them all at once, then names them.
// Until then every added file waits under a temporary name, and a file of its name stays as it
// was. Destroying the batch without Close removes every added file. Failures are thrown as
// "close <path>: <text>". User-interface thread; blocks on disk I/O.
class CFileBatch {
public:
    // A missing folder is an XNotFound "directory". Create the batch before writing the files
    // it will take: write-back failures count from here on.
    explicit CFileBatch(const NSDiskKit::CFolderSpec& folder);
    ~CFileBatch();
    CFileBatch(const CFileBatch&) = delete;
    CFileBatch& operator=(const CFileBatch&) = delete;

    // Takes the file `media` created with kReplaceExisting in the batch's folder (see
    // CABCFileMedia::CloseInto); the media is spent.
    void Add(CABCFileMedia& media);
    size_t GetCount() const;
    // Flushes and names the files (IFileBatch::Close); the batch is spent whatever happens.
    void Close();
    bool IsOpen() const { return fBatch != nullptr; }

private:
    NSDiskKit::IFileBatch& Batch(const char* operation) const;

    NSDiskKit::IFileBatch* fBatch;
    std::string fPath;
};

}  // namespace NSDiskKitSupport
