#include "app/resources/StringTable.h"

#include "app/resources/ResourceEntries.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CStringTable::CStringTable(int32_t tableId, const std::string& source, const std::string& tableName)
    : fTableId(tableId) {
    for (const SResourceEntry& entry : SelectPlatformEntries(ReadResourceEntries(source, tableName), tableName))
        fTexts.emplace(entry.fId, entry.fText);
}

const std::string& CStringTable::GetText(int32_t entry) const {
    const auto found = fTexts.find(entry);
    if (found == fTexts.end())
        throw NSMishap::XNotFound("no entry " + std::to_string(entry) + " in string table " + std::to_string(fTableId));
    return found->second;
}

std::vector<int32_t> CStringTable::GetEntryIds() const {
    std::vector<int32_t> ids;
    for (const auto& [id, text] : fTexts) ids.push_back(id);
    return ids;
}

}  // namespace NSQuillet
