#include "foundation/ScreenKitStatus.h"

#include <iterator>

#include "foundation/FailureCode.h"

namespace NSMishap {

namespace {

const SStatusTableEntry kEntries[] = {
    {12001, kFailureCode_BadAlloc, nullptr},
    {12002, kFailureCode_LogicError_InvalidArgument, nullptr},
    {12003, kFailureCode_LogicError_IllegalCallSequence, nullptr},
    {12004, kFailureCode_LogicError, nullptr},
    {12005, kFailureCode_RuntimeError_FormatViolation, nullptr},
    {12006, kFailureCode_RuntimeError_UnsupportedFormat, nullptr},
    {12007, kFailureCode_RuntimeError, nullptr},
    {12008, kFailureCode_LogicError_InvariantCorrupt, nullptr},
    {12009, kFailureCode_RuntimeError_UnsupportedFormat, "interface"},
    {12010, kFailureCode_RuntimeError_UnsupportedFormat, "api"},
};

}  // namespace

const SStatusTable kScreenKitStatusTable = {kScreenKitSuccess, kEntries, std::size(kEntries), nullptr};

}  // namespace NSMishap
