#include "platform/diskkit/FileSpec.h"

namespace NSDiskKit {

CFileSpec CFileSpec::FromPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return CFileSpec(CFolderSpec("."), path);
    return CFileSpec(CFolderSpec(slash == 0 ? "/" : path.substr(0, slash)), path.substr(slash + 1));
}

std::string CFileSpec::GetPath() const {
    const std::string& folder = fFolder.GetPath();
    if (folder.empty()) return fName;
    if (folder.back() == '/') return folder + fName;
    return folder + "/" + fName;
}

}  // namespace NSDiskKit
