#include "app/resources/ProgramResources.h"

#include <string>

#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

template <class TTable>
void Add(std::map<int32_t, TTable>& tables, const SEmbeddedResource& resource) {
    const bool added = tables.emplace(std::piecewise_construct, std::forward_as_tuple(resource.fTableId),
                                      std::forward_as_tuple(resource.fTableId, resource.fText, resource.fFileName))
                           .second;
    if (!added) throw NSMishap::XInvariantCorrupt(std::string("second resource table like ") + resource.fFileName);
}

template <class TTable>
const TTable& Find(const std::map<int32_t, TTable>& tables, int32_t tableId, const char* kind) {
    const auto found = tables.find(tableId);
    if (found == tables.end()) throw NSMishap::XNotFound(std::string("no ") + kind + " table " + std::to_string(tableId));
    return found->second;
}

template <class TTable>
std::vector<int32_t> Ids(const std::map<int32_t, TTable>& tables) {
    std::vector<int32_t> ids;
    for (const auto& [id, table] : tables) ids.push_back(id);
    return ids;
}

}  // namespace

CProgramResources::CProgramResources(const SEmbeddedResource* resources, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const SEmbeddedResource& resource = resources[i];
        switch (resource.fKind) {
            case EResourceKind::kString: Add(fStrings, resource); break;
            case EResourceKind::kAlert: Add(fAlerts, resource); break;
            case EResourceKind::kMenu: Add(fMenus, resource); break;
        }
    }
}

const CProgramResources& CProgramResources::Get() {
    static const CProgramResources resources(kEmbeddedResources, kEmbeddedResourceCount);
    return resources;
}

const CStringTable& CProgramResources::GetStringTable(int32_t tableId) const { return Find(fStrings, tableId, "string"); }

const CAlertTable& CProgramResources::GetAlertTable(int32_t tableId) const { return Find(fAlerts, tableId, "alert"); }

const CMenuTable& CProgramResources::GetMenuTable(int32_t tableId) const { return Find(fMenus, tableId, "menu"); }

std::vector<int32_t> CProgramResources::GetTableIds(EResourceKind kind) const {
    switch (kind) {
        case EResourceKind::kString: return Ids(fStrings);
        case EResourceKind::kAlert: return Ids(fAlerts);
        case EResourceKind::kMenu: return Ids(fMenus);
    }
    return {};
}

}  // namespace NSQuillet
