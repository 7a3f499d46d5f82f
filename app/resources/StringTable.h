#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace NSQuillet {

// A string table (SSTR) of this platform's entries. Immutable after construction; any thread.
class CStringTable {
public:
    // Parses `source`; a malformed entry is an XFormatViolation naming `tableName` and its line.
    CStringTable(int32_t tableId, const std::string& source, const std::string& tableName);

    int32_t GetTableId() const { return fTableId; }
    bool HasEntry(int32_t entry) const { return fTexts.count(entry) != 0; }
    // The raw text, placeholders unreplaced; an unknown entry is an XNotFound.
    const std::string& GetText(int32_t entry) const;
    std::vector<int32_t> GetEntryIds() const;

private:
    int32_t fTableId;
    std::map<int32_t, std::string> fTexts;
};

}  // namespace NSQuillet
