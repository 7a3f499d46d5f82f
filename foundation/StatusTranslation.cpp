#include "foundation/StatusTranslation.h"

#include <stdexcept>

#include "foundation/FailureWord.h"
#include "foundation/Mishap.h"

namespace NSMishap {

[[noreturn]] void ThrowForStatus(uint32_t status, const SStatusTable& table, const std::string& message) {
    uint32_t code = 0;
    std::string target;
    for (size_t i = 0; i < table.fCount; ++i) {
        if (table.fEntries[i].fStatus == status) {
            code = table.fEntries[i].fFailureCode;
            if (table.fEntries[i].fTargetObjectType) target = table.fEntries[i].fTargetObjectType;
            break;
        }
    }
    if (code == 0 && status >= kEncodedFailureStatusBase && IsFailureWord(status - kEncodedFailureStatusBase)) {
        SFailureWord word = UnpackFailureWord(status - kEncodedFailureStatusBase);
        if (!IsValidFailureCode(word.fCode)) throw XStdLogicError("Illegal Mishap failure_code!");
        target = GetTargetObjectTypeName(word.fGroup, word.fIndex, table.fCallerTypes);
        code = word.fCode;
    }
    if (code == 0) throw std::runtime_error(message + " (status " + std::to_string(status) + ")");
    try {
        ThrowFailure(code, message, target);
    } catch (const std::exception& failure) {
        if (const auto* mishap = FindMishap(failure)) mishap->AddProperty(kProperty_ErrorCode, std::to_string(status));
        throw;
    }
}

}  // namespace NSMishap
