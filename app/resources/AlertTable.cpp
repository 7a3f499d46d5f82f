#include "app/resources/AlertTable.h"

#include "app/resources/ResourceEntries.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CAlertTable::CAlertTable(int32_t tableId, const std::string& source, const std::string& tableName)
    : fTableId(tableId) {
    for (const SResourceEntry& entry : SelectPlatformEntries(ReadResourceEntries(source, tableName), tableName)) {
        try {
            fAlerts.emplace(entry.fId, SEntry{entry.fText, ParseAlertEntry(entry.fText)});
        } catch (const NSMishap::XFormatViolation& fault) {
            throw NSMishap::XFormatViolation(DescribeResourceLine(tableName, entry.fLine, fault.what()));
        }
    }
}

const CAlertTable::SEntry& CAlertTable::Find(int32_t entry) const {
    const auto found = fAlerts.find(entry);
    if (found == fAlerts.end())
        throw NSMishap::XNotFound("no entry " + std::to_string(entry) + " in alert table " + std::to_string(fTableId));
    return found->second;
}

const SAlert& CAlertTable::GetAlert(int32_t entry) const { return Find(entry).fAlert; }

const std::string& CAlertTable::GetText(int32_t entry) const { return Find(entry).fText; }

std::vector<int32_t> CAlertTable::GetEntryIds() const {
    std::vector<int32_t> ids;
    for (const auto& [id, alert] : fAlerts) ids.push_back(id);
    return ids;
}

}  // namespace NSQuillet
