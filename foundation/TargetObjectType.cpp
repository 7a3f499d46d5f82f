#include "foundation/TargetObjectType.h"

#include <cstring>

#include "foundation/Mishap.h"

namespace NSMishap {

const char* const kBuiltInTargetObjectTypes[kBuiltInTargetObjectTypeCount] = {
    "range",     "length",   "memory",  "format",   "buffer",         "dll",   "disk",     "volume",
    "drive",     "file",     "driver",  "network",  "socket",         "port",  "message",  "handle",
    "symbol",    "interface", "api",    "thread",   "property",       "authentication", "user", "password",
    "reference", "server",   "item",    "magic",    "path",           "unicode", "file_handle", "directory",
};

std::string GetTargetObjectTypeName(uint8_t group, uint8_t index, const STargetObjectTypeTable* table) {
    switch (group) {
        case kTargetGroup_None: return std::string();
        case kTargetGroup_BuiltIn:
            if (index >= kBuiltInTargetObjectTypeCount) break;
            return kBuiltInTargetObjectTypes[index];
        case kTargetGroup_CallerTable: {
            if (table == nullptr || index >= table->fCount) break;
            const char* field = table->fNames[index];
            return std::string(field, strnlen(field, kTargetObjectTypeNameField));
        }
        default: throw XStdLogicError("Unknown group for target object type!");
    }
    throw XStdLogicError("Unknown index for target object type!");
}

}  // namespace NSMishap
