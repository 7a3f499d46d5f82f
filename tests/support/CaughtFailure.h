#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <optional>
#include <string>

#include "foundation/Mishap.h"

namespace NSQuilletTest {

// What a failure carried, for comparing with a row of expectations.
struct SCaughtFailure {
    uint32_t fCode = 0;  // 0: nothing was thrown
    std::string fMessage;
    std::string fTarget;
    std::string fErrorCode;
};

template <class TAction>
SCaughtFailure CatchFailure(TAction&& action) {
    SCaughtFailure caught;
    try {
        action();
    } catch (const std::exception& failure) {
        caught.fCode = NSMishap::GetFailureCode(failure);
        caught.fMessage = failure.what();
        if (const auto* mishap = NSMishap::FindMishap(failure)) {
            caught.fTarget = mishap->GetProperty(NSMishap::kProperty_TargetObjectType).value_or("");
            caught.fErrorCode = mishap->GetProperty(NSMishap::kProperty_ErrorCode).value_or("");
        }
    }
    return caught;
}

}  // namespace NSQuilletTest

// Expects `statement` to throw exactly `Class` (an NSMishap failure) with `message`.
#define EXPECT_FAILURE(statement, Class, message)                                                           \
    do {                                                                                                    \
        const ::NSQuilletTest::SCaughtFailure caught_ = ::NSQuilletTest::CatchFailure([&] { statement; }); \
        EXPECT_EQ(caught_.fCode, ::NSMishap::Class::kFailureCode) << #statement << " threw: " << caught_.fMessage; \
        EXPECT_EQ(caught_.fMessage, message) << #statement;                                                 \
    } while (false)
