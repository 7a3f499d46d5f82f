#pragma once

#include <cstdint>
#include <string>

#include "platform/diskkit/FileSpec.h"
#include "platform/diskkit/FolderSpec.h"
#include "platform/diskkit/IFileBatch.h"
#include "platform/diskkit/INewFile.h"
#include "platform/diskkit/IOpenFile.h"

namespace NSDiskKit {

enum class ECreateMode {
    kCreateNew,        // an existing file of that name is kDiskKitAlreadyExists
    kReplaceExisting,  // an existing file is replaced when the new one is closed
};

// The process-wide file-system library. Any thread; every operation may block on disk I/O, so
// never on the audio thread. `status` must not be null; it receives 5000 or a failure status,
// and on failure the result is null.
class IDiskKit {
public:
    // Creates `name` (one UTF-8 path component) in `folder`. The creator and type codes travel
    // with the object and are stored in the extended attributes "user.quillet.creator" and
    // "user.quillet.type" (4 bytes, big-endian) where the file system allows it. A folder that
    // does not exist is kDiskKitFolderNotFound; replacing a file without write permission is
    // kDiskKitReadOnly.
    virtual INewFile* CreateFile(const CFolderSpec& folder, const std::string& name, uint32_t creatorCode,
                                 uint32_t typeCode, ECreateMode mode, uint32_t* status) = 0;

    // A batch for new files of `folder` that are to take their names together (IFileBatch).
    // Holds the folder open until closed. A folder that does not exist is kDiskKitFolderNotFound.
    virtual IFileBatch* CreateFileBatch(const CFolderSpec& folder, uint32_t* status) = 0;

    virtual IOpenFile* OpenForReading(const CFileSpec& file, uint32_t* status) = 0;

    // A file whose mode has no write permission bit is kDiskKitReadOnly, also for the superuser.
    // Takes an exclusive advisory lock (flock) for as long as it is open: a second read-write
    // open, from any process, is kDiskKitLocked. Read-only opens take no lock.
    virtual IOpenFile* OpenForReadWrite(const CFileSpec& file, uint32_t* status) = 0;

    // The user's folder for the settings of `product` by `company` (each one path component):
    // "$XDG_CONFIG_HOME/<company>/<product>", or "$HOME/.config/<company>/<product>" when
    // XDG_CONFIG_HOME is unset, empty or not absolute. Created with any missing parents (mode
    // 0700) when absent; something other than a folder in the way is kDiskKitCreateFailure, no
    // home folder kDiskKitFolderNotFound.
    virtual uint32_t GetPreferencesFolder(const std::string& company, const std::string& product,
                                          CFolderSpec* folder) = 0;

    // The calling thread's text for its last failure ("open: No such file or directory"), "" if
    // none. Valid until the thread's next failing call.
    virtual const char* GetLastErrorText() const = 0;

protected:
    ~IDiskKit() = default;
};

}  // namespace NSDiskKit
