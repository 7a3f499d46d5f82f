#pragma once

#include "platform/diskkit/IDiskKit.h"

namespace NSDiskKit::NSDiskKitDetails {

// The library object over POSIX file I/O. Stateless apart from the per-thread error text.
class CPosixDiskKit final : public IDiskKit {
public:
    INewFile* CreateFile(const CFolderSpec& folder, const std::string& name, uint32_t creatorCode, uint32_t typeCode,
                         ECreateMode mode, uint32_t* status) override;
    IFileBatch* CreateFileBatch(const CFolderSpec& folder, uint32_t* status) override;
    IOpenFile* OpenForReading(const CFileSpec& file, uint32_t* status) override;
    IOpenFile* OpenForReadWrite(const CFileSpec& file, uint32_t* status) override;
    uint32_t GetPreferencesFolder(const std::string& company, const std::string& product, CFolderSpec* folder) override;
    const char* GetLastErrorText() const override;

private:
    IOpenFile* Open(const CFileSpec& file, bool writable, uint32_t* status);
};

}  // namespace NSDiskKit::NSDiskKitDetails
