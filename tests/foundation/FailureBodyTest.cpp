#include <gtest/gtest.h>

#include <thread>

#include "foundation/ExceptionBodyStorage.h"
#include "foundation/Mishap.h"

using namespace NSMishap;

TEST(FailureBody, PropertyAttachedBeforeRethrowReachesTheOuterHandler) {
    try {
        try {
            throw XRead("short read");
        } catch (const XRead& inner) {
            inner.AddProperty(kProperty_ErrorCode, "5007");
            throw;
        }
    } catch (const std::exception& outer) {
        EXPECT_EQ(FindMishap(outer)->GetProperty(kProperty_ErrorCode), "5007");
    }
}

TEST(FailureBody, CopiesShareOneBodyWhichIsFreedWithTheLastCopy) {
    auto& storage = GetExceptionBodyStorage();
    const int before = storage.GetLiveBodyCount();
    {
        XFormatViolation original("bad chunk");
        XFormatViolation copy = original;
        EXPECT_EQ(storage.GetLiveBodyCount(), before + 1);
        copy.AddProperty(kProperty_TargetObjectType, "lux_file");
        EXPECT_EQ(original.GetProperty(kProperty_TargetObjectType), "lux_file");
        original.AddProperty(kProperty_TargetObjectType, "format");
        EXPECT_EQ(copy.GetProperty(kProperty_TargetObjectType), "format");
        EXPECT_EQ(copy.GetFailureCode(), 22u);
    }
    EXPECT_EQ(storage.GetLiveBodyCount(), before);
    try {
        throw XOpen("cannot open");
    } catch (const XOpen&) {
        EXPECT_EQ(storage.GetLiveBodyCount(), before + 1);
    }
    EXPECT_EQ(storage.GetLiveBodyCount(), before);
}

TEST(FailureBody, EachThreadHasItsOwnNestingCounterAndBodies) {
    auto& storage = GetExceptionBodyStorage();
    storage.EnterNesting();
    storage.EnterNesting();
    XTimeout heldHere("held");
    int otherNesting = -1;
    int otherBodies = -1;
    std::thread other([&] {
        otherNesting = storage.GetNestingLevel();
        otherBodies = storage.GetLiveBodyCount();
        try {
            throw XWrite("disk gone");
        } catch (const XWrite& failure) {
            failure.AddProperty(kProperty_ErrorCode, "5008");
            EXPECT_EQ(failure.GetProperty(kProperty_ErrorCode), "5008");
        }
    });
    other.join();
    EXPECT_EQ(otherNesting, 0);
    EXPECT_EQ(otherBodies, 0);
    EXPECT_EQ(storage.GetNestingLevel(), 2);
    storage.LeaveNesting();
    storage.LeaveNesting();
    storage.LeaveNesting();
    EXPECT_EQ(storage.GetNestingLevel(), 0);
}
