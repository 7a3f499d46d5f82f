#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"

using namespace NSMishap;

namespace {

enum class EBase { kRuntime, kLogic, kException, kBadAlloc, kDomain, kInvalidArgument, kLength, kOutOfRange,
                   kOverflow, kRange, kUnderflow };

struct SClassCase {
    uint32_t fCode;
    const char* fName;
    EBase fBase;
    std::function<bool(const std::exception&)> fIsClass;
};

template <class T>
std::function<bool(const std::exception&)> Is() {
    return [](const std::exception& e) { return dynamic_cast<const T*>(&e) != nullptr; };
}

bool HasOnlyBase(const std::exception& e, EBase base) {
    const bool runtime = dynamic_cast<const std::runtime_error*>(&e) != nullptr;
    const bool logic = dynamic_cast<const std::logic_error*>(&e) != nullptr;
    switch (base) {
        case EBase::kRuntime: return runtime && !logic;
        case EBase::kLogic: return logic && !runtime;
        case EBase::kException: return !runtime && !logic && !dynamic_cast<const std::bad_alloc*>(&e);
        case EBase::kBadAlloc: return dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
        case EBase::kDomain: return dynamic_cast<const std::domain_error*>(&e) != nullptr;
        case EBase::kInvalidArgument: return dynamic_cast<const std::invalid_argument*>(&e) != nullptr;
        case EBase::kLength: return dynamic_cast<const std::length_error*>(&e) != nullptr;
        case EBase::kOutOfRange: return dynamic_cast<const std::out_of_range*>(&e) != nullptr;
        case EBase::kOverflow: return dynamic_cast<const std::overflow_error*>(&e) != nullptr;
        case EBase::kRange: return dynamic_cast<const std::range_error*>(&e) != nullptr;
        case EBase::kUnderflow: return dynamic_cast<const std::underflow_error*>(&e) != nullptr;
    }
    return false;
}

const SClassCase kClassCases[] = {
    {7, "kFailureCode_Exception", EBase::kException, Is<XStdException>()},
    {8, "kFailureCode_TunneledError", EBase::kException, Is<XTunneledError>()},
    {9, "kFailureCode_LogicError", EBase::kLogic, Is<XStdLogicError>()},
    {10, "kFailureCode_LogicError_Domain", EBase::kDomain, Is<XStdDomainError>()},
    {11, "kFailureCode_LogicError_InvalidArgument", EBase::kInvalidArgument, Is<XStdInvalidArgument>()},
    {12, "kFailureCode_LogicError_Length", EBase::kLength, Is<XStdLengthError>()},
    {13, "kFailureCode_LogicError_OutOfRange", EBase::kOutOfRange, Is<XStdOutOfRange>()},
    {14, "kFailureCode_LogicError_IllegalCallSequence", EBase::kLogic, Is<XIllegalCallSequence>()},
    {15, "kFailureCode_LogicError_InvariantCorrupt", EBase::kLogic, Is<XInvariantCorrupt>()},
    {16, "kFailureCode_BadAlloc", EBase::kBadAlloc, Is<XStdBadAlloc>()},
    {17, "kFailureCode_RuntimeError", EBase::kRuntime, Is<XStdRuntimeError>()},
    {18, "kFailureCode_RuntimeError_Overflow", EBase::kOverflow, Is<XStdOverflowError>()},
    {19, "kFailureCode_RuntimeError_Underflow", EBase::kUnderflow, Is<XStdUnderflowError>()},
    {20, "kFailureCode_RuntimeError_RangeError", EBase::kRange, Is<XStdRangeError>()},
    {21, "kFailureCode_RuntimeError_UnsupportedFormat", EBase::kRuntime, Is<XUnsupportedFormat>()},
    {22, "kFailureCode_RuntimeError_FormatViolation", EBase::kRuntime, Is<XFormatViolation>()},
    {23, "kFailureCode_RuntimeError_VersionTooOld", EBase::kRuntime, Is<XVersionTooOld>()},
    {24, "kFailureCode_RuntimeError_VersionTooNew", EBase::kRuntime, Is<XVersionTooNew>()},
    {25, "kFailureCode_RuntimeError_ReadFailure", EBase::kRuntime, Is<XRead>()},
    {26, "kFailureCode_RuntimeError_WriteFailure", EBase::kRuntime, Is<XWrite>()},
    {27, "kFailureCode_RuntimeError_OutOfSpace", EBase::kRuntime, Is<XOutOfSpace>()},
    {28, "kFailureCode_RuntimeError_OutOfItems", EBase::kRuntime, Is<XOutOfItems>()},
    {29, "kFailureCode_RuntimeError_Create", EBase::kRuntime, Is<XCreate>()},
    {30, "kFailureCode_RuntimeError_Open", EBase::kRuntime, Is<XOpen>()},
    {31, "kFailureCode_RuntimeError_Close", EBase::kRuntime, Is<XClose>()},
    {32, "kFailureCode_RuntimeError_Delete", EBase::kRuntime, Is<XDelete>()},
    {33, "kFailureCode_RuntimeError_ResolveFailure", EBase::kRuntime, Is<XResolve>()},
    {34, "kFailureCode_RuntimeError_NotFound", EBase::kRuntime, Is<XNotFound>()},
    {35, "kFailureCode_RuntimeError_AlreadyExists", EBase::kRuntime, Is<XAlreadyExists>()},
    {36, "kFailureCode_RuntimeError_Permission", EBase::kRuntime, Is<XPermission>()},
    {37, "kFailureCode_RuntimeError_Locked", EBase::kRuntime, Is<XLocked>()},
    {38, "kFailureCode_RuntimeError_ReadOnly", EBase::kRuntime, Is<XReadOnly>()},
    {39, "kFailureCode_RuntimeError_NotReady", EBase::kRuntime, Is<XNotReady>()},
    {40, "kFailureCode_RuntimeError_Timeout", EBase::kRuntime, Is<XTimeout>()},
    {41, "kFailureCode_RuntimeError_Abort", EBase::kRuntime, Is<XAbort>()},
    {42, "kFailureCode_RuntimeError_SilentAbort", EBase::kRuntime, Is<XSilentAbort>()},
    {43, "kFailureCode_UnitTestFailure", EBase::kException, Is<XUnitTestFailure>()},
};

}  // namespace

TEST(FailureClasses, EachCodeThrowsItsClassOnItsStandardBaseWithMessageAndBody) {
    for (const auto& row : kClassCases) {
        SCOPED_TRACE(row.fName);
        EXPECT_STREQ(GetFailureCodeName(row.fCode), row.fName);
        try {
            ThrowFailure(row.fCode, "invalid data in slice chunk");
            ADD_FAILURE() << "nothing thrown";
        } catch (const std::exception& failure) {
            EXPECT_TRUE(row.fIsClass(failure));
            EXPECT_TRUE(HasOnlyBase(failure, row.fBase));
            EXPECT_STREQ(failure.what(), "invalid data in slice chunk");
            EXPECT_EQ(GetFailureCode(failure), row.fCode);
            ASSERT_NE(FindMishap(failure), nullptr);
            EXPECT_FALSE(FindMishap(failure)->GetProperty(kProperty_TargetObjectType).has_value());
        }
    }
}

TEST(FailureClasses, NameTableIsInCodeOrderAndLookupRejectsCodesOutside5To43) {
    for (uint32_t code = 5; code <= 43; ++code) EXPECT_EQ(kFailureCodeNames[code - 5].fCode, code);
    EXPECT_STREQ(GetFailureCodeName(5), "kFailureCode_UndefinedException");
    EXPECT_STREQ(GetFailureCodeName(6), "kFailureCode_NonMishapException");
    for (uint32_t code : {0u, 4u, 44u, 0xFFFFFFFFu}) {
        try {
            GetFailureCodeName(code);
            ADD_FAILURE() << code;
        } catch (const XStdLogicError& failure) {
            EXPECT_STREQ(failure.what(), "Illegal Mishap failure_code!");
        }
    }
}

TEST(FailureClasses, CodesWithoutClassThrowPlainStandardExceptions) {
    for (uint32_t code : {5u, 6u}) {
        try {
            ThrowFailure(code, "odd");
        } catch (const std::runtime_error& failure) {
            EXPECT_EQ(FindMishap(failure), nullptr);
            EXPECT_EQ(GetFailureCode(failure), uint32_t(kFailureCode_NonMishapException));
        }
    }
    EXPECT_THROW(ThrowFailure(44, "x"), XStdLogicError);
}

TEST(FailureClasses, AbortIsCaughtByClassAndOutOfMemoryAsStandardBadAlloc) {
    EXPECT_THROW(throw XAbort("user pressed stop"), XAbort);
    try {
        ThrowOutOfMemory("no memory for wave sample");
    } catch (const std::bad_alloc& failure) {
        EXPECT_STREQ(failure.what(), "no memory for wave sample");
        EXPECT_EQ(FindMishap(failure)->GetProperty(kProperty_TargetObjectType), "memory");
    }
}
