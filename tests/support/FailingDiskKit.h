#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKitLibrary.h"
#include "platform/diskkit/IDiskKit.h"

namespace NSQuilletTest {

// A file-system library that hands everything to the real one, except that the files it
// creates fail: a write that would pass `fBytesBeforeFailure` bytes in all writes the part
// that fits and then reports the disk full, and with `fFailClose` Close reports a failure
// (discarding what was written, as a failed Close does), a file batch's Close as well (naming
// none of its files). Installed as the process's library
// for its lifetime. One thread.
class CFailingDiskKit final : public NSDiskKit::IDiskKit {
public:
    struct SPlan {
        uint64_t fBytesBeforeFailure = std::numeric_limits<uint64_t>::max();
        bool fFailClose = false;
    };

    explicit CFailingDiskKit(SPlan plan)
        : fPlan(plan), fReal(NSDiskKitSupport::GetDiskKit()), fPrevious(NSDiskKitSupport::ReplaceDiskKitForTesting(this)) {}
    ~CFailingDiskKit() { NSDiskKitSupport::ReplaceDiskKitForTesting(fPrevious); }
    CFailingDiskKit(const CFailingDiskKit&) = delete;
    CFailingDiskKit& operator=(const CFailingDiskKit&) = delete;

    NSDiskKit::INewFile* CreateFile(const NSDiskKit::CFolderSpec& folder, const std::string& name, uint32_t creatorCode,
                                    uint32_t typeCode, NSDiskKit::ECreateMode mode, uint32_t* status) override {
        fFailed = false;
        NSDiskKit::INewFile* file = fReal.CreateFile(folder, name, creatorCode, typeCode, mode, status);
        return file ? new CFailingFile(file, *this) : nullptr;
    }
    NSDiskKit::IFileBatch* CreateFileBatch(const NSDiskKit::CFolderSpec& folder, uint32_t* status) override {
        fFailed = false;
        NSDiskKit::IFileBatch* batch = fReal.CreateFileBatch(folder, status);
        return batch ? new CFailingBatch(batch, *this) : nullptr;
    }
    NSDiskKit::IOpenFile* OpenForReading(const NSDiskKit::CFileSpec& file, uint32_t* status) override {
        fFailed = false;
        return fReal.OpenForReading(file, status);
    }
    NSDiskKit::IOpenFile* OpenForReadWrite(const NSDiskKit::CFileSpec& file, uint32_t* status) override {
        fFailed = false;
        return fReal.OpenForReadWrite(file, status);
    }
    uint32_t GetPreferencesFolder(const std::string& company, const std::string& product,
                                  NSDiskKit::CFolderSpec* folder) override {
        fFailed = false;
        return fReal.GetPreferencesFolder(company, product, folder);
    }
    const char* GetLastErrorText() const override { return fFailed ? fText.c_str() : fReal.GetLastErrorText(); }

    uint64_t GetBytesWritten() const { return fWritten; }
    int GetFailures() const { return fFailures; }

private:
    class CFailingFile final : public NSDiskKit::INewFile, private NSDiskKit::IFileWriter {
    public:
        CFailingFile(NSDiskKit::INewFile* inner, CFailingDiskKit& kit)
            : INewFile(inner->GetCreatorCode(), inner->GetTypeCode()), fInner(inner), fKit(kit) {}

        NSDiskKit::IFileReader* GetReader() override { return fInner->GetReader(); }
        NSDiskKit::IFileWriter* GetWriter() override { return this; }
        uint32_t GetSize(uint64_t* size) override { return fInner->GetSize(size); }
        bool IsWritable() const override { return fInner->IsWritable(); }
        uint32_t Close() override {
            const bool fail = fKit.fPlan.fFailClose;
            if (fail) {
                fInner->Discard();
            } else {
                fKit.fFailed = false;
            }
            const uint32_t status = fail ? fKit.Fail(NSDiskKit::kDiskKitCloseFailure, "fsync: Input/output error")
                                         : fInner->Close();
            delete this;
            return status;
        }
        void Discard() override {
            fInner->Discard();
            delete this;
        }
        // The real library's file, for the real library's batch; destroys this wrapper.
        NSDiskKit::INewFile* Unwrap() {
            NSDiskKit::INewFile* inner = fInner;
            delete this;
            return inner;
        }

    private:
        ~CFailingFile() = default;

        uint32_t Write(uint64_t position, uint64_t count, const void* source) override {
            fKit.fFailed = false;
            const uint64_t room = fKit.fPlan.fBytesBeforeFailure - std::min(fKit.fWritten, fKit.fPlan.fBytesBeforeFailure);
            const uint64_t part = std::min(count, room);
            if (part > 0) {
                if (const uint32_t status = fInner->GetWriter()->Write(position, part, source);
                    status != NSDiskKit::kDiskKitSuccess)
                    return status;
                fKit.fWritten += part;
            }
            if (part < count) return fKit.Fail(NSDiskKit::kDiskKitOutOfSpace, "pwrite: No space left on device");
            return NSDiskKit::kDiskKitSuccess;
        }

        NSDiskKit::INewFile* fInner;
        CFailingDiskKit& fKit;
    };

    class CFailingBatch final : public NSDiskKit::IFileBatch {
    public:
        CFailingBatch(NSDiskKit::IFileBatch* inner, CFailingDiskKit& kit) : fInner(inner), fKit(kit) {}

        uint32_t Add(NSDiskKit::INewFile* file) override {
            fKit.fFailed = false;
            return fInner->Add(file ? static_cast<CFailingFile*>(file)->Unwrap() : nullptr);
        }
        uint64_t GetCount() const override { return fInner->GetCount(); }
        uint32_t Close() override {
            uint32_t status;
            if (fKit.fPlan.fFailClose) {
                fInner->Discard();
                status = fKit.Fail(NSDiskKit::kDiskKitCloseFailure, "syncfs: Input/output error");
            } else {
                fKit.fFailed = false;
                status = fInner->Close();
            }
            delete this;
            return status;
        }
        void Discard() override {
            fInner->Discard();
            delete this;
        }

    private:
        ~CFailingBatch() = default;

        NSDiskKit::IFileBatch* fInner;
        CFailingDiskKit& fKit;
    };

    uint32_t Fail(uint32_t status, const char* text) {
        fFailed = true;
        fText = text;
        ++fFailures;
        return status;
    }

    SPlan fPlan;
    NSDiskKit::IDiskKit& fReal;
    NSDiskKit::IDiskKit* fPrevious;
    uint64_t fWritten = 0;
    int fFailures = 0;
    bool fFailed = false;
    std::string fText;
};

}  // namespace NSQuilletTest
