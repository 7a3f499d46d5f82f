#include "app/saving/SaveTarget.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKitLibrary.h"

namespace NSQuillet {

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

void CheckTargetMayBeWritten(const std::string& path, bool replace) {
    std::error_code error;
    if (!replace && std::filesystem::exists(path, error))
        NSDiskKitSupport::CheckFileStatus(NSDiskKit::kDiskKitAlreadyExists, "create", path);
}

}  // namespace NSQuillet
