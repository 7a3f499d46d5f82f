#include "formats/diskkitsupport/FileBatch.h"

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKitLibrary.h"

namespace NSDiskKitSupport {

namespace {

NSDiskKit::IFileBatch* CreateOrThrow(const NSDiskKit::CFolderSpec& folder) {
    uint32_t status = NSDiskKit::kDiskKitSuccess;
    NSDiskKit::IFileBatch* batch = GetDiskKit().CreateFileBatch(folder, &status);
    CheckFileStatus(status, "open", folder.GetPath());
    return batch;
}

}  // namespace

CFileBatch::CFileBatch(const NSDiskKit::CFolderSpec& folder) : fBatch(CreateOrThrow(folder)), fPath(folder.GetPath()) {}

CFileBatch::~CFileBatch() {
    if (fBatch) fBatch->Discard();
}

NSDiskKit::IFileBatch& CFileBatch::Batch(const char* operation) const {
    if (!fBatch) NSDiskKit::CheckDiskKitStatus(NSDiskKit::kDiskKitNotOpen, std::string(operation) + " " + fPath + ": batch is closed");
    return *fBatch;
}

void CFileBatch::Add(CABCFileMedia& media) { media.CloseInto(Batch("add to")); }

size_t CFileBatch::GetCount() const { return fBatch ? size_t(fBatch->GetCount()) : 0; }

void CFileBatch::Close() {
    NSDiskKit::IFileBatch& batch = Batch("close");
    fBatch = nullptr;
    CheckFileStatus(batch.Close(), "close", fPath);
}

}  // namespace NSDiskKitSupport
