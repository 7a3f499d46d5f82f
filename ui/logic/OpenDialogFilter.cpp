#include "ui/logic/OpenDialogFilter.h"

#include <cstdint>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

namespace NSQuillet {

namespace {

struct SFileType {
    int32_t fName;
    std::vector<const char*> fExtensions;
};

std::string Filter(const std::string& name, const std::vector<const char*>& extensions) {
    std::string filter = name + " (";
    for (size_t i = 0; i < extensions.size(); ++i) filter += std::string(i ? " " : "") + "*." + extensions[i];
    return filter + ")";
}

}  // namespace

std::vector<std::string> OpenDialogFilters() {
    const std::vector<SFileType> types = {
        {NSStringIds::kFileType_LUX2, {"lx2"}},        {NSStringIds::kFileType_LUX1, {"lux"}},
        {NSStringIds::kFileType_QLT, {"qlt"}},         {NSStringIds::kFileType_Wave, {"wav", "wave"}},
        {NSStringIds::kFileType_AIFF, {"aif", "aiff"}},
    };
    std::vector<const char*> all;
    for (const SFileType& type : types) all.insert(all.end(), type.fExtensions.begin(), type.fExtensions.end());
    std::vector<std::string> filters = {Filter(StringReference(NSStringIds::kSoundAndLoopFiles).GetText(), all)};
    for (const SFileType& type : types) filters.push_back(Filter(StringReference(type.fName).GetText(), type.fExtensions));
    return filters;
}

}  // namespace NSQuillet
