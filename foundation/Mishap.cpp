#include "foundation/Mishap.h"

#include "foundation/TargetObjectType.h"

namespace NSMishap {

const NSMishapDetails::CExceptionBodyRefMixin* FindMishap(const std::exception& failure) {
    return dynamic_cast<const NSMishapDetails::CExceptionBodyRefMixin*>(&failure);
}

uint32_t GetFailureCode(const std::exception& failure) {
    const auto* mishap = FindMishap(failure);
    return mishap ? mishap->GetFailureCode() : kFailureCode_NonMishapException;
}

namespace {

template <class TFailure>
[[noreturn]] void ThrowWithTarget(const std::string& message, const std::string& targetObjectType) {
    TFailure failure(message);
    if (!targetObjectType.empty()) failure.AddProperty(kProperty_TargetObjectType, targetObjectType);
    throw failure;
}

}  // namespace

[[noreturn]] void ThrowFailure(uint32_t code, const std::string& message, const std::string& target) {
    switch (code) {
        case kFailureCode_UndefinedException:
        case kFailureCode_NonMishapException: throw std::runtime_error(message);
        case kFailureCode_Exception: ThrowWithTarget<XStdException>(message, target);
        case kFailureCode_TunneledError: ThrowWithTarget<XTunneledError>(message, target);
        case kFailureCode_LogicError: ThrowWithTarget<XStdLogicError>(message, target);
        case kFailureCode_LogicError_Domain: ThrowWithTarget<XStdDomainError>(message, target);
        case kFailureCode_LogicError_InvalidArgument: ThrowWithTarget<XStdInvalidArgument>(message, target);
        case kFailureCode_LogicError_Length: ThrowWithTarget<XStdLengthError>(message, target);
        case kFailureCode_LogicError_OutOfRange: ThrowWithTarget<XStdOutOfRange>(message, target);
        case kFailureCode_LogicError_IllegalCallSequence: ThrowWithTarget<XIllegalCallSequence>(message, target);
        case kFailureCode_LogicError_InvariantCorrupt: ThrowWithTarget<XInvariantCorrupt>(message, target);
        case kFailureCode_BadAlloc: ThrowWithTarget<XStdBadAlloc>(message, target);
        case kFailureCode_RuntimeError: ThrowWithTarget<XStdRuntimeError>(message, target);
        case kFailureCode_RuntimeError_Overflow: ThrowWithTarget<XStdOverflowError>(message, target);
        case kFailureCode_RuntimeError_Underflow: ThrowWithTarget<XStdUnderflowError>(message, target);
        case kFailureCode_RuntimeError_RangeError: ThrowWithTarget<XStdRangeError>(message, target);
        case kFailureCode_RuntimeError_UnsupportedFormat: ThrowWithTarget<XUnsupportedFormat>(message, target);
        case kFailureCode_RuntimeError_FormatViolation: ThrowWithTarget<XFormatViolation>(message, target);
        case kFailureCode_RuntimeError_VersionTooOld: ThrowWithTarget<XVersionTooOld>(message, target);
        case kFailureCode_RuntimeError_VersionTooNew: ThrowWithTarget<XVersionTooNew>(message, target);
        case kFailureCode_RuntimeError_ReadFailure: ThrowWithTarget<XRead>(message, target);
        case kFailureCode_RuntimeError_WriteFailure: ThrowWithTarget<XWrite>(message, target);
        case kFailureCode_RuntimeError_OutOfSpace: ThrowWithTarget<XOutOfSpace>(message, target);
        case kFailureCode_RuntimeError_OutOfItems: ThrowWithTarget<XOutOfItems>(message, target);
        case kFailureCode_RuntimeError_Create: ThrowWithTarget<XCreate>(message, target);
        case kFailureCode_RuntimeError_Open: ThrowWithTarget<XOpen>(message, target);
        case kFailureCode_RuntimeError_Close: ThrowWithTarget<XClose>(message, target);
        case kFailureCode_RuntimeError_Delete: ThrowWithTarget<XDelete>(message, target);
        case kFailureCode_RuntimeError_ResolveFailure: ThrowWithTarget<XResolve>(message, target);
        case kFailureCode_RuntimeError_NotFound: ThrowWithTarget<XNotFound>(message, target);
        case kFailureCode_RuntimeError_AlreadyExists: ThrowWithTarget<XAlreadyExists>(message, target);
        case kFailureCode_RuntimeError_Permission: ThrowWithTarget<XPermission>(message, target);
        case kFailureCode_RuntimeError_Locked: ThrowWithTarget<XLocked>(message, target);
        case kFailureCode_RuntimeError_ReadOnly: ThrowWithTarget<XReadOnly>(message, target);
        case kFailureCode_RuntimeError_NotReady: ThrowWithTarget<XNotReady>(message, target);
        case kFailureCode_RuntimeError_Timeout: ThrowWithTarget<XTimeout>(message, target);
        case kFailureCode_RuntimeError_Abort: ThrowWithTarget<XAbort>(message, target);
        case kFailureCode_RuntimeError_SilentAbort: ThrowWithTarget<XSilentAbort>(message, target);
        case kFailureCode_UnitTestFailure: ThrowWithTarget<XUnitTestFailure>(message, target);
        default: throw XStdLogicError("Illegal Mishap failure_code!");
    }
}

[[noreturn]] void ThrowOutOfMemory(const std::string& message) {
    ThrowWithTarget<XStdBadAlloc>(message, kTargetObjectType_Memory);
}

}  // namespace NSMishap
