#include "ui/logic/OpenDialogFilter.h"

#include "app/application/OpenableFileTypes.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

namespace NSQuillet {

namespace {

std::string Filter(const std::string& name, const std::vector<const char*>& extensions) {
    std::string filter = name + " (";
    for (size_t i = 0; i < extensions.size(); ++i) filter += std::string(i ? " " : "") + "*." + extensions[i];
    return filter + ")";
}

}  // namespace

std::vector<std::string> OpenDialogFilters() {
    const std::vector<SOpenableFileType>& types = GetOpenableFileTypes();
    std::vector<const char*> all;
    for (const SOpenableFileType& type : types) all.insert(all.end(), type.fExtensions.begin(), type.fExtensions.end());
    std::vector<std::string> filters = {Filter(StringReference(NSStringIds::kSoundAndLoopFiles).GetText(), all)};
    for (const SOpenableFileType& type : types) filters.push_back(Filter(StringReference(type.fName).GetText(), type.fExtensions));
    return filters;
}

}  // namespace NSQuillet
