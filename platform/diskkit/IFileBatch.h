#pragma once

#include <cstdint>

#include "platform/diskkit/INewFile.h"

namespace NSDiskKit {

// New files of one folder that take their names together, for writers of many files at once.
// Each file is handed over once written: Add closes it without flushing it. Close then flushes
// the whole file system once, gives every file its name, and flushes the folder, so that a
// name never shows a file that is incomplete or not on disk, and an existing file of that name
// stays as it was until its new one is complete and on disk. One flush for all the files
// instead of one a file, as INewFile::Close does. Owned by whoever created it until Close or
// Discard, which destroy it. One thread at a time; blocks on disk I/O.
class IFileBatch {
public:
    // Takes `file`, which must have been created by this library with kReplaceExisting in the
    // batch's folder (the same folder path), after the batch: write-back failures are detected
    // from the batch's creation on. The file is destroyed whatever happens; on failure what was
    // written is removed: a file of another folder or mode is kDiskKitBadArgument.
    virtual uint32_t Add(INewFile* file) = 0;
    // Files added and not yet named.
    virtual uint64_t GetCount() const = 0;

    // Flushes, names the files, flushes the folder and destroys the batch. A failed flush
    // removes every added file and names none. A name that cannot be given (the status of its
    // errno: ENOSPC is kDiskKitOutOfSpace) removes that file; the others still take their names,
    // and the first such failure in the order added is answered. A failure to flush the folder
    // afterwards leaves every file under its name.
    virtual uint32_t Close() = 0;
    // Removes every added file and destroys the batch. Never fails.
    virtual void Discard() = 0;

protected:
    ~IFileBatch() = default;
};

}  // namespace NSDiskKit
