#include "foundation/FailureCode.h"

#include "foundation/Mishap.h"

namespace NSMishap {

const SFailureCodeName kFailureCodeNames[kLastFailureCode - kFirstFailureCode + 1] = {
    {"kFailureCode_UndefinedException", 5},
    {"kFailureCode_NonMishapException", 6},
    {"kFailureCode_Exception", 7},
    {"kFailureCode_TunneledError", 8},
    {"kFailureCode_LogicError", 9},
    {"kFailureCode_LogicError_Domain", 10},
    {"kFailureCode_LogicError_InvalidArgument", 11},
    {"kFailureCode_LogicError_Length", 12},
    {"kFailureCode_LogicError_OutOfRange", 13},
    {"kFailureCode_LogicError_IllegalCallSequence", 14},
    {"kFailureCode_LogicError_InvariantCorrupt", 15},
    {"kFailureCode_BadAlloc", 16},
    {"kFailureCode_RuntimeError", 17},
    {"kFailureCode_RuntimeError_Overflow", 18},
    {"kFailureCode_RuntimeError_Underflow", 19},
    {"kFailureCode_RuntimeError_RangeError", 20},
    {"kFailureCode_RuntimeError_UnsupportedFormat", 21},
    {"kFailureCode_RuntimeError_FormatViolation", 22},
    {"kFailureCode_RuntimeError_VersionTooOld", 23},
    {"kFailureCode_RuntimeError_VersionTooNew", 24},
    {"kFailureCode_RuntimeError_ReadFailure", 25},
    {"kFailureCode_RuntimeError_WriteFailure", 26},
    {"kFailureCode_RuntimeError_OutOfSpace", 27},
    {"kFailureCode_RuntimeError_OutOfItems", 28},
    {"kFailureCode_RuntimeError_Create", 29},
    {"kFailureCode_RuntimeError_Open", 30},
    {"kFailureCode_RuntimeError_Close", 31},
    {"kFailureCode_RuntimeError_Delete", 32},
    {"kFailureCode_RuntimeError_ResolveFailure", 33},
    {"kFailureCode_RuntimeError_NotFound", 34},
    {"kFailureCode_RuntimeError_AlreadyExists", 35},
    {"kFailureCode_RuntimeError_Permission", 36},
    {"kFailureCode_RuntimeError_Locked", 37},
    {"kFailureCode_RuntimeError_ReadOnly", 38},
    {"kFailureCode_RuntimeError_NotReady", 39},
    {"kFailureCode_RuntimeError_Timeout", 40},
    {"kFailureCode_RuntimeError_Abort", 41},
    {"kFailureCode_RuntimeError_SilentAbort", 42},
    {"kFailureCode_UnitTestFailure", 43},
};

const char* GetFailureCodeName(uint32_t code) {
    if (!IsValidFailureCode(code)) throw XStdLogicError("Illegal Mishap failure_code!");
    return kFailureCodeNames[code - kFirstFailureCode].fName;
}

}  // namespace NSMishap
