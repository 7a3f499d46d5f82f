#include "platform/diskkit/PreferencesFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/ErrnoStatus.h"

namespace NSDiskKit::NSDiskKitDetails {

namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

// Relative values of the variables are ignored, as the base-directory convention asks.
std::string ConfigurationBase() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); IsAbsolute(config)) return config;
    if (const char* home = std::getenv("HOME"); IsAbsolute(home)) return std::string(home) + "/.config";
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && IsAbsolute(found->pw_dir))
        return std::string(found->pw_dir) + "/.config";
    return "";
}

// Each missing component from the root down; an existing one must be a folder.
uint32_t MakeFolders(const std::string& path) {
    for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string part = path.substr(0, end);
        struct stat info;
        if (stat(part.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) return FailWithText(kDiskKitCreateFailure, "not a folder in the preferences path");
        } else if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return FailWithErrno("mkdir", errno, EOperation::kCreate);
        }
        if (end == std::string::npos) return kDiskKitSuccess;
    }
}

}  // namespace

uint32_t MakePreferencesFolder(const std::string& relative, std::string& path) {
    const std::string base = ConfigurationBase();
    if (base.empty()) return FailWithText(kDiskKitFolderNotFound, "no home folder");
    std::string joined = base;
    if (joined.back() != '/') joined += '/';
    joined += relative;
    if (const uint32_t status = MakeFolders(joined); status != kDiskKitSuccess) return status;
    path = std::move(joined);
    return kDiskKitSuccess;
}

}  // namespace NSDiskKit::NSDiskKitDetails
