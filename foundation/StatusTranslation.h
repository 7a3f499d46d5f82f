#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/TargetObjectType.h"

namespace NSMishap {

// One status word of a platform library and the failure it stands for.
struct SStatusTableEntry {
    uint32_t fStatus;
    uint32_t fFailureCode;
    const char* fTargetObjectType;  // null: no target
};

struct SStatusTable {
    uint32_t fSuccess;
    const SStatusTableEntry* fEntries;
    size_t fCount;
    const STargetObjectTypeTable* fCallerTypes;  // group 2 of encoded failure words; may be null
};

// Statuses from this value on may carry an encoded failure word in their remainder.
constexpr uint32_t kEncodedFailureStatusBase = 100000;

// Turns a non-success status into its failure: the table's entry, else an encoded failure
// word above 100000, else a plain std::runtime_error. The failure carries "error_code" (the
// status) and, when known, "target_object_type". `message` becomes the failure's text.
[[noreturn]] void ThrowForStatus(uint32_t status, const SStatusTable& table, const std::string& message);

inline void CheckStatus(uint32_t status, const SStatusTable& table, const std::string& message) {
    if (status != table.fSuccess) ThrowForStatus(status, table, message);
}

}  // namespace NSMishap
