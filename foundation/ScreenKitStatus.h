#pragma once

#include "foundation/StatusTranslation.h"

namespace NSMishap {

constexpr uint32_t kScreenKitSuccess = 12000;

// Status words of the window and widget libraries.
extern const SStatusTable kScreenKitStatusTable;

inline void CheckScreenKitStatus(uint32_t status, const std::string& message) {
    CheckStatus(status, kScreenKitStatusTable, message);
}

}  // namespace NSMishap
