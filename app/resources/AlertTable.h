#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/resources/Alert.h"

namespace NSQuillet {

// An alert table (SALR) of this platform's entries, each checked by ParseAlertEntry.
// Immutable after construction; any thread.
class CAlertTable {
public:
    // A malformed line or alert is an XFormatViolation naming `tableName`, the line and the fault.
    CAlertTable(int32_t tableId, const std::string& source, const std::string& tableName);

    int32_t GetTableId() const { return fTableId; }
    bool HasEntry(int32_t entry) const { return fAlerts.count(entry) != 0; }
    // Placeholders unreplaced; an unknown entry is an XNotFound.
    const SAlert& GetAlert(int32_t entry) const;
    const std::string& GetText(int32_t entry) const;
    std::vector<int32_t> GetEntryIds() const;

private:
    struct SEntry {
        std::string fText;
        SAlert fAlert;
    };
    const SEntry& Find(int32_t entry) const;

    int32_t fTableId;
    std::map<int32_t, SEntry> fAlerts;
};

}  // namespace NSQuillet
