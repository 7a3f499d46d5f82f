#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include "foundation/ExceptionBodyStorage.h"
#include "foundation/FailureCode.h"

namespace NSMishap {

// Property names attached to failure bodies.
inline constexpr const char* kProperty_TargetObjectType = "target_object_type";
inline constexpr const char* kProperty_ErrorCode = "error_code";

namespace NSMishapDetails {

// The link from a failure object to its body. Copies of a failure share the body, so
// properties attached before a rethrow are seen by the final handler.
class CExceptionBodyRefMixin {
public:
    virtual ~CExceptionBodyRefMixin() = default;

    uint32_t GetFailureCode() const { return fBody->GetFailureCode(); }
    // Const so that a handler holding `const X&` can annotate before rethrowing.
    void AddProperty(const std::string& name, const std::string& value) const { fBody->AddProperty(name, value); }
    std::optional<std::string> GetProperty(const std::string& name) const { return fBody->GetProperty(name); }

protected:
    explicit CExceptionBodyRefMixin(uint32_t code) : fBody(GetExceptionBodyStorage().CreateBody(code)) {}

private:
    std::shared_ptr<CExceptionBody> fBody;
};

// Gives a message to standard classes that have no message constructor. The message is held
// in a std::runtime_error so that copying stays nothrow.
template <class TStandard>
class TWithMessage : public TStandard {
public:
    explicit TWithMessage(const std::string& message) : fMessage(message) {}
    const char* what() const noexcept override { return fMessage.what(); }

private:
    std::runtime_error fMessage;
};

template <class TStandard, uint32_t kCode>
class TMishap : public CExceptionBodyRefMixin, public TStandard {
public:
    static constexpr uint32_t kFailureCode = kCode;
    explicit TMishap(const std::string& message) : CExceptionBodyRefMixin(kCode), TStandard(message) {}
};

}  // namespace NSMishapDetails

#define QUILLET_MISHAP_CLASS(Name, Standard, Code)                                  \
    class Name final : public NSMishapDetails::TMishap<Standard, Code> {          \
    public:                                                                         \
        using TMishap::TMishap;                                                     \
    }

QUILLET_MISHAP_CLASS(XAbort, std::runtime_error, kFailureCode_RuntimeError_Abort);
QUILLET_MISHAP_CLASS(XSilentAbort, std::runtime_error, kFailureCode_RuntimeError_SilentAbort);
QUILLET_MISHAP_CLASS(XAlreadyExists, std::runtime_error, kFailureCode_RuntimeError_AlreadyExists);
QUILLET_MISHAP_CLASS(XClose, std::runtime_error, kFailureCode_RuntimeError_Close);
QUILLET_MISHAP_CLASS(XCreate, std::runtime_error, kFailureCode_RuntimeError_Create);
QUILLET_MISHAP_CLASS(XDelete, std::runtime_error, kFailureCode_RuntimeError_Delete);
QUILLET_MISHAP_CLASS(XFormatViolation, std::runtime_error, kFailureCode_RuntimeError_FormatViolation);
QUILLET_MISHAP_CLASS(XLocked, std::runtime_error, kFailureCode_RuntimeError_Locked);
QUILLET_MISHAP_CLASS(XNotFound, std::runtime_error, kFailureCode_RuntimeError_NotFound);
QUILLET_MISHAP_CLASS(XNotReady, std::runtime_error, kFailureCode_RuntimeError_NotReady);
QUILLET_MISHAP_CLASS(XOpen, std::runtime_error, kFailureCode_RuntimeError_Open);
QUILLET_MISHAP_CLASS(XOutOfItems, std::runtime_error, kFailureCode_RuntimeError_OutOfItems);
QUILLET_MISHAP_CLASS(XOutOfSpace, std::runtime_error, kFailureCode_RuntimeError_OutOfSpace);
QUILLET_MISHAP_CLASS(XPermission, std::runtime_error, kFailureCode_RuntimeError_Permission);
QUILLET_MISHAP_CLASS(XRead, std::runtime_error, kFailureCode_RuntimeError_ReadFailure);
QUILLET_MISHAP_CLASS(XReadOnly, std::runtime_error, kFailureCode_RuntimeError_ReadOnly);
QUILLET_MISHAP_CLASS(XResolve, std::runtime_error, kFailureCode_RuntimeError_ResolveFailure);
QUILLET_MISHAP_CLASS(XTimeout, std::runtime_error, kFailureCode_RuntimeError_Timeout);
QUILLET_MISHAP_CLASS(XUnsupportedFormat, std::runtime_error, kFailureCode_RuntimeError_UnsupportedFormat);
QUILLET_MISHAP_CLASS(XVersionTooNew, std::runtime_error, kFailureCode_RuntimeError_VersionTooNew);
QUILLET_MISHAP_CLASS(XVersionTooOld, std::runtime_error, kFailureCode_RuntimeError_VersionTooOld);
QUILLET_MISHAP_CLASS(XWrite, std::runtime_error, kFailureCode_RuntimeError_WriteFailure);

QUILLET_MISHAP_CLASS(XIllegalCallSequence, std::logic_error, kFailureCode_LogicError_IllegalCallSequence);
QUILLET_MISHAP_CLASS(XInvariantCorrupt, std::logic_error, kFailureCode_LogicError_InvariantCorrupt);

QUILLET_MISHAP_CLASS(XUnitTestFailure, NSMishapDetails::TWithMessage<std::exception>, kFailureCode_UnitTestFailure);

namespace NSMishapDetails {
QUILLET_MISHAP_CLASS(XTunneledError, TWithMessage<std::exception>, kFailureCode_TunneledError);
QUILLET_MISHAP_CLASS(XStdException, TWithMessage<std::exception>, kFailureCode_Exception);
QUILLET_MISHAP_CLASS(XStdBadAlloc, TWithMessage<std::bad_alloc>, kFailureCode_BadAlloc);
QUILLET_MISHAP_CLASS(XStdDomainError, std::domain_error, kFailureCode_LogicError_Domain);
QUILLET_MISHAP_CLASS(XStdInvalidArgument, std::invalid_argument, kFailureCode_LogicError_InvalidArgument);
QUILLET_MISHAP_CLASS(XStdLengthError, std::length_error, kFailureCode_LogicError_Length);
QUILLET_MISHAP_CLASS(XStdLogicError, std::logic_error, kFailureCode_LogicError);
QUILLET_MISHAP_CLASS(XStdOutOfRange, std::out_of_range, kFailureCode_LogicError_OutOfRange);
QUILLET_MISHAP_CLASS(XStdOverflowError, std::overflow_error, kFailureCode_RuntimeError_Overflow);
QUILLET_MISHAP_CLASS(XStdRangeError, std::range_error, kFailureCode_RuntimeError_RangeError);
QUILLET_MISHAP_CLASS(XStdRuntimeError, std::runtime_error, kFailureCode_RuntimeError);
QUILLET_MISHAP_CLASS(XStdUnderflowError, std::underflow_error, kFailureCode_RuntimeError_Underflow);
}  // namespace NSMishapDetails

#undef QUILLET_MISHAP_CLASS

using NSMishapDetails::XStdBadAlloc;
using NSMishapDetails::XStdDomainError;
using NSMishapDetails::XStdException;
using NSMishapDetails::XStdInvalidArgument;
using NSMishapDetails::XStdLengthError;
using NSMishapDetails::XStdLogicError;
using NSMishapDetails::XStdOutOfRange;
using NSMishapDetails::XStdOverflowError;
using NSMishapDetails::XStdRangeError;
using NSMishapDetails::XStdRuntimeError;
using NSMishapDetails::XStdUnderflowError;
using NSMishapDetails::XTunneledError;

// The body link of a failure of this family, or null for any other exception.
const NSMishapDetails::CExceptionBodyRefMixin* FindMishap(const std::exception& failure);

// The failure code of any exception: its body's code, or 6 for one outside the family.
uint32_t GetFailureCode(const std::exception& failure);

// Throws the class of `code` with `message`, with the target object type attached when
// non-empty. Codes 5 and 6 have no class and are thrown as a plain std::runtime_error;
// a code outside 5..43 is an XStdLogicError "Illegal Mishap failure_code!".
[[noreturn]] void ThrowFailure(uint32_t code, const std::string& message, const std::string& targetObjectType = "");

// Out-of-memory failure with the "memory" target, for failed allocations of audio buffers.
[[noreturn]] void ThrowOutOfMemory(const std::string& message);

}  // namespace NSMishap
