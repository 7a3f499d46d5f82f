#include "cli/OutputFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/soundfile/SoundFileWriter.h"
#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKitLibrary.h"
#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet::NSCli {

namespace {

std::string LowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension;
}

}  // namespace

std::optional<ESoundFileType> SoundFileTypeOfPath(const std::string& path) {
    const std::string extension = LowerExtension(path);
    if (extension == ".wav" || extension == ".wave") return ESoundFileType::kWave;
    if (extension == ".aif" || extension == ".aiff") return ESoundFileType::kAiff;
    return std::nullopt;
}

bool IsLoopFilePath(const std::string& path) { return LowerExtension(path) == ".lx2"; }

void CheckOutputMayBeWritten(const std::string& path, bool replace) {
    std::error_code error;
    if (!replace && std::filesystem::exists(path, error))
        NSDiskKitSupport::CheckFileStatus(NSDiskKit::kDiskKitAlreadyExists, "create", path);
}

void WriteSoundFileTo(const std::string& path, ESoundFileType type, const CABCWaveSample& sample, bool replace,
                      IProgressReporter* progress) {
    const uint32_t typeCode = type == ESoundFileType::kAiff ? NSDiskKit::MakeFourCharCode('A', 'I', 'F', 'F')
                                                            : NSDiskKit::MakeFourCharCode('W', 'A', 'V', 'E');
    auto file = NSDiskKitSupport::CreateMediaForWriting(
        path, typeCode, replace ? NSDiskKit::ECreateMode::kReplaceExisting : NSDiskKit::ECreateMode::kCreateNew);
    WriteSoundFile(sample, *file, type, progress);
    file->Close();
}

}  // namespace NSQuillet::NSCli
