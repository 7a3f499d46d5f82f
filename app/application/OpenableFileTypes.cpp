#include "app/application/OpenableFileTypes.h"

#include <algorithm>
#include <cctype>

#include "app/resources/StringIds.h"

namespace NSQuillet {

const std::vector<SOpenableFileType>& GetOpenableFileTypes() {
    static const std::vector<SOpenableFileType> types = {
        {NSStringIds::kFileType_LUX2, {"lx2"}},          {NSStringIds::kFileType_LUX1, {"lux"}},
        {NSStringIds::kFileType_QLT, {"qlt"}},           {NSStringIds::kFileType_Wave, {"wav", "wave"}},
        {NSStringIds::kFileType_AIFF, {"aif", "aiff"}},
    };
    return types;
}

bool IsOpenableFilePath(const std::string& path) {
    if (path.find('\0') != std::string::npos) return false;
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const SOpenableFileType& type : GetOpenableFileTypes())
        if (std::find(type.fExtensions.begin(), type.fExtensions.end(), extension) != type.fExtensions.end()) return true;
    return false;
}

}  // namespace NSQuillet
