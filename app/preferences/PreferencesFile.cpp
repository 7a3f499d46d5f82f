#include "app/preferences/PreferencesFile.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "app/preferences/PreferencesFileFormat.h"
#include "app/preferences/PreferencesForm.h"
#include "app/resources/AlertIds.h"
#include "app/resources/FailureAlert.h"
#include "app/resources/ResourceReference.h"
#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/diskkitsupport/OpenFile.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"
#include "platform/diskkit/DiskKitLibrary.h"

namespace NSQuillet {

namespace {

// Far above any file this program writes (eight paths and a device block); a larger file is
// damage and is not read into memory.
constexpr uint64_t kLargestPreferencesFile = 1 << 20;

int32_t ReadFailureAlert(const std::exception& failure) {
    switch (NSMishap::GetFailureCode(failure)) {
        case NSMishap::kFailureCode_RuntimeError_FormatViolation: return NSAlertIds::kPreferencesCorrupt;
        case NSMishap::kFailureCode_RuntimeError_UnsupportedFormat:
        case NSMishap::kFailureCode_RuntimeError_VersionTooNew:
        case NSMishap::kFailureCode_RuntimeError_VersionTooOld: return NSAlertIds::kPreferencesOtherVersion;
        default: return NSAlertIds::kPreferencesNotOpened;
    }
}

// The file's bytes; none when it does not exist or is empty (the first run).
std::optional<std::vector<uint8_t>> ReadFileBytes() {
    NSDiskKit::CFileSpec file;
    try {
        file = LocatePreferencesFile();
    } catch (const std::exception&) {
        // Without its folder there is no file yet; writing reports the folder.
        return std::nullopt;
    }
    std::unique_ptr<NSDiskKitSupport::COpenFile> opened;
    try {
        opened = std::make_unique<NSDiskKitSupport::COpenFile>(file, NSDiskKitSupport::COpenFile::EAccess::kReadOnly);
    } catch (const NSMishap::XNotFound&) {
        return std::nullopt;
    }
    const uint64_t size = opened->GetSize();
    if (size == 0) return std::nullopt;
    if (size > kLargestPreferencesFile) throw NSMishap::XFormatViolation("prefs file too large");
    std::vector<uint8_t> bytes(size);
    opened->ReadAt(0, size, bytes.data());
    opened->Close();
    return bytes;
}

// A path with a NUL would be cut there by the system and name another file.
bool Exists(const std::string& path) {
    if (path.find('\0') != std::string::npos) return false;
    std::error_code error;
    return std::filesystem::exists(path, error) && !error;
}

void DropGoneDocuments(SStoredPreferences& stored) {
    std::vector<SRecentDocument> kept;
    for (SRecentDocument& entry : stored.fRecentDocuments) {
        if (Exists(entry.fPath)) kept.push_back(std::move(entry));
    }
    stored.fRecentDocuments = std::move(kept);
}

void RestoreAudioDevice(const SAudioDeviceBlock& block, IAudioDeviceRestorer* restorer) {
    if (!restorer || block.IsEmpty()) return;
    try {
        restorer->RestoreAudioDevice(block);
    } catch (const std::exception& failure) {
        // The audio output names its problem (the stored device absent, busy, ...); anything
        // else is a block that could not be restored.
        const EAudioOutputProblem problem = GetAudioOutputProblem(failure);
        const auto alert = ChooseAudioOutputAlert(problem, GetAudioDeviceName(failure));
        ShowAlert(alert ? *alert : AlertReference(NSAlertIds::kDriverSettingsNotRestored));
    } catch (...) {
        ShowAlert(AlertReference(NSAlertIds::kDriverSettingsNotRestored));
    }
}

bool Refuse(int32_t alert) {
    ShowAlert(AlertReference(alert));
    return false;
}

}  // namespace

NSDiskKit::CFileSpec LocatePreferencesFile() {
    NSDiskKit::CFolderSpec folder;
    const uint32_t status =
        NSDiskKitSupport::GetDiskKit().GetPreferencesFolder(kPreferencesCompanyName, kPreferencesProductName, &folder);
    NSDiskKitSupport::CheckFileStatus(status, "make the preferences folder",
                                      std::string(kPreferencesCompanyName) + "/" + kPreferencesProductName);
    return NSDiskKit::CFileSpec(folder, kPreferencesFileName);
}

bool ReadPreferencesFile(CPreferences& preferences, IAudioDeviceRestorer* restorer) {
    return ReadPreferencesFileAtStart(preferences, restorer) == EPreferencesFileReading::kRead;
}

EPreferencesFileReading ReadPreferencesFileAtStart(CPreferences& preferences, IAudioDeviceRestorer* restorer) {
    SStoredPreferences stored;
    try {
        const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes();
        if (!bytes) return EPreferencesFileReading::kFirstRun;
        COwnedMemoryMedia media(bytes->size(), bytes->data());
        stored = ReadPreferencesForm(media);
    } catch (const std::exception& failure) {
        const int32_t alert = ReadFailureAlert(failure);
        // A damaged file is replaced by the standard settings at stop, so that it is reported
        // once; a file of another version or one that cannot be opened is left alone.
        if (alert == NSAlertIds::kPreferencesCorrupt) preferences.MarkUnstored();
        Refuse(alert);
        return EPreferencesFileReading::kNotRead;
    } catch (...) {
        Refuse(NSAlertIds::kPreferencesNotOpened);
        return EPreferencesFileReading::kNotRead;
    }
    DropGoneDocuments(stored);
    preferences.Restore(stored);
    RestoreAudioDevice(preferences.GetAudioDeviceBlock(), restorer);
    return EPreferencesFileReading::kRead;
}

bool WritePreferencesFile(CPreferences& preferences) {
    COwnedMemoryMedia bytes;
    try {
        WritePreferencesForm(bytes, preferences.Capture());
    } catch (...) {
        return Refuse(NSAlertIds::kPreferencesNotSaved);
    }
    std::unique_ptr<NSDiskKitSupport::CMediaBridge> file;
    try {
        file = std::make_unique<NSDiskKitSupport::CMediaBridge>(LocatePreferencesFile(), kPreferencesFileTypeCode,
                                                                NSDiskKit::ECreateMode::kReplaceExisting);
    } catch (...) {
        return Refuse(NSAlertIds::kPreferencesNotCreated);
    }
    try {
        file->Write(bytes.GetSize(), bytes.GetBytes());
        file->Close();
    } catch (const std::exception& failure) {
        const bool full = NSMishap::GetFailureCode(failure) == NSMishap::kFailureCode_RuntimeError_OutOfSpace;
        return Refuse(full ? NSAlertIds::kPreferencesDiskFull : NSAlertIds::kPreferencesNotSaved);
    }
    preferences.MarkStored();
    return true;
}

}  // namespace NSQuillet
