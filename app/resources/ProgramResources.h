#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "app/resources/AlertTable.h"
#include "app/resources/EmbeddedResources.h"
#include "app/resources/MenuTable.h"
#include "app/resources/StringTable.h"

namespace NSQuillet {

// Table ids of the program and of the framework.
inline constexpr int32_t kProgramStringTable = 129;
inline constexpr int32_t kFrameworkStringTable = 1000;
inline constexpr int32_t kFrameworkShortTextTable = 1997;
inline constexpr int32_t kProgramAlertTable = 129;
inline constexpr int32_t kFrameworkAlertTable = 1997;
inline constexpr int32_t kProgramMenuTable = 128;

// The resource tables compiled into the program, parsed once. Immutable; any thread.
class CProgramResources {
public:
    // Parses the given tables; a malformed one is an XFormatViolation naming its file and line,
    // two tables of one kind and id an XInvariantCorrupt.
    CProgramResources(const SEmbeddedResource* resources, size_t count);

    // The program's own tables, parsed on the first call (thread-safe). The start-up calls it
    // first so that a malformed table fails there; later calls then never fail.
    static const CProgramResources& Get();

    // An unknown table is an XNotFound.
    const CStringTable& GetStringTable(int32_t tableId) const;
    const CAlertTable& GetAlertTable(int32_t tableId) const;
    const CMenuTable& GetMenuTable(int32_t tableId) const;
    std::vector<int32_t> GetTableIds(EResourceKind kind) const;

private:
    std::map<int32_t, CStringTable> fStrings;
    std::map<int32_t, CAlertTable> fAlerts;
    std::map<int32_t, CMenuTable> fMenus;
};

}  // namespace NSQuillet
